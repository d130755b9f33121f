// Where the program folder is, and the workspace settings kept in it.
#include "document/uCommon.h"
#include "platform/uProgramFolder.h"
#include "platform/uSettings.h"
#include "platform/uText.h"
#include "tests/common/uTestSupport.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace tessora;
using namespace tessora::test;

namespace {

// Sets environment variables for one test and restores them after.
class TEnv {
public:
    void Set(const char* name, const QByteArray& value) {
        Saved.push_back({name, qgetenv(name), qEnvironmentVariableIsSet(name)});
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    ~TEnv() {
        for (auto it = Saved.rbegin(); it != Saved.rend(); ++it) {
            if (it->WasSet)
                qputenv(it->Name, it->Value);
            else
                qunsetenv(it->Name);
        }
    }

private:
    struct Var {
        const char* Name;
        QByteArray Value;
        bool WasSet;
    };
    std::vector<Var> Saved;
};

class Folder : public ::testing::Test {
protected:
    std::string Prev = ProgramFolder();
    void TearDown() override { SetProgramFolder(Prev); }
};

} // namespace

TEST_F(Folder, ResolutionOrder) {
    TTempDir a, b, xdg;
    TEnv env;
    env.Set("TESSORA_HOME", QByteArray::fromStdString(a.Path() + "sub//"));
    env.Set("XDG_DATA_HOME", QByteArray::fromStdString(xdg.Path()));
    // An explicit folder wins, then $TESSORA_HOME.
    EXPECT_EQ(ResolveProgramFolder(QString::fromStdString(b.Path())).toStdString(), b.Path());
    EXPECT_EQ(ProgramFolder(), b.Path());
    EXPECT_EQ(ResolveProgramFolder().toStdString(), a.Path() + "sub/");
    EXPECT_EQ(ProgramFolderPath("Templates"), a.Path() + "sub/Templates");
    // The test executable's folder holds no Templates: the per-user folder is made.
    env.Set("TESSORA_HOME", QByteArray());
    EXPECT_EQ(ResolveProgramFolder().toStdString(), xdg.Path() + "tessora/");
    EXPECT_TRUE(QFile::exists(QString::fromStdString(xdg.Path() + "tessora")));
    const std::string sub = ProgramSubfolder("Label Projects");
    EXPECT_EQ(sub, xdg.Path() + "tessora/Label Projects");
    EXPECT_TRUE(QFile::exists(QString::fromStdString(sub)));
}

TEST_F(Folder, GuiSettingsDefaultsAndRoundTrip) {
    TTempDir home;
    SetProgramFolder(home.Path());
    const TGuiSettings d = TGuiSettings::Load();
    EXPECT_EQ(d.BgColor, 13170941u);
    EXPECT_EQ(d.LSpaceMode, 0);
    TGuiSettings s;
    s.BgColor = 0x00FF8040;
    s.LSpaceMode = 1;
    s.Save();
    const QByteArray ini = ReadAll(home.File("tessora.ini"));
    EXPECT_TRUE(ini.contains("[GUI]"));
    EXPECT_TRUE(ini.contains("BgColor=16744512"));
    EXPECT_TRUE(ini.contains("LSpaceMode=1"));
    const TGuiSettings r = TGuiSettings::Load();
    EXPECT_EQ(r.BgColor, 0x00FF8040u);
    EXPECT_EQ(r.LSpaceMode, 1);
    // Garbage in the file falls back to the defaults.
    WriteAll(home.File("tessora.ini"), "[GUI]\nBgColor=cream\nLSpaceMode=7\n");
    const TGuiSettings g = TGuiSettings::Load();
    EXPECT_EQ(g.BgColor, 13170941u);
    EXPECT_EQ(g.LSpaceMode, 0);
}

TEST(Text, StoredFormShowsWhatTheFileKeeps) {
    EXPECT_EQ(StoredForm(QString::fromUtf8("caf\xC3\xA9 \xE2\x82\xAC \xE2\x98\x83")), QString::fromUtf8("caf\xC3\xA9 \xE2\x82\xAC ?"));
}
