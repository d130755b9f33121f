#pragma once
// Calls to the maker's download server: plain HTTP GETs of fixed paths. Every call is
// independent, blocks its caller in a local event loop (windows keep painting), ends
// within its time-outs and never throws: a failure gives an empty result.
#include <QImage>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace tessora {

class TdmTessora;

// Used when tessora.ini (section Server, key BaseUrl) names no other server.
inline constexpr const char* kDefaultServerUrl = "http://www.corvane.example/downloads/Update/";

// Time-outs and size caps of every call. The time-outs can be shortened, never lengthened.
struct TServerLimits {
    static constexpr int MaxConnectMs = 5000; // until the request is on its way
    static constexpr int MaxTotalMs = 15000;  // the whole call
    int ConnectMs = MaxConnectMs;
    int TotalMs = MaxTotalMs;
    qint64 MaxTextBytes = 1 << 20;     // version and list files
    qint64 MaxPictureBytes = 16 << 20; // pictures
};
TServerLimits ServerLimits();
void SetServerLimits(const TServerLimits& limits);

// The program's version cut to its first three numbers: "5.0.0".
QString ProgramVersion();
// The server's base address with one trailing '/'.
QString ServerBaseUrl();
// The base address, followed by folder and "/" when a folder is given.
QString UpdateUrl(const QString& folder = {});

// Why a GET gave nothing.
enum class TFetchError {
    None,
    BadAddress,     // not an http or https address
    Network,        // refused, unreachable, reset, or no application object
    Status,         // an answer other than 2xx
    ConnectTimeout, // the request was not on its way within the connect time-out
    Timeout,        // the whole call took too long
    TooLarge,       // the body is over its cap
    Cancelled       // TTransfer::Abort during the transfer
};

// A GET whose progress is reported while it runs; a handler that runs meanwhile (a Cancel
// button) can end it with Abort. Same limits and results as FetchBytes.
class TTransfer {
public:
    // The answer's headers are in: the body's length, -1 when the server gives none.
    std::function<void(qint64 expected)> OnBegin;
    // Bytes of the body received so far.
    std::function<void(qint64 received, qint64 expected)> OnProgress;

    QByteArray Get(const QString& address, qint64 maxBytes, TFetchError* error = nullptr);
    // Makes the transfer in progress fail with Cancelled; nothing when none runs.
    void Abort();
    bool Busy() const { return bool(FAbort); }

private:
    std::function<void()> FAbort;
};

// GETs of an http or https address; empty when the request, the status, a time-out or a
// size cap fails. FetchPicture loads `graphic` only when the body is a readable picture.
QByteArray FetchBytes(const QString& address, qint64 maxBytes, TFetchError* error = nullptr);
QString FetchText(const QString& address);
bool FetchPicture(const QString& address, QImage& graphic);

// A name from the server usable as a local file name: not empty, no '/', '\\' or
// control character, not starting with '.' and holding no "..".
bool IsBareFileName(const QString& name);
// The lines of a list file that are bare file names, in order.
QStringList SplitNameList(const QString& text);

// The list files under the base address.
QString FetchVersionText();       // version.ini
QStringList FetchTemplatesList(); // templates.ini
QStringList FetchLabelsList();    // labels.ini
QStringList FetchAdvList();       // adv.ini

// major.minor.release, each 0..255; nothing for any other text.
struct TProgramVersion {
    int Major = 0, Minor = 0, Release = 0;
};
std::optional<TProgramVersion> ParseVersion(const QString& text);
// True when `remote` is a newer version than `local`; a malformed text is never newer.
bool IsNewerVersion(const QString& remote, const QString& local);
// The server's version when it is newer than the program's, else empty (also when the
// server cannot be reached).
QString CheckForNewVersion();
// "Download version <version>?"
QString NewVersionQuestion(const QString& version);
// Asks that question (Yes / No) through the message handler; true on Yes.
bool AskDownloadNewVersion(const QString& version);

// Where LoadAdvertPicture found its picture.
enum class TAdvertSource { Server, Database };
// A picture named at random in adv.ini, fetched from the folder "adv"; when there is
// none or it cannot be fetched, a random picture from the local database.
TAdvertSource LoadAdvertPicture(QImage& graphic, TdmTessora& dm);

} // namespace tessora
