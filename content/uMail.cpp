#include "content/uMail.h"

#include "platform/uSettings.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QUuid>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <curl/curl.h>
#include <dlfcn.h>
#include <memory>
#include <mutex>
#include <strings.h>
#include <thread>

namespace tessora {

// ---------------------------------------------------------------- the account

namespace {

QString Setting(const QSettings& ini, const char* key, const char* env) {
    const QString v = qEnvironmentVariable(env);
    if (!v.isEmpty()) return v;
    return ini.value(QStringLiteral("Mail/") + key).toString().trimmed();
}

} // namespace

TMailAccount TMailAccount::Load() {
    const QSettings ini(TGuiSettings::IniPath(), QSettings::IniFormat);
    TMailAccount a;
    a.Host = Setting(ini, "Host", "TESSORA_MAIL_HOST");
    if (a.Host.isEmpty()) {
        const QString domain = Setting(ini, "Domain", "TESSORA_MAIL_DOMAIN");
        if (!domain.isEmpty()) a.Host = "smtp." + domain;
    }
    const QString port = Setting(ini, "Port", "TESSORA_MAIL_PORT");
    if (!port.isEmpty()) {
        bool ok = false;
        const int p = port.toInt(&ok);
        a.Port = ok ? p : -1; // reported by Problem(), never silently replaced
    }
    a.User = Setting(ini, "User", "TESSORA_MAIL_USER");
    a.Password = Setting(ini, "Password", "TESSORA_MAIL_PASSWORD");
    a.CaFile = Setting(ini, "CAFile", "TESSORA_MAIL_CAFILE");
    const int t = Setting(ini, "Timeout", "TESSORA_MAIL_TIMEOUT").toInt();
    if (t > 0) a.Timeout = t;
    return a;
}

QString TMailAccount::Problem() const {
    if (Host.isEmpty()) return "no mail server configured ([Mail] Domain or Host in tessora.ini, or TESSORA_MAIL_HOST)";
    if (User.isEmpty()) return "no mail account configured ([Mail] User in tessora.ini, or TESSORA_MAIL_USER)";
    if (Port < 1 || Port > 65535) return "the mail port is not a port number";
    if (!CaFile.isEmpty() && !QFileInfo(CaFile).isFile()) return "the CA file " + CaFile + " does not exist";
    return {};
}

// ---------------------------------------------------------------- the message

namespace {

// Header values come from the user: line breaks would let them add headers of their own.
QString HeaderText(const QString& s) {
    QString out;
    out.reserve(s.size());
    for (QChar c : s) out += (c.unicode() < 0x20 || c.unicode() == 0x7F) ? QChar(' ') : c;
    return out.simplified();
}

bool PlainAscii(const QString& s) {
    return std::all_of(s.begin(), s.end(), [](QChar c) { return c.unicode() >= 0x20 && c.unicode() < 0x7F; });
}

// RFC 2047 encoded words of at most 75 characters, folded onto continuation lines.
QByteArray EncodedWords(const QString& s) {
    QByteArray out;
    QByteArray chunk;
    auto flush = [&] {
        if (chunk.isEmpty()) return;
        if (!out.isEmpty()) out += "\r\n ";
        out += "=?UTF-8?B?" + chunk.toBase64() + "?=";
        chunk.clear();
    };
    for (int i = 0; i < s.size(); ++i) {
        // Keep surrogate pairs together: a word must hold whole characters.
        const int n = (s[i].isHighSurrogate() && i + 1 < s.size()) ? 2 : 1;
        const QByteArray bytes = s.mid(i, n).toUtf8();
        if (chunk.size() + bytes.size() > 45) flush();
        chunk += bytes;
        i += n - 1;
    }
    flush();
    return out;
}

QByteArray HeaderValue(const QString& s) { return PlainAscii(s) ? s.toLatin1() : EncodedWords(s); }

QByteArray DisplayName(const QString& name) {
    if (!PlainAscii(name)) return EncodedWords(name);
    QByteArray q = "\"";
    for (QChar c : name) {
        if (c == '"' || c == '\\') q += '\\';
        q += char(c.unicode());
    }
    return q + "\"";
}

QByteArray Mailbox(const QString& name, const QString& address) {
    const QByteArray addr = "<" + HeaderText(address).toUtf8() + ">";
    const QString n = HeaderText(name);
    return n.isEmpty() ? addr : DisplayName(n) + " " + addr;
}

QByteArray Base64Lines(const QByteArray& data) {
    const QByteArray b = data.toBase64();
    QByteArray out;
    out.reserve(b.size() + b.size() / 76 * 2 + 2);
    for (int i = 0; i < b.size(); i += 76) out += b.mid(i, 76) + "\r\n";
    return out;
}

QByteArray FileNameParameter(const QString& fileName) {
    const QString n = HeaderText(fileName);
    if (PlainAscii(n)) return "filename=" + DisplayName(n);
    return "filename*=UTF-8''" + n.toUtf8().toPercentEncoding();
}

} // namespace

QByteArray BuildMimeMessage(const TMailMessage& m) {
    QByteArray text;
    for (const QString& line : m.Body) {
        QString l = line;
        while (l.endsWith('\r')) l.chop(1);
        text += l.toUtf8() + "\r\n";
    }
    const bool sevenBit = std::all_of(text.begin(), text.end(), [](char c) { return uchar(c) < 0x80; }) &&
                          std::all_of(m.Body.begin(), m.Body.end(), [](const QString& l) { return l.size() <= 998; });
    const QByteArray textHead = "Content-Type: text/plain; charset=UTF-8\r\nContent-Transfer-Encoding: " +
                                QByteArray(sevenBit ? "7bit" : "base64") + "\r\n";
    const QByteArray textBody = sevenBit ? text : Base64Lines(text);

    QByteArray attachment;
    QString fileName;
    if (!m.AttachmentPath.isEmpty() && QFileInfo(m.AttachmentPath).isFile()) {
        QFile f(m.AttachmentPath);
        if (f.open(QIODevice::ReadOnly)) {
            attachment = f.readAll();
            fileName = QFileInfo(m.AttachmentPath).fileName();
        } else {
            std::fprintf(stderr, "mail: %s cannot be read (%s); sending without it\n",
                         qPrintable(m.AttachmentPath), qPrintable(f.errorString()));
        }
    }
    const bool attach = !fileName.isEmpty();

    const QString domain = m.FromAddress.section('@', 1).isEmpty() ? "localhost" : m.FromAddress.section('@', 1);
    QByteArray out;
    out += "From: " + Mailbox(m.FromName, m.FromAddress) + "\r\n";
    out += "To: " + Mailbox(QString(), m.To) + "\r\n";
    out += "Subject: " + HeaderValue(HeaderText(m.Subject)) + "\r\n";
    out += "Date: " + QDateTime::currentDateTime().toString(Qt::RFC2822Date).toLatin1() + "\r\n";
    out += "Message-ID: <" + QUuid::createUuid().toString(QUuid::WithoutBraces).toLatin1() + "@" +
           HeaderText(domain).toUtf8() + ">\r\n";
    out += "MIME-Version: 1.0\r\n";
    if (!attach) {
        out += textHead + "\r\n" + textBody;
        return out;
    }
    const QByteArray boundary = "=_part_" + QUuid::createUuid().toString(QUuid::Id128).toLatin1();
    const bool pdf = QFileInfo(fileName).suffix().compare("pdf", Qt::CaseInsensitive) == 0;
    out += "Content-Type: multipart/mixed; boundary=\"" + boundary + "\"\r\n\r\n";
    out += "This is a message in MIME format.\r\n";
    // The line break before a boundary belongs to the boundary: one more keeps the text's last.
    out += "--" + boundary + "\r\n" + textHead + "\r\n" + textBody + "\r\n";
    out += "--" + boundary + "\r\n";
    out += "Content-Type: " + QByteArray(pdf ? "application/pdf" : "application/octet-stream") + "\r\n";
    out += "Content-Transfer-Encoding: base64\r\n";
    out += "Content-Disposition: attachment; " + FileNameParameter(fileName) + "\r\n\r\n";
    out += Base64Lines(attachment);
    out += "--" + boundary + "--\r\n";
    return out;
}

// ---------------------------------------------------------------- sending

namespace {

// What the worker shares with the caller. Status texts go to the caller's thread through
// queued calls on Receiver, which lives there and outlives the worker.
struct TSmtpJob {
    TMailAccount Account;
    QByteArray Payload;
    QString To;
    size_t Offset = 0;
    char ErrorBuffer[CURL_ERROR_SIZE] = {};
    QByteArray LastReply;
    std::function<void(const QString&)> Post;
    TMailResult Result;
};

size_t ReadPayload(char* buffer, size_t size, size_t count, void* user) {
    auto* job = static_cast<TSmtpJob*>(user);
    const size_t n = std::min(size * count, size_t(job->Payload.size()) - job->Offset);
    std::memcpy(buffer, job->Payload.constData() + job->Offset, n);
    job->Offset += n;
    return n;
}

bool Starts(const char* data, size_t size, const char* prefix) {
    const size_t n = std::strlen(prefix);
    return size >= n && strncasecmp(data, prefix, n) == 0;
}

// The conversation as status texts. The data itself is never kept or printed: it holds the
// login in base64.
int Conversation(CURL*, curl_infotype type, char* data, size_t size, void* user) {
    auto* job = static_cast<TSmtpJob*>(user);
    switch (type) {
    case CURLINFO_TEXT:
        if (Starts(data, size, "Connected to")) job->Post("Connected.");
        break;
    case CURLINFO_HEADER_IN:
        job->LastReply = QByteArray(data, int(size)).trimmed();
        break;
    case CURLINFO_HEADER_OUT:
        if (Starts(data, size, "STARTTLS")) job->Post("Starting TLS...");
        else if (Starts(data, size, "AUTH")) job->Post("Authenticating...");
        else if (Starts(data, size, "MAIL FROM")) job->Post("Sending message...");
        else if (Starts(data, size, "QUIT")) job->Post("Disconnecting...");
        break;
    default: break;
    }
    return 0;
}

void RunSmtp(TSmtpJob& job) {
    const TMailAccount& a = job.Account;
    CURL* h = curl_easy_init();
    if (!h) {
        job.Result.Error = "the mail library could not be started";
        return;
    }
    const QString host = a.Host.contains(':') ? "[" + a.Host + "]" : a.Host;
    const QByteArray url = QStringLiteral("smtp://%1:%2").arg(host).arg(a.Port).toUtf8();
    const QByteArray user = a.User.toUtf8(), password = a.Password.toUtf8(), ca = a.CaFile.toUtf8();
    const QByteArray from = "<" + a.User.toUtf8() + ">", to = "<" + job.To.toUtf8() + ">";
    curl_slist* rcpt = curl_slist_append(nullptr, to.constData());

    curl_easy_setopt(h, CURLOPT_URL, url.constData());
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "smtp");
    curl_easy_setopt(h, CURLOPT_USE_SSL, long(CURLUSESSL_ALL)); // no STARTTLS, no mail
    curl_easy_setopt(h, CURLOPT_SSLVERSION, long(CURL_SSLVERSION_TLSv1_2));
    curl_easy_setopt(h, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(h, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!ca.isEmpty()) curl_easy_setopt(h, CURLOPT_CAINFO, ca.constData());
    curl_easy_setopt(h, CURLOPT_USERNAME, user.constData());
    curl_easy_setopt(h, CURLOPT_PASSWORD, password.constData());
    curl_easy_setopt(h, CURLOPT_MAIL_FROM, from.constData());
    curl_easy_setopt(h, CURLOPT_MAIL_RCPT, rcpt);
    curl_easy_setopt(h, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(h, CURLOPT_READFUNCTION, ReadPayload);
    curl_easy_setopt(h, CURLOPT_READDATA, &job);
    curl_easy_setopt(h, CURLOPT_INFILESIZE_LARGE, curl_off_t(job.Payload.size()));
    // A silent or stalled server ends the attempt; the overall cap covers a trickle.
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT, long(a.Timeout));
    curl_easy_setopt(h, CURLOPT_SERVER_RESPONSE_TIMEOUT, long(a.Timeout));
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, long(a.Timeout));
    curl_easy_setopt(h, CURLOPT_TIMEOUT, long(a.Timeout) * 20);
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, job.ErrorBuffer);
    curl_easy_setopt(h, CURLOPT_DEBUGFUNCTION, Conversation);
    curl_easy_setopt(h, CURLOPT_DEBUGDATA, &job);
    curl_easy_setopt(h, CURLOPT_VERBOSE, 1L);

