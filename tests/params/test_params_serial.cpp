// The Serial tab and the serial dialog: the project's settings, the page edits, and the
// sheet redrawn with the new serial texts.
#include "params/fSetSerial.h"
#include "tests/params/uModal.h"
#include "tests/params/uParamsFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

using namespace tessora;
using namespace tessora::test;

namespace {

class SerialTest : public ParamsTest {
protected:
    void Start(int page, int pages, bool on) {
        Make(2, 2);
        TProjectSettings& st = Sheet->Settings;
        st.SerialPrefix = "ABC";
        st.SerialSuffix = "SFX";
        st.PageNum = page;
        st.PageCount = pages;
        st.SerialOn = on;
        Sheet->RedrawSheet(true, true);
        P->ShowInfo();
        ResetCounters();
    }
    // The sheet as a fresh full drawing of the current settings shows it.
    QImage Fresh() {
        const QImage now = Sheet->SheetLayer.copy();
        Sheet->RedrawSheet(true, true);
        std::swap(Sheet->SheetLayer, const_cast<QImage&>(now));
        return now;
    }
};

} // namespace

TEST_F(SerialTest, LoadShowsTheProjectsSettings) {
    Make(1, 1);
    TProjectSettings& st = Sheet->Settings;
    st.SerialPrefix = "ABC";
    st.SerialSuffix = "SFX";
    st.PageNum = 3;
    st.PageCount = 5;
    st.SerialAlignH = 2;
    st.SerialX = 12.5;
    st.SerialOn = true;
    P->ShowInfo();
    EXPECT_EQ(P->lblLSerial2->text(), "ABC-XXXX-SFX");
    EXPECT_EQ(P->edtPgNum->value(), 3);
    EXPECT_EQ(P->edtPgCount->value(), 5);
    EXPECT_EQ(P->chbShowSerial->text(), "Serial On");
    EXPECT_EQ(P->lstSrAlignH->currentText(), "Center");
    EXPECT_DOUBLE_EQ(P->edtSrX->Mm(), 12.5);
    // The page edit steps up to the page count and no further.
    QTest::keyClick(P->edtPgNum, Qt::Key_Up);
    QTest::keyClick(P->edtPgNum, Qt::Key_Up);
    QTest::keyClick(P->edtPgNum, Qt::Key_Up);
    EXPECT_EQ(st.PageNum, 5);
    EXPECT_TRUE(Sheet->UndoList.empty());
}

TEST_F(SerialTest, LoweringThePageCountLowersThePageAndRedraws) {
    Start(3, 5, true);
    const QImage page3 = Sheet->SheetLayer.copy();
    P->edtPgCount->setValue(2);
    EXPECT_EQ(Sheet->Settings.PageCount, 2);
    EXPECT_EQ(Sheet->Settings.PageNum, 2);
    EXPECT_EQ(P->edtPgNum->value(), 2);
    EXPECT_NE(Sheet->SheetLayer, page3);
    EXPECT_EQ(Sheet->SheetLayer, Fresh());
    EXPECT_TRUE(Sheet->UndoList.empty());
    EXPECT_GE(Saves, 1);
}

TEST_F(SerialTest, SerialOffChangesRedrawNothing) {
    Start(3, 5, false);
    const QImage before = Sheet->SheetLayer.copy();
    P->edtPgCount->setValue(2);
    P->edtSrX->SetMm(20);
    P->lstSrAlignV->setCurrentIndex(3);
    EXPECT_EQ(Sheet->Settings.PageNum, 2);
    EXPECT_DOUBLE_EQ(Sheet->Settings.SerialX, 20);
    EXPECT_EQ(Sheet->Settings.SerialAlignV, 3);
    EXPECT_EQ(Sheet->SheetLayer, before);
    // Turning it on draws the texts.
    P->chbShowSerial->setChecked(true);
    EXPECT_TRUE(Sheet->Settings.SerialOn);
    EXPECT_EQ(P->chbShowSerial->text(), "Serial On");
    EXPECT_NE(Sheet->SheetLayer, before);
    EXPECT_EQ(Sheet->SheetLayer, Fresh());
}

TEST_F(SerialTest, DialogCutsPrefixAndSuffixTo15Characters) {
    Start(1, 1, true);
    const QImage before = Sheet->SheetLayer.copy();
    bool filled = false;
    OnNextModal<TfrmSetSerial>([&](TfrmSetSerial* d) {
        filled = d->edtPrefix->text() == "ABC" && d->edtSuffix->text() == "SFX" &&
                 d->windowTitle() == "Set Serial";
        d->edtPrefix->setText("PREFIX-ABCDEFGHIJKL");
        d->edtSuffix->setText("0123456789abcdefXYZ");
        d->btnOK->click();
    });
    P->btnSetSerial->click();
    EXPECT_TRUE(filled);
    EXPECT_EQ(Sheet->Settings.SerialPrefix, "PREFIX-ABCDEFGH");
    EXPECT_EQ(Sheet->Settings.SerialSuffix, "0123456789abcde");
    EXPECT_EQ(P->lblLSerial2->text(), "PREFIX-ABCDEFGH-XXXX-0123456789abcde");
    EXPECT_NE(Sheet->SheetLayer, before);
    EXPECT_EQ(Sheet->SheetLayer, Fresh());

    // Cancel keeps them.
    OnNextModal<TfrmSetSerial>([](TfrmSetSerial* d) {
        d->edtPrefix->setText("X");
        d->btnCancel->click();
    });
    P->btnSetSerial->click();
    EXPECT_EQ(Sheet->Settings.SerialPrefix, "PREFIX-ABCDEFGH");
}
