// The text dialog: enabling of OK and the clipboard buttons, style flags, the size edit, the
// contrast rule with colours from the picker, and its layout.
#include "params/fColorPicker.h"
#include "params/fEditText.h"
#include "platform/uColor.h"

#include <QApplication>
#include <QFontComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace tessora;

namespace {

// Answers the modal picker the dialog opens: a colour and OK, or closing it.
void AnswerPicker(QColor color, bool ok, QPoint* placedAt = nullptr) {
    QTimer::singleShot(0, [color, ok, placedAt] {
        auto* picker = qobject_cast<TfrmColorPicker*>(QApplication::activeModalWidget());
        ASSERT_NE(picker, nullptr);
        if (placedAt) *placedAt = picker->pos();
        if (!ok) {
            picker->reject();
            return;
        }
        picker->ShowColor(color, true);
        QTest::mouseClick(picker->btnOK, Qt::LeftButton);
    });
}

} // namespace

TEST(EditText, OkAndClipboardButtonsFollowTheText) {
    TfrmEditText d;
    d.show();
    EXPECT_EQ(d.windowTitle(), "Add/Edit Text");
    EXPECT_EQ(d.size(), QSize(554, 326));
    EXPECT_FALSE(d.btnOK->isEnabled());
    EXPECT_FALSE(d.btnCopy->isEnabled());
    EXPECT_FALSE(d.btnCut->isEnabled());

    QTest::keyClicks(d.edtText, "ab");
    EXPECT_TRUE(d.btnOK->isEnabled());
    EXPECT_FALSE(d.btnCut->isEnabled());
    d.edtText->selectAll();
    EXPECT_TRUE(d.btnCut->isEnabled());
    EXPECT_TRUE(d.btnCopy->isEnabled());
    QTest::mouseClick(d.btnCut, Qt::LeftButton);
    EXPECT_TRUE(d.edtText->toPlainText().isEmpty());
    EXPECT_FALSE(d.btnOK->isEnabled());
    EXPECT_FALSE(d.btnCut->isEnabled());
    QTest::mouseClick(d.btnPaste, Qt::LeftButton);
    EXPECT_EQ(d.edtText->toPlainText(), "ab");
    EXPECT_TRUE(d.btnOK->isEnabled());
    QTest::keyClick(d.edtText, Qt::Key_Backspace);
    QTest::keyClick(d.edtText, Qt::Key_Backspace);
    EXPECT_FALSE(d.btnOK->isEnabled());

    // Lines come back separated by CR LF.
    QTest::keyClicks(d.edtText, "x");
    QTest::keyClick(d.edtText, Qt::Key_Return);
    QTest::keyClicks(d.edtText, "y");
    EXPECT_EQ(d.Text(), "x\r\ny");
}

TEST(EditText, PresetStyleFlagsComeBackWithUnderlineKept) {
    struct Case {
        const char* Flags;
        bool Bold, Italic;
        const char* AfterItalicToggle;
    };
    for (const Case& c : {Case{"101", true, false, "111"}, Case{"010", false, true, "000"},
                          Case{"000", false, false, "010"}, Case{"1", true, false, "110"}}) {
        SCOPED_TRACE(c.Flags);
        TfrmEditText d;
        d.Preset("Line 1\r\nLine 2", "Courier New", c.Flags, 0x0000FF, 24);
        d.show();
        EXPECT_EQ(d.edtText->document()->blockCount(), 2);
        EXPECT_EQ(d.btnBold->isChecked(), c.Bold);
        EXPECT_EQ(d.btnItalic->isChecked(), c.Italic);
        EXPECT_EQ(d.edtSize->value(), 24);
        EXPECT_EQ(d.edtText->font().bold(), c.Bold);
        EXPECT_EQ(d.edtText->font().underline(), c.Flags == std::string("101"));
        EXPECT_EQ(d.Text(), "Line 1\r\nLine 2");
        QTest::mouseClick(d.btnItalic, Qt::LeftButton);
        EXPECT_EQ(d.StyleFlags(), c.AfterItalicToggle);
        EXPECT_EQ(d.edtText->font().italic(), !c.Italic);
        // Showing the controls changed no value.
        EXPECT_EQ(d.FontName(), "Courier New");
        EXPECT_EQ(d.FontColor(), 0x0000FFu);
    }
}

