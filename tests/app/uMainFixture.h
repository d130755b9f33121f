#pragma once
// The main window with its parameters window on a fresh program folder; the chooser and the
// save dialog answer from the fixture's fields.
#include "app/fLWMain.h"
#include "content/dTessora.h"
#include "document/uCommon.h"
#include "document/uMessages.h"
#include "sheetview/fraSheet.h"
#include "tests/app/uAppFixture.h"

#include <QFile>
#include <QTest>
#include <gtest/gtest.h>

namespace tessora::test {

class MainFixture : public ::testing::Test {
protected:
    TAppFolder Folder;
    TTempDir Work;
    TScriptedMessages Msgs;
    TMessageScope Scope{Msgs};
    std::unique_ptr<TdmTessora> Dm;
    std::unique_ptr<TfrmLWMain> Main;
    std::string Chosen;
    int ChosenKind = 0;
    int Chooses = 0;
    QStringList Proposed; // what each save dialog proposed
    QString SaveAnswer;   // what the save dialog returns

    void SetUp() override {
        SetProgramFolder(Folder.Home.Path());
        Dm = std::make_unique<TdmTessora>(Q(Folder.Home.Path()));
        Main = std::make_unique<TfrmLWMain>(Dm.get());
        Main->AttachParams(new TfrmLWParams(Main->frSheet, Main.get()));
        Main->OnChoose = [this](TChooserMode, bool, std::string& path, int& kind) {
            ++Chooses;
            if (Chosen.empty()) return false;
            path = Chosen;
            kind = ChosenKind;
            return true;
        };
        Main->OnSaveDialog = [this](const QString&, const QString& proposed, const QString&) {
            Proposed << proposed;
            return SaveAnswer;
        };
        Main->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Main.get()));
    }
    void TearDown() override {
        Main->Modified = false; // nothing to ask at the end
        Main.reset();
    }

    TSheet& Sheet() { return Main->frSheet->Sheet; }

    // A copy of a sample project, so saving never touches the build's samples.
    std::string CopySample(const char* name, const char* as = "project.shl") {
        const std::string dest = Work.File(as);
        EXPECT_TRUE(QFile::copy(Q(BinDir() + "Label Projects/" + name), Q(dest)));
        QFile::setPermissions(Q(dest), QFile::ReadOwner | QFile::WriteOwner);
        return dest;
    }
    void OpenProject(const std::string& file) {
        Chosen = file;
        Main->actOpenProject->trigger();
        ASSERT_EQ(Main->ProjectFile, Q(file));
    }
    void NewProject(const char* templ = "Address 14-up Letter.tpr") {
        Chosen = BinDir() + "Templates/" + templ;
        ChosenKind = FileKind(Chosen);
        Main->actNewProject->trigger();
    }
    void Select(int label) {
        Sheet().HotLabel = label;
        Main->SelectHotLabel();
    }
    // An undo step for the selected label, then a change of it.
    void EditOutline(int label) {
        Select(label);
        Sheet().Record(true);
        Main->frmLWParams->Hooks.EnableUndo();
        Sheet().Label(label).VisFr = !Sheet().Label(label).VisFr;
    }
};

} // namespace tessora::test
