// The server calls against real HTTP servers on loopback: our own small one, which can
// misbehave on purpose, and Python's http.server as an outside one.
#include "content/dTessora.h"
#include "content/uServer.h"
#include "document/uCommon.h"
#include "document/uMessages.h"
#include "tests/common/uTestSupport.h"
#include "tests/content/uHttpTestServer.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTimer>
#include <QVariant>
#include <arpa/inet.h>
#include <gtest/gtest.h>

#include "tests/content/uContentTest.h"
#include <memory>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace tessora {
void PrintTo(TFetchError e, std::ostream* os) {
    static const char* const names[] = {"None",           "BadAddress", "Network", "Status",
                                        "ConnectTimeout", "Timeout",    "TooLarge", "Cancelled"};
    *os << names[int(e)];
}
} // namespace tessora

using namespace tessora;
using namespace tessora::test;

namespace {

QByteArray Jpeg(QColor c, int w = 20, int h = 30) { return tessora::test::Jpeg(c, w, h); }

// A loopback port with nothing listening on it.
quint16 ClosedPort() {
    QTcpServer s;
    s.listen(QHostAddress::LocalHost, 0);
    const quint16 port = s.serverPort();
    s.close();
    return port;
}

// A listening socket whose accept queue is full, so a further connect hangs in the
// handshake: the server exists but the connection never comes up.
class TFullBacklog {
public:
    ~TFullBacklog() {
        for (int c : Clients)
            ::close(c);
        if (Listener >= 0) ::close(Listener);
    }
    // True when a connect to Port() now hangs.
    bool Start() {
        Listener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof a;
        if (Listener < 0 || ::bind(Listener, reinterpret_cast<sockaddr*>(&a), len) != 0 ||
            ::listen(Listener, 0) != 0 || ::getsockname(Listener, reinterpret_cast<sockaddr*>(&a), &len) != 0)
            return false;
        Port = ntohs(a.sin_port);
        for (int i = 0; i < 16; ++i) {
            const int c = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
            Clients.push_back(c);
            ::connect(c, reinterpret_cast<sockaddr*>(&a), len);
            pollfd p{c, POLLOUT, 0};
            if (::poll(&p, 1, 300) == 0) return true; // this one hangs
        }
        return false;
    }
    quint16 Port = 0;

private:
    int Listener = -1;
    std::vector<int> Clients;
};

class ServerTest : public ::testing::Test {
protected:
    THttpTestServer Http;
    std::vector<std::unique_ptr<TTempDir>> Homes;
    std::string PrevFolder = ProgramFolder();
    TScriptedMessages Messages;
    TMessageScope Scope{Messages};

