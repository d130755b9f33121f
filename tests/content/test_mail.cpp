// Mail submission against a real SMTP server on loopback: what arrives (read back by Python's
// MIME parser), what is refused, and the account settings.
#include "content/uMail.h"
#include "document/uCommon.h"
#include "tests/common/uTestSupport.h"
#include "tests/content/uSmtpTestServer.h"

#include <QHostAddress>
#include <QJsonArray>
#include <QSettings>
#include <QTcpServer>
#include <gtest/gtest.h>

using namespace tessora;
using namespace tessora::test;

namespace {

// PDF-like bytes with every byte value and the sequences SMTP and line-ending handling break.
QByteArray Pdf() {
    QByteArray b = "%PDF-1.3\r\n%\xE2\xE3\xCF\xD3\r\n.\r\n..\n\r\n.\r\n";
    for (int i = 0; i < 4096; ++i) b += char(i * 7 % 256);
    return b + "\r\n%%EOF\r\n";
}

TMailMessage Message(const QString& attachment) {
    TMailMessage m;
    m.FromName = "Jürgen \"JJ\" Müller";
    m.FromAddress = TSmtpTestServer::kUser;
    m.To = TSmtpTestServer::kUser;
    m.Subject = "Order GIFTBOX-07 – 500 pieces";
    m.Body = {"Please print this sheet.", ".", "..leading dots", "", "Grüße, Jürgen"};
    m.AttachmentPath = attachment;
    return m;
}

QStringList Strings(const QJsonValue& v) {
    QStringList out;
    for (const QJsonValue& e : v.toArray()) out << e.toString();
    return out;
}

} // namespace

TEST(Mail, ArrivesOverStartTlsWithLoginAndTheAttachmentIntact) {
    TSmtpTestServer server;
    ASSERT_TRUE(server.Start()) << server.Failure.constData();
    TTempDir tmp;
    const std::string pdf = tmp.File("Gift box.pdf");
    WriteAll(pdf, Pdf());

    QStringList status;
    const TMailResult r = SubmitMail(server.Account(), Message(QString::fromStdString(pdf)),
                                     [&](const QString& s) { status << s; });
    ASSERT_TRUE(r.Sent) << r.Error.toStdString();

    const QList<QJsonObject> got = server.Received();
    ASSERT_EQ(got.size(), 1);
    const QJsonObject& m = got[0];
    EXPECT_TRUE(m["tls"].toBool());
    EXPECT_TRUE(m["login"].toBool());
    EXPECT_EQ(m["from"].toString(), TSmtpTestServer::kUser);
    EXPECT_EQ(Strings(m["to"]), QStringList{TSmtpTestServer::kUser});
    EXPECT_EQ(m["from_name"].toString(), "Jürgen \"JJ\" Müller");
    EXPECT_EQ(m["from_addr"].toString(), TSmtpTestServer::kUser);
    EXPECT_EQ(m["subject"].toString(), "Order GIFTBOX-07 – 500 pieces");
    // MIME text has CRLF lines.
    EXPECT_EQ(m["body"].toString().toStdString(), "Please print this sheet.\r\n.\r\n..leading dots\r\n\r\nGrüße, Jürgen\r\n");

    const QJsonArray parts = m["attachments"].toArray();
    ASSERT_EQ(parts.size(), 1);
    const QJsonObject a = parts[0].toObject();
    EXPECT_EQ(a["filename"].toString(), "Gift box.pdf");
    EXPECT_EQ(a["type"].toString(), "application/pdf");
    EXPECT_EQ(a["encoding"].toString(), "base64");
    EXPECT_EQ(ReadAll(a["path"].toString().toStdString()), Pdf());
    EXPECT_FALSE(server.Raw(0).contains("begin 6")) << "no uuencoded block";

    // The client's own texts, in the order of the conversation.
    const qsizetype tls = status.indexOf("Starting TLS..."), auth = status.indexOf("Authenticating..."),
                    send = status.indexOf("Sending message...");
    EXPECT_TRUE(tls >= 0 && tls < auth && auth < send) << status.join(" | ").toStdString();
    EXPECT_EQ(status.mid(status.size() - 2), (QStringList{"Message sent.", "Disconnected."}));
}

TEST(Mail, AMissingAttachmentSendsTheTextAlone) {
    TSmtpTestServer server;
    ASSERT_TRUE(server.Start()) << server.Failure.constData();
    TTempDir tmp;
    const TMailResult r = SubmitMail(server.Account(), Message(QString::fromStdString(tmp.File("gone.pdf"))));
    ASSERT_TRUE(r.Sent) << r.Error.toStdString();
    const QList<QJsonObject> got = server.Received();
    ASSERT_EQ(got.size(), 1);
    EXPECT_TRUE(got[0]["attachments"].toArray().isEmpty());
    EXPECT_TRUE(got[0]["body"].toString().startsWith("Please print this sheet.\r\n"));
}

TEST(Mail, LineBreaksInHeaderTextsAddNoHeaders) {
    TSmtpTestServer server;
    ASSERT_TRUE(server.Start()) << server.Failure.constData();
    TMailMessage m = Message({});
    m.FromName = "Eve\r\nBcc: victim@example.test";
    m.Subject = "Price\nX-Injected: yes";
    ASSERT_TRUE(SubmitMail(server.Account(), m).Sent);
    const QList<QJsonObject> got = server.Received();
    ASSERT_EQ(got.size(), 1);
    const QStringList headers = Strings(got[0]["headers"]);
    EXPECT_FALSE(headers.contains("Bcc", Qt::CaseInsensitive)) << headers.join(",").toStdString();
    EXPECT_FALSE(headers.contains("X-Injected", Qt::CaseInsensitive));
    EXPECT_EQ(got[0]["subject"].toString(), "Price X-Injected: yes");
    EXPECT_EQ(got[0]["from_name"].toString(), "Eve Bcc: victim@example.test");
}

