#pragma once
// Mail submission of the PDF: the account from tessora.ini and the environment, the message
// as MIME, and its delivery over SMTP with STARTTLS through libcurl.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>

namespace tessora {

// Where and as whom the program submits mail. Section [Mail] of tessora.ini, each key
// overridden by its environment variable:
//   Domain   TESSORA_MAIL_DOMAIN    the host is "smtp." + Domain unless Host is given
//   Host     TESSORA_MAIL_HOST
//   Port     TESSORA_MAIL_PORT      587
//   User     TESSORA_MAIL_USER      the mailbox: login name, sender and recipient address
//   Password TESSORA_MAIL_PASSWORD
//   CAFile   TESSORA_MAIL_CAFILE    certificates to trust besides the system's (a private server)
//   Timeout  TESSORA_MAIL_TIMEOUT   seconds without progress before giving up, 60
struct TMailAccount {
    QString Host;
    int Port = 587;
    QString User, Password;
    QString CaFile;
    int Timeout = 60;

    static TMailAccount Load();
    // Empty when the account can be used, else why not.
    QString Problem() const;
};

struct TMailMessage {
    QString FromName, FromAddress, To, Subject;
    QStringList Body;
    QString AttachmentPath; // attached when it names an existing file
};

// The message as sent: headers, a text part and the attachment base64-encoded, CRLF lines.
QByteArray BuildMimeMessage(const TMailMessage& m);

struct TMailResult {
    bool Sent = false;
    QString Error; // why not, for stderr
};

// Submits the message, blocking the caller while windows keep painting (the transfer runs on
// a worker thread; user input waits until it ends). onStatus gets the client's status texts on
// the calling thread.
TMailResult SubmitMail(const TMailAccount& account, const TMailMessage& m,
                       const std::function<void(const QString&)>& onStatus = {});

// The TLS library files libcurl needs; the first that cannot be loaded, empty when all can.
QStringList& TlsLibraryFiles();
QString MissingTlsLibrary();

} // namespace tessora