    void SetUp() override {
        ASSERT_TRUE(Http.Start());
        UseServer(Http.BaseUrl());
        SetServerLimits({});
    }
    void TearDown() override {
        SetServerLimits({});
        if (!PrevFolder.empty()) SetProgramFolder(PrevFolder);
    }
    // A fresh program folder whose tessora.ini names `url` (a fresh file each time, so
    // no cached settings are read).
    std::string UseServer(const QString& url) {
        Homes.push_back(std::make_unique<TTempDir>());
        const std::string home = Homes.back()->Path();
        SetProgramFolder(home);
        WriteAll(home + "tessora.ini", "[Server]\nBaseUrl=" + url.toUtf8() + "\n");
        return home;
    }
    void ShortLimits(int connectMs, int totalMs) {
        TServerLimits l;
        l.ConnectMs = connectMs;
        l.TotalMs = totalMs;
        SetServerLimits(l);
    }
};

TEST(ServerVersion, ProgramVersionIsTheBuildVersionCutToThreeNumbers) {
    EXPECT_EQ(ProgramVersion(), "5.0.0");
    EXPECT_EQ(QString(TESSORA_VERSION), "5.0.0.0");
}

TEST(ServerVersion, ComparisonAndParsing) {
    struct TCase {
        const char* Remote;
        const char* Local;
        bool Newer;
    };
    const TCase cases[] = {
        {"4.1.0", "4.0.12", true},
        {"4.0.12", "4.0.12", false},
        {"3.9.9", "4.0.0", false},
        {"4.0.13", "4.0.12", true},
        {"4.0.11", "4.0.12", false},
        {"5.0.0", "4.255.255", true},
        {"4.255.255", "5.0.0", false},
        {"5.0.0", "5.0.0", false},
        {"5.0.1", "5.0.0", true},
        {" 5.1.0\r\n", "5.0.0", true},
        {"010.0.0", "9.9.9", true}, // leading zeros are still numbers
        // Not of the form major.minor.release with byte-sized numbers: never newer.
        {"6.1", "5.0.0", false},
        {"6.1.0.1", "5.0.0", false},
        {"x.1.0", "5.0.0", false},
        {"6.256.0", "5.0.0", false},
        {"-6.0.0", "5.0.0", false},
        {"6..0", "5.0.0", false},
        {"", "5.0.0", false},
        {"6.0.0", "", false},
        {"<html>6.0.0</html>", "5.0.0", false},
        {"+6.0.0", "5.0.0", false},
        {"6.0.0x", "5.0.0", false},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(IsNewerVersion(c.Remote, c.Local), c.Newer) << c.Remote << " vs " << c.Local;
    const auto v = ParseVersion("4.0.12");
    ASSERT_TRUE(v);
    EXPECT_EQ(v->Major, 4);
    EXPECT_EQ(v->Minor, 0);
    EXPECT_EQ(v->Release, 12);
    EXPECT_TRUE(ParseVersion("255.255.255"));
    EXPECT_FALSE(ParseVersion("256.0.0"));
}

TEST(ServerNames, OnlyBareFileNamesPass) {
    for (const char* ok : {"a.tpl", "Box 12.tpv", "name.with.dots.shl", "Größe.tpl", "a b-c_d (2).tpl"})
        EXPECT_TRUE(IsBareFileName(QString::fromUtf8(ok))) << ok;
    for (const char* bad :
         {"", "../../.bashrc", "/etc/x", ".hidden", "a\\b", "..", ".", "a/b.tpl", "x..y", "C:\\x.tpl", "a\tb",
          "a\x01"
          "b",
          "a\x7f"})
        EXPECT_FALSE(IsBareFileName(QString::fromLatin1(bad))) << bad;
    EXPECT_FALSE(IsBareFileName(QString("a") + QChar(0x85) + "b")); // a C1 control
}

TEST_F(ServerTest, AddressesComeFromTheSettings) {
    UseServer("http://127.0.0.1:8/some/where");
    EXPECT_EQ(ServerBaseUrl(), "http://127.0.0.1:8/some/where/");
    EXPECT_EQ(UpdateUrl(), "http://127.0.0.1:8/some/where/");
    EXPECT_EQ(UpdateUrl("adv"), "http://127.0.0.1:8/some/where/adv/");
    // Without a setting, the maker's server.
    Homes.push_back(std::make_unique<TTempDir>());
    SetProgramFolder(Homes.back()->Path());
    EXPECT_EQ(ServerBaseUrl(), QString::fromLatin1(kDefaultServerUrl));
    EXPECT_TRUE(ServerBaseUrl().endsWith("/downloads/Update/"));
    EXPECT_EQ(UpdateUrl("templates"), QString::fromLatin1(kDefaultServerUrl) + "templates/");
}

TEST_F(ServerTest, VersionCheckAgainstTheServer) {
    struct TCase {
        QByteArray Served;
        const char* Expected;
    };
    const TCase cases[] = {
        {"5.0.1", "5.0.1"},
        {"5.1.0\r\n", "5.1.0"},
        {"6.0.0\n", "6.0.0"},
        {"5.0.0", ""},
        {"5.0.0\r\n", ""},
        {"4.9.9", ""},
        {"4.255.255", ""},
        {"", ""},
        {"not a version", ""},
        {"\xEF\xBB\xBF"
         "5.2.0",
         "5.2.0"}, // a byte-order mark is not part of it
    };
    for (const TCase& c : cases) {
        Http.Put("version.ini", c.Served);
        EXPECT_EQ(CheckForNewVersion().toStdString(), c.Expected) << c.Served.toStdString();
    }
    ASSERT_EQ(Http.Paths.size(), qsizetype(std::size(cases)));
    EXPECT_EQ(Http.Paths[0], "/downloads/Update/version.ini");
    // A plain GET with the client's fixed headers.
    const QByteArray head = Http.Headers[0];
    EXPECT_TRUE(head.startsWith("GET /downloads/Update/version.ini HTTP/1.1\r\n")) << head.toStdString();
    EXPECT_TRUE(head.contains("\r\nUser-Agent: Mozilla/3.0 (compatible; Indy Library)"))
        << head.toStdString();
    EXPECT_TRUE(head.contains("\r\nAccept: text/html, */*")) << head.toStdString();
    EXPECT_TRUE(Messages.Shown.empty());
}

TEST_F(ServerTest, UnreachableOrFailingServerMeansNoNewVersion) {
    // Nothing listens: refused at once.
    UseServer(QStringLiteral("http://127.0.0.1:%1/downloads/Update/").arg(ClosedPort()));
    EXPECT_EQ(CheckForNewVersion(), "");
    TFetchError error = TFetchError::None;
    EXPECT_TRUE(FetchBytes(UpdateUrl() + "version.ini", 1000, &error).isEmpty());
    EXPECT_EQ(error, TFetchError::Network);

    // The server answers with an error page that holds a newer-looking text.
    UseServer(Http.BaseUrl());
    Http.Put("version.ini", "9.9.9", 404);
    EXPECT_EQ(CheckForNewVersion(), "");
    EXPECT_TRUE(FetchBytes(UpdateUrl() + "version.ini", 1000, &error).isEmpty());
    EXPECT_EQ(error, TFetchError::Status);
    Http.Put("version.ini", "9.9.9", 500);
    EXPECT_EQ(CheckForNewVersion(), "");
    EXPECT_TRUE(Messages.Shown.empty());
}

TEST_F(ServerTest, ServerThatNeverAnswersEndsAtTheTimeOut) {
    Http.Put("version.ini", "9.9.9", 200, THttpTestServer::Silent);
    ShortLimits(5000, 700);
    // The event loop runs during the call: timers fire, windows would repaint.
    int ticks = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] { ++ticks; });
    tick.start(20);
    TFetchError error = TFetchError::None;
    EXPECT_TRUE(FetchBytes(UpdateUrl() + "version.ini", 1000, &error).isEmpty());
    EXPECT_EQ(error, TFetchError::Timeout);
    EXPECT_GT(ticks, 0);
    EXPECT_EQ(CheckForNewVersion(), "");
    EXPECT_EQ(Http.Paths.size(), 2); // the request was made and left unanswered
}

