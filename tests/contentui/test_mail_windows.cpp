// The status pop-up and the mail window as the user sees them, and sending through the
// pop-up to a real loopback SMTP server with failures told on stderr only.
#include "content/fEMail.h"
#include "content/fGauge.h"
#include "document/uMessages.h"
#include "tests/common/uTestSupport.h"
#include "tests/content/uSmtpTestServer.h"

#include <QApplication>
#include <QGroupBox>
#include <QJsonArray>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

using namespace tessora;
using namespace tessora::test;

namespace {

// Counts paints of a widget and notes the text it showed at each.
struct TPaintLog : QObject {
    QLabel* Label;
    QStringList Painted;
    explicit TPaintLog(QLabel* l) : Label(l) { l->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) Painted << Label->text();
        return false;
    }
};

bool HasDarkPixels(const QImage& img) {
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qGray(img.pixel(x, y)) < 80) return true;
    return false;
}

} // namespace

TEST(Gauge, IsTheStatusWindowAndPaintsEachLineAtOnce) {
    auto* frmGauge = new TfrmGauge;
    SetStatusWindow(frmGauge);
    EXPECT_EQ(frmGauge->size(), QSize(451, 91));
    EXPECT_TRUE(frmGauge->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(frmGauge->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(frmGauge->lblMess->font().pixelSize(), 16);

    TPaintLog line1(frmGauge->lblMess), line2(frmGauge->lblMess2);
    {
        TStatusScope status("Printing. Please Wait...");
        EXPECT_TRUE(frmGauge->isVisible());
        const QRect screen = frmGauge->screen()->availableGeometry();
        EXPECT_LE((frmGauge->geometry().center() - screen.center()).manhattanLength(), 2);
        // No event loop runs between the calls: each text must have been painted already.
        for (int i = 1; i <= 3; ++i) {
            const QString text = QString("Label #%1. Printing").arg(i);
            Status().SetLine2(text.toStdString());
            ASSERT_FALSE(line2.Painted.isEmpty());
            EXPECT_EQ(line2.Painted.last(), text);
        }
        EXPECT_EQ(line1.Painted.last(), "Printing. Please Wait...");
        const QImage shot = frmGauge->grab().toImage();
        EXPECT_TRUE(HasDarkPixels(shot.copy(frmGauge->lblMess2->geometry()))) << "the second line shows text";
    }
    EXPECT_FALSE(frmGauge->isVisible());
    delete frmGauge;
    EXPECT_EQ(dynamic_cast<TfrmGauge*>(&Status()), nullptr) << "a deleted pop-up uninstalls itself";
}

TEST(EMail, SendIsEnabledOnlyByANonBlankSender) {
    TfrmEMail frmEMail;
    EXPECT_EQ(frmEMail.windowTitle(), "Mail sender");
    EXPECT_TRUE(frmEMail.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(frmEMail.lblFrom->text(), "From:");
    EXPECT_EQ(frmEMail.lblSubj->text(), "Subject:");
    EXPECT_EQ(frmEMail.lblFile->text(), "PDF File:");
    EXPECT_EQ(frmEMail.grpMessage->title(), " Message ");
    EXPECT_EQ(frmEMail.btnSend->text(), "Send!");
    EXPECT_EQ(frmEMail.btnCancel->text(), "Cancel");
    EXPECT_TRUE(frmEMail.edtFile->isReadOnly());
    EXPECT_EQ(frmEMail.memBody->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_FALSE(frmEMail.btnSend->isEnabled());

    const struct {
        const char* typed;
        bool enabled;
    } cases[] = {{" ", false}, {"   ", false}, {" Ann ", true}, {"A", true}};
    frmEMail.show();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        frmEMail.edtFrom->clear();
        QTest::keyClicks(frmEMail.edtFrom, c.typed);
        EXPECT_EQ(frmEMail.edtFrom->text(), c.typed);
        EXPECT_EQ(frmEMail.btnSend->isEnabled(), c.enabled);
    }
    // Enter in a blank sender field sends nothing, nor asks.
    TScriptedMessages msgs;
    TMessageScope scope(msgs);
    frmEMail.edtFrom->setText("  ");
    QTest::keyClick(frmEMail.edtFrom, Qt::Key_Return);
    EXPECT_TRUE(msgs.Shown.empty());
    EXPECT_TRUE(frmEMail.isVisible());
}

TEST(EMail, SendAsksFirstAndCancelKeepsTheWindowWithItsContents) {
    TScriptedMessages msgs;
    TMessageScope scope(msgs);
    TfrmEMail frmEMail;
    frmEMail.edtSubjs->setText("GIFTBOX-07");
    frmEMail.edtFile->setText("/tmp/sheet.pdf");
    int result = -1;
    QObject::connect(&frmEMail, &QDialog::finished, &frmEMail, [&](int r) { result = r; });
    frmEMail.show();
    QTest::keyClicks(frmEMail.edtFrom, "Ann Baker");
    frmEMail.memBody->setPlainText("500 pieces, please.");

    msgs.Answers = {mbCancel};
    QTest::mouseClick(frmEMail.btnSend, Qt::LeftButton);
    ASSERT_EQ(msgs.Shown.size(), 1u);
    EXPECT_EQ(msgs.Shown[0].Text, kSendMailQuestion);
    EXPECT_EQ(msgs.Shown[0].Buttons, mbOK | mbCancel);
    EXPECT_EQ(std::string(kSendMailQuestion),
              "This will send you PDF document via the internet to Ostrica for printing or price evaluation.\r\n"
              "Internet access is required. \r\nIf you however intended to create PDF document for local printing "
              "select cancel and use the PDF Print function.\r\nSend E-Mail?");
    EXPECT_TRUE(frmEMail.isVisible());
    EXPECT_EQ(result, -1);
    EXPECT_EQ(frmEMail.edtFrom->text(), "Ann Baker");
    EXPECT_EQ(frmEMail.memBody->toPlainText(), "500 pieces, please.");
    EXPECT_EQ(frmEMail.edtSubjs->text(), "GIFTBOX-07");

    msgs.Answers = {mbOK};
    QTest::mouseClick(frmEMail.btnSend, Qt::LeftButton);
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_FALSE(frmEMail.isVisible());

    frmEMail.show();
    QTest::mouseClick(frmEMail.btnCancel, Qt::LeftButton);
    EXPECT_EQ(result, QDialog::Rejected);
}

// ---- sending through the pop-up

class GaugeMailTest : public ::testing::Test {
protected:
    TSmtpTestServer Server;
    TTempDir Tmp;
    TfrmGauge frmGauge;
    std::string Pdf = Tmp.File("sheet.pdf");
    QByteArray PdfBytes = "%PDF-1.3\n" + QByteArray(3000, '\x9C') + "\n%%EOF\n";

    bool Send(const QString& password = TSmtpTestServer::kPassword) {
        frmGauge.Account = Server.Account(password);
        return frmGauge.SendMail("Ann Baker", "GIFTBOX-07", QString::fromStdString(Pdf), "Line one\nLine two");
    }
};

TEST_F(GaugeMailTest, ShowsTheClientsStatusWhileSendingAndHidesAfterwards) {
    ASSERT_TRUE(Server.Start()) << Server.Failure.constData();
    WriteAll(Pdf, PdfBytes);
    TPaintLog painted(frmGauge.lblMess);
    testing::internal::CaptureStderr();
    EXPECT_TRUE(Send());
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err.find("mail"), std::string::npos) << err;
    EXPECT_FALSE(frmGauge.isVisible());

    ASSERT_FALSE(frmGauge.MailLog.isEmpty());
    EXPECT_EQ(frmGauge.MailLog.first(), "Sending...");
    EXPECT_TRUE(frmGauge.MailLog.contains("Authenticating...")) << frmGauge.MailLog.join(" | ").toStdString();
    EXPECT_TRUE(painted.Painted.contains("Sending...")) << painted.Painted.join(" | ").toStdString();
    EXPECT_TRUE(painted.Painted.contains("Sending message...")) << "status texts are painted as they come";

    const QList<QJsonObject> got = Server.Received();
    ASSERT_EQ(got.size(), 1);
    EXPECT_EQ(got[0]["from_name"].toString(), "Ann Baker");
    EXPECT_EQ(got[0]["from_addr"].toString(), TSmtpTestServer::kUser);
    EXPECT_EQ(got[0]["subject"].toString(), "GIFTBOX-07");
    EXPECT_EQ(got[0]["body"].toString(), "Line one\r\nLine two\r\n");
    const QJsonArray parts = got[0]["attachments"].toArray();
    ASSERT_EQ(parts.size(), 1);
    EXPECT_EQ(ReadAll(parts[0].toObject()["path"].toString().toStdString()), PdfBytes);
}

TEST_F(GaugeMailTest, ADeletedPdfGoesOutWithoutAttachmentAndStderrSaysSo) {
    ASSERT_TRUE(Server.Start()) << Server.Failure.constData();
    testing::internal::CaptureStderr();
    EXPECT_TRUE(Send());
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find(Pdf + " no longer exists"), std::string::npos) << err;
    const QList<QJsonObject> got = Server.Received();
    ASSERT_EQ(got.size(), 1);
    EXPECT_TRUE(got[0]["attachments"].toArray().isEmpty());
}

TEST_F(GaugeMailTest, FailuresShowNoMessageAndAreToldOnStderr) {
    const struct {
        const char* name;
        bool starttls;
        const char* password;
        const char* reason;
    } cases[] = {{"no STARTTLS", false, TSmtpTestServer::kPassword, "STARTTLS"},
                 {"wrong password", true, "wrong", "535"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TSmtpTestServer server;
        ASSERT_TRUE(server.Start(c.starttls)) << server.Failure.constData();
        WriteAll(Pdf, PdfBytes);
        TScriptedMessages msgs;
        TMessageScope scope(msgs);
        frmGauge.Account = server.Account(c.password);
        testing::internal::CaptureStderr();
        EXPECT_FALSE(frmGauge.SendMail("Ann", "S", QString::fromStdString(Pdf), "B"));
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_NE(err.find(c.reason), std::string::npos) << err;
        EXPECT_NE(err.find("not sent"), std::string::npos) << err;
        EXPECT_TRUE(msgs.Shown.empty());
        EXPECT_TRUE(server.Received().isEmpty());
        EXPECT_FALSE(frmGauge.isVisible());
    }
}
