// Send PDF from the main window: the TLS check, the PDF written without a viewer, the mail
// window filled from the project, and the mail a real loopback server receives.
#include "app/fLWMain.h"
#include "content/dTessora.h"
#include "content/fEMail.h"
#include "content/fGauge.h"
#include "content/uMail.h"
#include "document/uCommon.h"
#include "document/uMessages.h"
#include "sheetview/fraSheet.h"
#include "tests/app/uMainFixture.h"
#include "tests/content/uSmtpTestServer.h"

#include <QAction>
#include <QApplication>
#include <QJsonArray>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace tessora;
using namespace tessora::test;

namespace {

class SendPdfTest : public MainFixture {
protected:
    void SetUp() override {
        MainFixture::SetUp();
        SetStatusWindow(new TfrmGauge(Main.get())); // as at start-up
    }
    void OpenSample() { OpenProject(CopySample("Product Labels.shl")); }
    // Answers the mail window when it opens: fills it and sends, or cancels it. What it
    // showed is kept.
    QString ShownFile, ShownSubject;
    void AnswerMailWindow(bool send) {
        auto* poll = new QTimer(Main.get());
        QObject::connect(poll, &QTimer::timeout, Main.get(), [this, poll, send] {
            auto* w = qobject_cast<TfrmEMail*>(QApplication::activeModalWidget());
            if (!w) return;
            poll->deleteLater();
            poll->stop();
            ShownFile = w->edtFile->text();
            ShownSubject = w->edtSubjs->text();
            if (!send) return w->btnCancel->click();
            QTest::keyClicks(w->edtFrom, "Ann Baker");
            w->memBody->setPlainText("Please quote 500 sheets.");
            w->btnSend->click();
        });
        poll->start(20);
    }
};

} // namespace

TEST_F(SendPdfTest, IsEnabledWithAProjectAndStopsAtAMissingTlsLibrary) {
    EXPECT_FALSE(Main->actSendPDF->isEnabled());
    EXPECT_FALSE(Main->btnSendPDF->isEnabled());
    OpenSample();
    EXPECT_TRUE(Main->actSendPDF->isEnabled());
    EXPECT_TRUE(Main->btnSendPDF->isEnabled());

    const QStringList saved = TlsLibraryFiles();
    TlsLibraryFiles() = {"libtessora-missing-tls.so.1", "libcrypto.so.3"};
    Main->btnSendPDF->click();
    TlsLibraryFiles() = saved;
    ASSERT_EQ(Msgs.Shown.size(), 1u);
    EXPECT_EQ(Msgs.Shown[0].Text, "libtessora-missing-tls.so.1 file not found!");
    EXPECT_EQ(Msgs.Shown[0].InfoButton, mbOK);
    EXPECT_EQ(Proposed.size(), 0) << "no file is asked for";
}

TEST_F(SendPdfTest, MailsTheWrittenPdfWithTheOrderCodeAsSubject) {
    TSmtpTestServer server;
    ASSERT_TRUE(server.Start()) << server.Failure.constData();
    const TMailAccount a = server.Account();
    qputenv("TESSORA_MAIL_HOST", a.Host.toUtf8());
    qputenv("TESSORA_MAIL_PORT", QByteArray::number(a.Port));
    qputenv("TESSORA_MAIL_USER", a.User.toUtf8());
    qputenv("TESSORA_MAIL_PASSWORD", a.Password.toUtf8());
    qputenv("TESSORA_MAIL_CAFILE", a.CaFile.toUtf8());
    OpenSample();
    const QString orderCode = Main->frmLWParams->lblOrder2->text();
    ASSERT_FALSE(orderCode.isEmpty());
    const std::string pdf = Work.File("sheet.pdf");
    SaveAnswer = Q(Work.File("sheet"));

    // Cancelled: the PDF is written, nothing is sent.
    AnswerMailWindow(false);
    Main->actSendPDF->trigger();
    EXPECT_EQ(ShownFile, Q(pdf));
    EXPECT_EQ(ShownSubject, orderCode);
    EXPECT_TRUE(ReadAll(pdf).startsWith("%PDF-"));
    EXPECT_TRUE(server.Received().isEmpty());

    // Sent: the file is replaced, confirmed, and goes out as written.
    Msgs.Answers = {mbYes, mbOK};
    AnswerMailWindow(true);
    Main->actSendPDF->trigger();
    for (const char* v : {"TESSORA_MAIL_HOST", "TESSORA_MAIL_PORT", "TESSORA_MAIL_USER", "TESSORA_MAIL_PASSWORD",
                          "TESSORA_MAIL_CAFILE"})
        qunsetenv(v);
    ASSERT_EQ(Msgs.Shown.size(), 2u);
    EXPECT_EQ(Msgs.Shown[1].Text, kSendMailQuestion);
    const QList<QJsonObject> got = server.Received();
    ASSERT_EQ(got.size(), 1);
    EXPECT_EQ(got[0]["from_name"].toString(), "Ann Baker");
    EXPECT_EQ(got[0]["subject"].toString(), orderCode);
    EXPECT_TRUE(got[0]["body"].toString().startsWith("Please quote 500 sheets."));
    const QJsonArray parts = got[0]["attachments"].toArray();
    ASSERT_EQ(parts.size(), 1);
    const std::string received = parts[0].toObject()["path"].toString().toStdString();
    EXPECT_EQ(ReadAll(received), ReadAll(pdf));
    const TRunResult check = RunTool("qpdf", {"--check", Q(received)});
    EXPECT_EQ(check.ExitCode, 0) << check.Out.toStdString();
    EXPECT_FALSE(dynamic_cast<TfrmGauge&>(Status()).isVisible());
}
