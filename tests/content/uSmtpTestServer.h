#pragma once
// A real SMTP server on loopback (Debian's aiosmtpd) with STARTTLS and login, for the mail
// tests. Its certificate is made for the run with openssl and trusted through the CA setting.
#include "content/uMail.h"
#include "tests/common/uTestSupport.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <memory>

namespace tessora::test {

class TSmtpTestServer {
public:
    static constexpr const char* kUser = "shop@example.test";
    static constexpr const char* kPassword = "s3cret pass";

    // Starts the server; false (with Failure set) when it does not come up.
    bool Start(bool starttls = true) {
        const QString dir = QString::fromStdString(Dir.Path());
        Cert = dir + "cert.pem";
        const QString key = dir + "key.pem";
        if (!starttls) Cert.clear();
        if (starttls) {
            const TRunResult r = Run("openssl", {"req", "-x509", "-newkey", "ec", "-pkeyopt",
                                                 "ec_paramgen_curve:prime256v1", "-nodes", "-keyout", key,
                                                 "-out", Cert, "-days", "2", "-subj", "/CN=127.0.0.1",
                                                 "-addext", "subjectAltName=IP:127.0.0.1,DNS:localhost"});
            if (r.ExitCode != 0) return Fail("openssl: " + r.Err);
        }
        QDir().mkpath(dir + "mail");
        QStringList args{QString::fromStdString(SourceDir() + "/tests/content/smtp_server.py"), "--dir",
                         dir + "mail", "--user", kUser, "--password", kPassword};
        if (starttls) args << "--cert" << Cert << "--key" << key;
        else args << "--no-starttls";
        Server = std::make_unique<QProcess>();
        Server->setProcessChannelMode(QProcess::SeparateChannels);
        Server->start("/usr/bin/python3", args); // Debian's, where python3-aiosmtpd lives
        if (!Server->waitForStarted(20000)) return Fail("python3 did not start");
        while (!Server->canReadLine()) {
            if (!Server->waitForReadyRead(20000)) return Fail("no port: " + Server->readAllStandardError());
        }
        const QByteArray line = Server->readLine().trimmed();
        if (!line.startsWith("PORT ")) return Fail("unexpected: " + line);
        Port = line.mid(5).toInt();
        return Port > 0;
    }

    ~TSmtpTestServer() {
        if (!Server) return;
        Server->closeWriteChannel();
        if (!Server->waitForFinished(10000)) Server->kill(), Server->waitForFinished(5000);
    }

    // The account of this server's mailbox.
    TMailAccount Account(const QString& password = kPassword) const {
        TMailAccount a;
        a.Host = "127.0.0.1";
        a.Port = Port;
        a.User = kUser;
        a.Password = password;
        a.CaFile = Cert;
        a.Timeout = 20;
        return a;
    }

    // What the server received, as Python's MIME parser read it, in order.
    QList<QJsonObject> Received() const {
        QList<QJsonObject> out;
        const QString dir = QString::fromStdString(Dir.Path()) + "mail/";
        for (int i = 1;; ++i) {
            QFile f(dir + QString("mail-%1.json").arg(i));
            if (!f.open(QIODevice::ReadOnly)) break;
            out << QJsonDocument::fromJson(f.readAll()).object();
        }
        return out;
    }
    QByteArray Raw(int i) const {
        return ReadAll(Dir.File("mail/mail-" + std::to_string(i + 1) + ".eml"));
    }

    int Port = 0;
    QString Cert;
    QByteArray Failure;

private:
    bool Fail(const QByteArray& why) {
        Failure = why;
        return false;
    }
    TTempDir Dir;
    std::unique_ptr<QProcess> Server;
};

} // namespace tessora::test
