#include "content/uServer.h"

#include "content/dTessora.h"
#include "document/uCommon.h"
#include "document/uMessages.h"
#include "document/uPictureRefs.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRandomGenerator>
#include <QSettings>
#include <QStringDecoder>
#include <QTimer>
#include <QUrl>
#include <algorithm>

namespace tessora {

namespace {

TServerLimits gLimits;

QString WithSlash(QString s) {
    if (!s.endsWith('/')) s += '/';
    return s;
}

// UTF-8 when the bytes are valid UTF-8, else Latin-1 (the HTTP default for text).
QString DecodeText(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError()) text = QString::fromLatin1(bytes);
    if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
    return text;
}

} // namespace

TServerLimits ServerLimits() {
    return gLimits;
}

void SetServerLimits(const TServerLimits& limits) {
    gLimits = limits;
    gLimits.ConnectMs = std::clamp(limits.ConnectMs, 1, TServerLimits::MaxConnectMs);
    gLimits.TotalMs = std::clamp(limits.TotalMs, 1, TServerLimits::MaxTotalMs);
    gLimits.MaxTextBytes = std::max<qint64>(limits.MaxTextBytes, 0);
    gLimits.MaxPictureBytes = std::max<qint64>(limits.MaxPictureBytes, 0);
}

QString ProgramVersion() {
    // The build's version (four numbers) up to its third '.'.
    const QString full = QStringLiteral(TESSORA_VERSION);
    return full.section('.', 0, 2);
}

QString ServerBaseUrl() {
    QSettings ini(QString::fromStdString(ProgramFolderPath("tessora.ini")), QSettings::IniFormat);
    const QString url = ini.value("Server/BaseUrl").toString().trimmed();
    return WithSlash(url.isEmpty() ? QString::fromLatin1(kDefaultServerUrl) : url);
}

QString UpdateUrl(const QString& folder) {
    QString url = ServerBaseUrl();
    if (!folder.isEmpty()) url += folder + "/";
    return url;
}

QByteArray FetchBytes(const QString& address, qint64 maxBytes, TFetchError* error) {
    TTransfer transfer;
    return transfer.Get(address, maxBytes, error);
}

void TTransfer::Abort() {
    if (FAbort) FAbort();
}

QByteArray TTransfer::Get(const QString& address, qint64 maxBytes, TFetchError* error) {
    if (FAbort) { // a handler started another GET on this one
        if (error) *error = TFetchError::Network;
        return {};
    }
    TFetchError why = TFetchError::None;
    QByteArray body = [&]() -> QByteArray {
        const QUrl url(address.trimmed(), QUrl::TolerantMode);
        const QString scheme = url.scheme().toLower();
        if (!url.isValid() || (scheme != "http" && scheme != "https") || url.host().isEmpty()) {
            why = TFetchError::BadAddress;
            return {};
        }
        if (!QCoreApplication::instance()) {
            why = TFetchError::Network;
            return {};
        }
        const TServerLimits limits = gLimits;
        QNetworkAccessManager client; // owns its reply: both go at the end of the call
        QNetworkRequest request(url);
        request.setHeader(QNetworkRequest::ContentTypeHeader, "text/html");
        request.setRawHeader("Accept", "text/html, */*");
        request.setHeader(QNetworkRequest::UserAgentHeader, "Mozilla/3.0 (compatible; Indy Library)");
        request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                             QNetworkRequest::NoLessSafeRedirectPolicy);
        request.setMaximumRedirectsAllowed(5);

        QNetworkReply* reply = client.get(request);
        QByteArray data;
        auto stop = [&](TFetchError reason) {
            if (why == TFetchError::None) why = reason;
            if (reply->isRunning()) reply->abort();
        };
        QTimer connectTimer, totalTimer;
        connectTimer.setSingleShot(true);
        totalTimer.setSingleShot(true);
        QObject::connect(&connectTimer, &QTimer::timeout, reply, [&] { stop(TFetchError::ConnectTimeout); });
        QObject::connect(&totalTimer, &QTimer::timeout, reply, [&] { stop(TFetchError::Timeout); });
        QObject::connect(reply, &QNetworkReply::requestSent, &connectTimer, &QTimer::stop);
        qint64 expected = -1;
        QObject::connect(reply, &QNetworkReply::metaDataChanged, reply, [&] {
            const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
            expected = length.isValid() ? length.toLongLong() : -1;
            if (expected > maxBytes) {
                stop(TFetchError::TooLarge);
                return;
            }
            const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
            // Redirects and error pages are not the transfer the caller shows.
            if (OnBegin && status >= 200 && status < 300) OnBegin(expected);
        });
        // Read as it arrives, so a body without a length is refused at the cap, not at its end.
        QObject::connect(reply, &QNetworkReply::readyRead, reply, [&] {
            if (why != TFetchError::None) return;
            data += reply->read(maxBytes + 1 - data.size());
            if (data.size() > maxBytes)
                stop(TFetchError::TooLarge);
            else if (OnProgress)
                OnProgress(data.size(), expected);
        });
        FAbort = [&] { stop(TFetchError::Cancelled); };

        QEventLoop loop;
        QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        connectTimer.start(limits.ConnectMs);
        totalTimer.start(limits.TotalMs);
        if (!reply->isFinished()) loop.exec();
        connectTimer.stop();
        totalTimer.stop();
        reply->disconnect();
        FAbort = nullptr;

        if (why != TFetchError::None) return {};
        if (!reply->isFinished()) { // the loop was ended from outside (the program quits)
            why = TFetchError::Network;
            return {};
        }
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (status != 0 && (status < 200 || status >= 300)) {
            why = TFetchError::Status;
            return {};
        }
        if (reply->error() != QNetworkReply::NoError || status == 0) {
            why = TFetchError::Network;
            return {};
        }
        data += reply->read(maxBytes + 1 - data.size());
        if (data.size() > maxBytes) {
            why = TFetchError::TooLarge;
            return {};
        }
        return data;
    }();
    if (error) *error = why;
    return why == TFetchError::None ? body : QByteArray();
}