TEST_F(ServerTest, ServerThatNeverAnswersEndsWithinTheDefaultLimits) {
    Http.Put("version.ini", "9.9.9", 200, THttpTestServer::Silent);
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(CheckForNewVersion(), "");
    const qint64 ms = t.elapsed();
    std::printf("unanswered version check ended after %lld ms\n", static_cast<long long>(ms));
    EXPECT_EQ(Http.Paths.size(), 1);
}

TEST_F(ServerTest, ConnectionThatNeverComesUpEndsAtTheConnectTimeOut) {
    TFullBacklog hang;
    if (!hang.Start()) GTEST_SKIP() << "this system completes connections beyond the accept queue";
    UseServer(QStringLiteral("http://127.0.0.1:%1/downloads/Update/").arg(hang.Port));
    ShortLimits(400, 15000);
    TFetchError error = TFetchError::None;
    EXPECT_TRUE(FetchBytes(UpdateUrl() + "version.ini", 1000, &error).isEmpty());
    EXPECT_EQ(error, TFetchError::ConnectTimeout);
    EXPECT_EQ(CheckForNewVersion(), "");
}

TEST_F(ServerTest, LimitsCanOnlyBeShortened) {
    TServerLimits l;
    l.ConnectMs = 60000;
    l.TotalMs = 600000;
    SetServerLimits(l);
    EXPECT_EQ(ServerLimits().ConnectMs, TServerLimits::MaxConnectMs);
    EXPECT_EQ(ServerLimits().TotalMs, TServerLimits::MaxTotalMs);
    EXPECT_LE(TServerLimits::MaxConnectMs, 5000);
    EXPECT_LE(TServerLimits::MaxTotalMs, 15000);
    l.ConnectMs = 0;
    SetServerLimits(l);
    EXPECT_GE(ServerLimits().ConnectMs, 1);
}

TEST_F(ServerTest, AskingToDownloadGoesThroughTheMessageHandler) {
    EXPECT_EQ(NewVersionQuestion("5.1.0"), "Download version 5.1.0?");
    Messages.Answers = {mbYes, mbNo};
    EXPECT_TRUE(AskDownloadNewVersion("5.1.0"));
    EXPECT_FALSE(AskDownloadNewVersion("5.2.0"));
    ASSERT_EQ(Messages.Shown.size(), 2u);
    EXPECT_EQ(Messages.Shown[0].Text, "Download version 5.1.0?");
    EXPECT_EQ(Messages.Shown[0].Buttons, mbYes | mbNo);
    EXPECT_EQ(Messages.Shown[1].Text, "Download version 5.2.0?");
}