TEST(EditText, SizeStepsByThreeAndStaysStorable) {
    TfrmEditText d;
    EXPECT_EQ(d.edtSize->value(), 16);
    EXPECT_EQ(d.FontSize(), 16);
    d.edtSize->setValue(12);
    QTest::keyClick(d.edtSize, Qt::Key_Up);
    EXPECT_EQ(d.FontSize(), 15);
    QTest::keyClick(d.edtSize, Qt::Key_Up);
    EXPECT_EQ(d.FontSize(), 18);
    EXPECT_EQ(d.edtText->font().pixelSize(), 24); // 18 pt at 96 pixels per inch
    // Sizes a text cannot store are refused as they are typed.
    for (const char* typed : {"300", "0", "-5", "17"}) {
        d.edtSize->selectAll();
        QTest::keyClicks(d.edtSize, typed);
        QTest::keyClick(d.edtSize, Qt::Key_Return);
        EXPECT_GE(d.FontSize(), 1) << typed;
        EXPECT_LE(d.FontSize(), 255) << typed;
    }
    EXPECT_EQ(d.FontSize(), 17);
    d.edtSize->setValue(1000);
    EXPECT_EQ(d.FontSize(), 255);
}

TEST(EditText, WhiteTextGetsABlackBackgroundAndThePickerIsPlacedAtTheMainWindow) {
    TfrmColorPicker picker; // the program's one picker
    QWidget main;
    main.setGeometry(50, 60, 900, 600);
    TfrmEditText d(nullptr, &main);
    // A new text keeps the window-text reference, shown in the palette's colour.
    EXPECT_EQ(d.FontColor(), 0xFF000008u);
    EXPECT_EQ(d.edtText->palette().color(QPalette::Text),
              QApplication::palette().color(QPalette::WindowText));
    EXPECT_FALSE(d.DarkBackground());

    QPoint placed;
    AnswerPicker(Qt::white, true, &placed);
    d.shpColor2Click();
    EXPECT_EQ(placed, QPoint(50 + 900 - picker.width(), 60 + 10));
    EXPECT_EQ(d.FontColor(), 0xFFFFFFu);
    EXPECT_TRUE(d.DarkBackground());
    EXPECT_EQ(d.edtText->palette().color(QPalette::Text), QColor(Qt::white));

    // Closing the picker changes nothing.
    AnswerPicker(Qt::red, false);
    d.shpColor2Click();
    EXPECT_EQ(d.FontColor(), 0xFFFFFFu);
    EXPECT_TRUE(d.DarkBackground());

    AnswerPicker(QColor(0xFE, 0xFF, 0xFF), true);
    d.shpColor2Click();
    EXPECT_EQ(d.FontColor(), FromQColor(QColor(0xFE, 0xFF, 0xFF)));
    EXPECT_FALSE(d.DarkBackground());
    // A later size change keeps the picked colour.
    d.edtSize->setValue(30);
    EXPECT_EQ(d.FontColor(), FromQColor(QColor(0xFE, 0xFF, 0xFF)));
}

TEST(EditText, OkAndCancelStayCentredOnResize) {
    TfrmEditText d;
    d.show();
    // (width - 155) / 2 with halves to even.
    for (auto [w, left] :
         {std::pair{554, 200}, std::pair{600, 222}, std::pair{601, 223}, std::pair{800, 322}}) {
        d.resize(w, 400);
        QApplication::processEvents();
        EXPECT_EQ(d.btnOK->x(), left) << w;
        EXPECT_EQ(d.btnCancel->x(), d.btnOK->x() + d.btnOK->width() + 5) << w;
        EXPECT_GT(d.btnOK->y(), d.edtText->geometry().bottom());
        EXPECT_LE(d.btnOK->geometry().bottom(), d.height());
    }
}
