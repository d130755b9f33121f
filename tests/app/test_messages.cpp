// The designer's message boxes: exactly the buttons asked for, and the answer clicked.
#include "app/uWindowMessages.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace tessora;

namespace {

struct TSeen {
    QList<QMessageBox::StandardButton> Buttons;
    QString Text, Title;
    QMessageBox::Icon Icon = QMessageBox::NoIcon;
};

// Once the box is up: records it, then clicks `click` (or presses Escape for NoButton).
void AnswerNextBox(TSeen& seen, QMessageBox::StandardButton click) {
    QTimer::singleShot(0, [&seen, click] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        for (QAbstractButton* b : box->buttons())
            seen.Buttons << box->standardButton(b);
        seen.Text = box->text();
        seen.Title = box->windowTitle();
        seen.Icon = box->icon();
        if (click == QMessageBox::NoButton)
            QTest::keyClick(box, Qt::Key_Escape);
        else
            QTest::mouseClick(box->button(click), Qt::LeftButton);
    });
}

} // namespace

TEST(WindowMessages, InformationHasItsSingleButton) {
    TWindowMessages h;
    TMessageScope scope(h);
    TSeen yes, ok;
    AnswerNextBox(yes, QMessageBox::Yes);
    Information("Can't open the Labels Sheet.");
    EXPECT_EQ(yes.Buttons, QList<QMessageBox::StandardButton>({QMessageBox::Yes}));
    EXPECT_EQ(yes.Text, "Can't open the Labels Sheet.");
    EXPECT_EQ(yes.Title, "Corvane Tessora");
    EXPECT_EQ(yes.Icon, QMessageBox::Information);
    AnswerNextBox(ok, QMessageBox::Ok);
    Information("DAT file not found!", mbOK);
    EXPECT_EQ(ok.Buttons, QList<QMessageBox::StandardButton>({QMessageBox::Ok}));
}

TEST(WindowMessages, ConfirmOffersExactlyTheButtonsAndReturnsTheOneChosen) {
    using SB = QMessageBox::StandardButton;
    struct TCase {
        int Buttons;
        QList<SB> Shown;
        SB Click;
        TMsgButton Answer;
    } cases[] = {
        {mbYes | mbNo, {QMessageBox::Yes, QMessageBox::No}, QMessageBox::No, mbNo},
        {mbYes | mbNo, {QMessageBox::Yes, QMessageBox::No}, QMessageBox::Yes, mbYes},
        {mbYes | mbNo | mbCancel,
         {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel},
         QMessageBox::Cancel,
         mbCancel},
        {mbOK | mbCancel, {QMessageBox::Ok, QMessageBox::Cancel}, QMessageBox::Ok, mbOK},
        // Escape: Cancel where offered, else No.
        {mbYes | mbNo | mbCancel,
         {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel},
         QMessageBox::NoButton,
         mbCancel},
        {mbYes | mbNo, {QMessageBox::Yes, QMessageBox::No}, QMessageBox::NoButton, mbNo},
    };
    TWindowMessages h;
    TMessageScope scope(h);
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Buttons);
        TSeen seen;
        AnswerNextBox(seen, c.Click);
        EXPECT_EQ(Confirm("Save changes?", c.Buttons), c.Answer);
        QList<SB> shown = seen.Buttons, expected = c.Shown;
        std::sort(shown.begin(), shown.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(shown, expected);
        EXPECT_EQ(seen.Icon, QMessageBox::Question);
    }
}

// The other handlers keep working with the button named.
TEST(WindowMessages, ScriptedRecorderKeepsTheInformationButton) {
    TScriptedMessages s;
    TMessageScope scope(s);
    Information("Vector File is not found.");
    Information("DAT file not found!", mbOK);
    ASSERT_EQ(s.Shown.size(), 2u);
    EXPECT_EQ(s.Shown[0].InfoButton, mbYes);
    EXPECT_EQ(s.Shown[1].InfoButton, mbOK);
    EXPECT_EQ(s.Shown[1].Buttons, mbNone);
}