TEST_F(ServerTest, FetchTextAndPicture) {
    Http.Put("hello.txt", "Grüße\r\nline 2");
    EXPECT_EQ(FetchText(UpdateUrl() + "hello.txt"), QString::fromUtf8("Grüße\r\nline 2"));
    Http.Put("latin1.txt", "Gr\xFC\xDF"
                           "e"); // not UTF-8: read as Latin-1
    EXPECT_EQ(FetchText(UpdateUrl() + "latin1.txt"), QString::fromUtf8("Grüße"));
    EXPECT_EQ(FetchText(UpdateUrl() + "missing.txt"), "");

    Http.Put("adv/green.jpg", Jpeg(Qt::green));
    QImage graphic(4, 4, QImage::Format_RGB32);
    graphic.fill(Qt::red);
    EXPECT_TRUE(FetchPicture(UpdateUrl("adv") + "green.jpg", graphic));
    EXPECT_TRUE(IsColour(graphic, Qt::green));
    EXPECT_EQ(graphic.size(), QSize(20, 30));

    // A body that is no picture, a missing one, an empty one: false and the picture stays.
    Http.Put("adv/broken.jpg", "\xFF\xD8\xFF\xE0 truncated");
    Http.Put("adv/empty.jpg", "");
    for (const char* name : {"broken.jpg", "missing.jpg", "empty.jpg"}) {
        QImage kept(3, 3, QImage::Format_RGB32);
        kept.fill(Qt::blue);
        EXPECT_FALSE(FetchPicture(UpdateUrl("adv") + name, kept)) << name;
        EXPECT_TRUE(IsColour(kept, Qt::blue)) << name;
        EXPECT_EQ(kept.size(), QSize(3, 3)) << name;
    }
    // Only http and https.
    TFetchError error = TFetchError::None;
    EXPECT_TRUE(FetchBytes("file:///etc/passwd", 1 << 20, &error).isEmpty());
    EXPECT_EQ(error, TFetchError::BadAddress);
    EXPECT_TRUE(FetchBytes("not an address", 1 << 20, &error).isEmpty());
    EXPECT_EQ(error, TFetchError::BadAddress);
    EXPECT_EQ(FetchText(""), "");
}

TEST_F(ServerTest, ListsSkipNamesThatAreNotBareFileNames) {
    Http.Put("templates.ini",
             "a.tpl\r\n../../.bashrc\r\n/etc/x\r\n.hidden\r\na\\b\r\nb.tpv\r\n\r\n  c.tpl  \r\n"
             "d\x01.tpl\r\nsub/e.tpl\r\n..\\..\\f.tpl\r\nlast.tpl");
    EXPECT_EQ(FetchTemplatesList(), QStringList({"a.tpl", "b.tpv", "c.tpl", "last.tpl"}));
    Http.Put("labels.ini", "one.shl\n../two.shl\nthree.shl\n");
    EXPECT_EQ(FetchLabelsList(), QStringList({"one.shl", "three.shl"}));
    Http.Put("adv.ini", ".x.jpg\nad1.jpg");
    EXPECT_EQ(FetchAdvList(), QStringList({"ad1.jpg"}));
    Http.Put("version.ini", "5.0.3\r\n");
    EXPECT_EQ(FetchVersionText(), "5.0.3\r\n");
    EXPECT_EQ(Http.Paths,
              QList<QByteArray>({"/downloads/Update/templates.ini", "/downloads/Update/labels.ini",
                                 "/downloads/Update/adv.ini", "/downloads/Update/version.ini"}));
    // Nothing to fetch is an empty list.
    Http.Files.clear();
    EXPECT_TRUE(FetchTemplatesList().isEmpty());
}