// Refusals: the server receives nothing and the reason names the cause.
TEST(Mail, RefusedConversationsDeliverNothingAndSayWhy) {
    {
        SCOPED_TRACE("a server without STARTTLS, though it would take the login in plain text");
        TSmtpTestServer server;
        ASSERT_TRUE(server.Start(false)) << server.Failure.constData();
        const TMailResult r = SubmitMail(server.Account(), Message({}));
        EXPECT_FALSE(r.Sent);
        EXPECT_TRUE(server.Received().isEmpty());
        EXPECT_TRUE(r.Error.contains("STARTTLS", Qt::CaseInsensitive) || r.Error.contains("SSL"))
            << r.Error.toStdString();
    }
    {
        SCOPED_TRACE("a wrong password");
        TSmtpTestServer server;
        ASSERT_TRUE(server.Start()) << server.Failure.constData();
        const TMailResult r = SubmitMail(server.Account("wrong"), Message({}));
        EXPECT_FALSE(r.Sent);
        EXPECT_TRUE(server.Received().isEmpty());
        EXPECT_TRUE(r.Error.contains("535")) << r.Error.toStdString();
    }
    {
        SCOPED_TRACE("a certificate nobody vouches for");
        TSmtpTestServer server;
        ASSERT_TRUE(server.Start()) << server.Failure.constData();
        TMailAccount a = server.Account();
        a.CaFile.clear(); // the system's certificates only
        const TMailResult r = SubmitMail(a, Message({}));
        EXPECT_FALSE(r.Sent);
        EXPECT_TRUE(server.Received().isEmpty());
        EXPECT_TRUE(r.Error.contains("certificate", Qt::CaseInsensitive)) << r.Error.toStdString();
    }
}

TEST(Mail, ASilentServerEndsInATimeOut) {
    QTcpServer silent; // accepts in the test's thread and never greets
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost, 0));
    TMailAccount a;
    a.Host = "127.0.0.1";
    a.Port = silent.serverPort();
    a.User = "shop@example.test";
    a.Timeout = 1;
    const TMailResult r = SubmitMail(a, Message({}));
    EXPECT_FALSE(r.Sent);
    EXPECT_TRUE(r.Error.contains("timed out", Qt::CaseInsensitive) || r.Error.contains("timeout", Qt::CaseInsensitive))
        << r.Error.toStdString();
}

TEST(MailAccount, IniGivesTheAccountAndTheEnvironmentOverridesIt) {
    TTempDir home;
    const std::string prev = ProgramFolder();
    SetProgramFolder(home.Path());
    {
        QSettings ini(QString::fromStdString(home.File("tessora.ini")), QSettings::IniFormat);
        ini.setValue("Mail/Domain", "print.example");
        ini.setValue("Mail/User", "orders@print.example");
        ini.setValue("Mail/Password", "from-ini");
        ini.setValue("Mail/Port", "2525");
    }
    const char* vars[] = {"TESSORA_MAIL_HOST", "TESSORA_MAIL_DOMAIN", "TESSORA_MAIL_PORT", "TESSORA_MAIL_USER",
                          "TESSORA_MAIL_PASSWORD", "TESSORA_MAIL_CAFILE", "TESSORA_MAIL_TIMEOUT"};
    for (const char* v : vars) qunsetenv(v);

    TMailAccount a = TMailAccount::Load();
    EXPECT_EQ(a.Host, "smtp.print.example");
    EXPECT_EQ(a.Port, 2525);
    EXPECT_EQ(a.User, "orders@print.example");
    EXPECT_EQ(a.Password, "from-ini");
    EXPECT_TRUE(a.Problem().isEmpty()) << a.Problem().toStdString();

    qputenv("TESSORA_MAIL_HOST", "mx.private.test");
    qputenv("TESSORA_MAIL_PASSWORD", "from-env");
    qputenv("TESSORA_MAIL_PORT", "not a port");
    a = TMailAccount::Load();
    EXPECT_EQ(a.Host, "mx.private.test");
    EXPECT_EQ(a.Password, "from-env");
    EXPECT_FALSE(a.Problem().isEmpty()) << "a broken port is reported, not replaced";
    for (const char* v : vars) qunsetenv(v);

    SetProgramFolder(home.Path() + "empty/");
    EXPECT_TRUE(TMailAccount::Load().Problem().contains("no mail server"));
    const TMailResult r = SubmitMail(TMailAccount::Load(), TMailMessage{});
    EXPECT_FALSE(r.Sent);
    EXPECT_FALSE(r.Error.isEmpty());
    SetProgramFolder(prev);
}

TEST(MailTls, TheLibraryCheckNamesTheFileThatCannotBeLoaded) {
    EXPECT_EQ(MissingTlsLibrary(), QString()) << "libcurl's OpenSSL is installed";
    const QStringList saved = TlsLibraryFiles();
    TlsLibraryFiles() = {"libssl.so.3", "libtessora-no-such-tls.so.9"};
    EXPECT_EQ(MissingTlsLibrary(), "libtessora-no-such-tls.so.9");
    TlsLibraryFiles() = saved;
}