QString FetchText(const QString& address) {
    return DecodeText(FetchBytes(address, gLimits.MaxTextBytes));
}

bool FetchPicture(const QString& address, QImage& graphic) {
    TFetchError error = TFetchError::None;
    const QByteArray bytes = FetchBytes(address, gLimits.MaxPictureBytes, &error);
    if (error != TFetchError::None || bytes.isEmpty()) return false;
    const QImage img = QImage::fromData(bytes);
    if (img.isNull()) return false;
    graphic = img;
    return true;
}

bool IsBareFileName(const QString& name) {
    return IsBareName(name.toStdString());
}

QStringList SplitNameList(const QString& text) {
    QStringList names;
    for (const QString& raw : text.split('\n')) {
        QString line = raw;
        if (line.endsWith('\r')) line.chop(1);
        line = line.trimmed();
        if (IsBareFileName(line)) names << line;
    }
    return names;
}

QString FetchVersionText() {
    return FetchText(UpdateUrl() + "version.ini");
}
QStringList FetchTemplatesList() {
    return SplitNameList(FetchText(UpdateUrl() + "templates.ini"));
}
QStringList FetchLabelsList() {
    return SplitNameList(FetchText(UpdateUrl() + "labels.ini"));
}
QStringList FetchAdvList() {
    return SplitNameList(FetchText(UpdateUrl() + "adv.ini"));
}

std::optional<TProgramVersion> ParseVersion(const QString& text) {
    const QStringList parts = text.trimmed().split('.');
    if (parts.size() != 3) return std::nullopt;
    int v[3];
    for (int i = 0; i < 3; ++i) {
        const QString& p = parts[i];
        bool ok =
            !p.isEmpty() && std::all_of(p.begin(), p.end(), [](QChar c) { return c >= '0' && c <= '9'; });
        v[i] = ok ? p.toInt(&ok) : 0;
        // A number a byte cannot hold is not a version of this form.
        if (!ok || v[i] > 255) return std::nullopt;
    }
    return TProgramVersion{v[0], v[1], v[2]};
}

bool IsNewerVersion(const QString& remote, const QString& local) {
    const auto r = ParseVersion(remote);
    const auto l = ParseVersion(local);
    if (!r || !l) return false;
    if (r->Major != l->Major) return r->Major > l->Major;
    if (r->Minor != l->Minor) return r->Minor > l->Minor;
    return r->Release > l->Release;
}

QString CheckForNewVersion() {
    const QString local = ProgramVersion();
    // The first line only: the file usually ends with a line break.
    const QString remote = FetchVersionText().section('\n', 0, 0).trimmed();
    if (remote.isEmpty()) return {};
    return IsNewerVersion(remote, local) ? remote : QString();
}

QString NewVersionQuestion(const QString& version) {
    return QStringLiteral("Download version %1?").arg(version);
}

bool AskDownloadNewVersion(const QString& version) {
    return Confirm(NewVersionQuestion(version).toStdString(), mbYes | mbNo) == mbYes;
}

TAdvertSource LoadAdvertPicture(QImage& graphic, TdmTessora& dm) {
    const QStringList names = FetchAdvList();
    if (!names.isEmpty()) {
        const QString name = names[int(QRandomGenerator::global()->bounded(quint32(names.size())))];
        const QString address = UpdateUrl("adv") + QString::fromLatin1(QUrl::toPercentEncoding(name));
        if (FetchPicture(address, graphic)) return TAdvertSource::Server;
    }
    dm.PickAdvertPicture(graphic);
    return TAdvertSource::Database;
}

} // namespace tessora