TEST_F(ServerTest, OversizedResponsesAreRefused) {
    TServerLimits l;
    l.MaxTextBytes = 1000;
    l.MaxPictureBytes = 2000;
    SetServerLimits(l);
    for (auto mode : {THttpTestServer::Normal, THttpTestServer::NoLength}) {
        SCOPED_TRACE(mode == THttpTestServer::Normal ? "with length" : "without length");
        Http.Put("at.ini", QByteArray(1000, 'a'), 200, mode);
        Http.Put("over.ini", QByteArray(1001, 'a'), 200, mode);
        EXPECT_EQ(FetchText(UpdateUrl() + "at.ini").size(), 1000);
        EXPECT_EQ(FetchText(UpdateUrl() + "over.ini"), "");
        TFetchError error = TFetchError::None;
        EXPECT_TRUE(FetchBytes(UpdateUrl() + "over.ini", 1000, &error).isEmpty());
        EXPECT_EQ(error, TFetchError::TooLarge);
        // A picture just over its cap.
        QByteArray pic = Jpeg(Qt::green, 200, 200);
        ASSERT_GT(pic.size(), 100);
        pic += QByteArray(2001 - pic.size() > 0 ? 2001 - pic.size() : 0, '\0');
        Http.Put("big.jpg", pic, 200, mode);
        QImage kept;
        EXPECT_FALSE(FetchPicture(UpdateUrl() + "big.jpg", kept));
        EXPECT_TRUE(kept.isNull());
    }
    // A body that never ends is cut off at its cap, not at the time-out.
    TServerLimits shortCall = l;
    shortCall.TotalMs = 4000;
    SetServerLimits(shortCall);
    Http.Put("endless.ini", QByteArray(5000, 'e'), 200, THttpTestServer::Endless);
    TFetchError error = TFetchError::None;
    EXPECT_TRUE(FetchBytes(UpdateUrl() + "endless.ini", 1000, &error).isEmpty());
    EXPECT_EQ(error, TFetchError::TooLarge);
    // Under the cap it is still no answer: the call ends at its time-out.
    shortCall.TotalMs = 500;
    SetServerLimits(shortCall);
    Http.Put("endless.ini", QByteArray(500, 'e'), 200, THttpTestServer::Endless);
    EXPECT_TRUE(FetchBytes(UpdateUrl() + "endless.ini", 1000, &error).isEmpty());
    EXPECT_EQ(error, TFetchError::Timeout);

    // The default cap for text refuses a list of several megabytes.
    SetServerLimits({});
    Http.Put("templates.ini", QByteArray("name.tpl\n").repeated(300000), 200, THttpTestServer::NoLength);
    EXPECT_TRUE(FetchTemplatesList().isEmpty());
    Http.Put("version.ini", QByteArray("9.9.9") + QByteArray(3 << 20, ' '));
    EXPECT_EQ(CheckForNewVersion(), "");
}

class AdvertTest : public ServerTest {
protected:
    // A local database holding one red picture.
    std::unique_ptr<TdmTessora> RedDatabase() {
        const std::string home = ProgramFolder();
        WriteAll(home + "tessora.da0", ReadAll(BinDir() + "tessora.da0"));
        QFile::copy(QString::fromStdString(home + "tessora.da0"),
                    QString::fromStdString(home + "tessora.dat"));
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "advert-test");
            db.setDatabaseName(QString::fromStdString(home + "tessora.dat"));
            EXPECT_TRUE(db.open());
            QSqlQuery q(db);
            q.prepare(kAddAdvImage);
            q.bindValue(":AI_NAME", "red");
            q.bindValue(":AI_IMG", Jpeg(Qt::red));
            EXPECT_TRUE(q.exec());
            db.close();
        }
        QSqlDatabase::removeDatabase("advert-test");
        return std::make_unique<TdmTessora>();
    }
};

TEST_F(AdvertTest, PictureFromTheServer) {
    Http.Put("adv.ini", "green.jpg\r\n");
    Http.Put("adv/green.jpg", Jpeg(Qt::green));
    auto dm = RedDatabase();
    QImage graphic;
    EXPECT_EQ(LoadAdvertPicture(graphic, *dm), TAdvertSource::Server);
    EXPECT_TRUE(IsColour(graphic, Qt::green));
    EXPECT_EQ(Http.Paths,
              QList<QByteArray>({"/downloads/Update/adv.ini", "/downloads/Update/adv/green.jpg"}));
}

TEST_F(AdvertTest, NamesAreEncodedInTheAddress) {
    Http.Put("adv.ini", "my ad#1.jpg\n");
    Http.Files["/downloads/Update/adv/my%20ad%231.jpg"] = {Jpeg(Qt::green), 200, THttpTestServer::Normal,
                                                           "image/jpeg"};
    auto dm = RedDatabase();
    QImage graphic;
    EXPECT_EQ(LoadAdvertPicture(graphic, *dm), TAdvertSource::Server);
    EXPECT_TRUE(IsColour(graphic, Qt::green));
}