    job.Post(QStringLiteral("Connecting to %1:%2...").arg(a.Host).arg(a.Port));
    const CURLcode rc = curl_easy_perform(h);
    if (rc == CURLE_OK) {
        job.Result.Sent = true;
        job.Post("Message sent.");
    } else {
        QString why = job.ErrorBuffer[0] ? QString::fromUtf8(job.ErrorBuffer) : QString(curl_easy_strerror(rc));
        long code = 0;
        curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &code);
        if (code >= 400 && !job.LastReply.isEmpty()) why += "; the server said: " + QString::fromUtf8(job.LastReply);
        job.Result.Error = QStringLiteral("mail to %1 via %2:%3 not sent: %4").arg(job.To, a.Host).arg(a.Port).arg(why);
    }
    curl_easy_cleanup(h); // says QUIT on a live connection
    curl_slist_free_all(rcpt);
    job.Post("Disconnected.");
}

} // namespace

TMailResult SubmitMail(const TMailAccount& account, const TMailMessage& m,
                       const std::function<void(const QString&)>& onStatus) {
    TMailResult r;
    if (const QString p = account.Problem(); !p.isEmpty()) {
        r.Error = "mail not sent: " + p;
        return r;
    }
    static std::once_flag curlReady;
    std::call_once(curlReady, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });

    TSmtpJob job;
    job.Account = account;
    job.To = m.To;
    job.Payload = BuildMimeMessage(m);

    if (!QCoreApplication::instance()) {
        job.Post = [&](const QString& s) { if (onStatus) onStatus(s); };
        RunSmtp(job);
        return job.Result;
    }
    QObject receiver;
    QEventLoop loop;
    job.Post = [&receiver, onStatus](const QString& s) {
        QMetaObject::invokeMethod(&receiver, [onStatus, s] { if (onStatus) onStatus(s); }, Qt::QueuedConnection);
    };
    std::thread worker([&] {
        RunSmtp(job);
        QMetaObject::invokeMethod(&receiver, [&loop] { loop.quit(); }, Qt::QueuedConnection);
    });
    // Windows repaint and timers run; clicks and keys wait, as they would for a blocking call.
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker.join();
    return job.Result;
}

// ---------------------------------------------------------------- the TLS check

QStringList& TlsLibraryFiles() {
    // The OpenSSL 3 files Debian's libcurl4 uses for TLS.
    static QStringList files{"libssl.so.3", "libcrypto.so.3"};
    return files;
}

QString MissingTlsLibrary() {
    const curl_version_info_data* v = curl_version_info(CURLVERSION_NOW);
    const bool curlTls = v && (v->features & CURL_VERSION_SSL);
    for (const QString& f : TlsLibraryFiles()) {
        void* h = dlopen(f.toLocal8Bit().constData(), RTLD_NOW | RTLD_LOCAL);
        if (!h) return f;
        dlclose(h);
    }
    if (!curlTls) return TlsLibraryFiles().value(0, "libssl.so.3");
    return {};
}

} // namespace tessora