TEST_F(AdvertTest, EveryListedPictureCanBeChosen) {
    Http.Put("adv.ini", "green.jpg\nblue.jpg\n");
    Http.Put("adv/green.jpg", Jpeg(Qt::green));
    Http.Put("adv/blue.jpg", Jpeg(Qt::blue));
    auto dm = RedDatabase();
    bool green = false, blue = false;
    for (int i = 0; i < 60 && !(green && blue); ++i) {
        QImage graphic;
        ASSERT_EQ(LoadAdvertPicture(graphic, *dm), TAdvertSource::Server);
        green |= IsColour(graphic, Qt::green);
        blue |= IsColour(graphic, Qt::blue);
    }
    EXPECT_TRUE(green && blue);
}

TEST_F(AdvertTest, ElseFromTheDatabase) {
    struct TCase {
        const char* What;
        QByteArray List;
        int Status;
    };
    const TCase cases[] = {
        {"empty list", "", 200},
        {"blank lines", "\r\n\r\n", 200},
        {"no list", "", 404},
        {"listed picture missing", "gone.jpg\n", 200},
        {"listed picture unreadable", "bad.jpg\n", 200},
        {"only hostile names", "../../.bashrc\n/etc/x\n.hidden\na\\b\n", 200},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        UseServer(Http.BaseUrl());
        Http.Paths.clear();
        Http.Files.clear();
        Http.Put("adv.ini", c.List, c.Status);
        Http.Put("adv/bad.jpg", "not a picture");
        auto dm = RedDatabase();
        QImage graphic;
        EXPECT_EQ(LoadAdvertPicture(graphic, *dm), TAdvertSource::Database);
        EXPECT_TRUE(IsColour(graphic, Qt::red));
        // Hostile names are never asked for.
        for (const QByteArray& p : Http.Paths)
            EXPECT_FALSE(p.contains("..") || p.contains("etc")) << p.toStdString();
    }
    // An unreachable server.
    UseServer(QStringLiteral("http://127.0.0.1:%1/downloads/Update/").arg(ClosedPort()));
    auto dm = RedDatabase();
    QImage graphic;
    EXPECT_EQ(LoadAdvertPicture(graphic, *dm), TAdvertSource::Database);
    EXPECT_TRUE(IsColour(graphic, Qt::red));
    EXPECT_TRUE(Messages.Shown.empty());
}

// Python's http.server as an outside implementation of plain HTTP file serving.
TEST_F(ServerTest, AgainstPythonHttpServer) {
    if (!HaveTool("python3")) GTEST_SKIP() << "python3 is not installed";
    TTempDir root;
    QDir().mkpath(QString::fromStdString(root.File("downloads/Update/adv")));
    WriteAll(root.File("downloads/Update/version.ini"), "5.3.1\n");
    WriteAll(root.File("downloads/Update/adv.ini"), "pic.jpg\n");
    WriteAll(root.File("downloads/Update/adv/pic.jpg"), Jpeg(Qt::green));
    QProcess py;
    py.setProcessChannelMode(QProcess::MergedChannels);
    py.start("python3", {"-u", "-m", "http.server", "0", "--bind", "127.0.0.1", "--directory",
                         QString::fromStdString(root.Path())});
    ASSERT_TRUE(py.waitForStarted(10000));
    QByteArray out;
    const QRegularExpression portRe("port (\\d+)");
    QRegularExpressionMatch m;
    while (!(m = portRe.match(QString::fromUtf8(out))).hasMatch() && py.waitForReadyRead(10000))
        out += py.readAll();
    ASSERT_TRUE(m.hasMatch()) << out.toStdString();
    UseServer(QStringLiteral("http://127.0.0.1:%1/downloads/Update").arg(m.captured(1)));

    EXPECT_EQ(CheckForNewVersion(), "5.3.1");
    TdmTessora dm; // no database here: only the server can give a picture
    QImage graphic;
    EXPECT_EQ(LoadAdvertPicture(graphic, dm), TAdvertSource::Server);
    EXPECT_TRUE(IsColour(graphic, Qt::green));
    EXPECT_TRUE(FetchTemplatesList().isEmpty()); // a 404 from a real server
    py.kill();
    py.waitForFinished(5000);
}

} // namespace
