// The local database on a real SQLite file: creation from the empty database, the
// picture pick, missing and damaged files.
#include "content/dTessora.h"
#include "document/uCommon.h"
#include "document/uMessages.h"
#include "tests/common/uTestSupport.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <functional>
#include <gtest/gtest.h>

#include "tests/content/uContentTest.h"
#include <set>

using namespace tessora;
using namespace tessora::test;

namespace {

QByteArray Jpeg(QColor c, int w = 24, int h = 32) { return tessora::test::Jpeg(c, w, h); }

// Runs statements on a file of its own connection, as another program would.
bool Sql(const std::string& file, const std::function<bool(QSqlDatabase&)>& work) {
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "test-side");
        db.setDatabaseName(QString::fromStdString(file));
        ok = db.open() && work(db);
        db.close();
    }
    QSqlDatabase::removeDatabase("test-side");
    return ok;
}

bool AddRow(QSqlDatabase& db, const QString& name, const QVariant& img) {
    QSqlQuery q(db);
    q.prepare(kAddAdvImage);
    q.bindValue(":AI_NAME", name);
    q.bindValue(":AI_IMG", img);
    return q.exec();
}

// python3's sqlite3 module reads the file: the table and its columns as SQLite sees them.
std::string Schema(const std::string& file) {
    const TRunResult r =
        Run("python3", {"-c",
                        "import sqlite3,sys\n"
                        "c=sqlite3.connect('file:'+sys.argv[1]+'?mode=ro',uri=True)\n"
                        "for row in c.execute('PRAGMA table_info(ADVIMAGES)'): print(row[1],row[2])\n"
                        "print('rows',c.execute('SELECT COUNT(*) FROM ADVIMAGES').fetchone()[0])\n",
                        QString::fromStdString(file)});
    return r.ExitCode == 0 ? r.Out.toStdString() : "error: " + r.Err.toStdString();
}

class DatabaseTest : public ::testing::Test {
protected:
    TTempDir Dir;
    TScriptedMessages Messages;
    TMessageScope Scope{Messages};
    QString Folder() const { return QString::fromStdString(Dir.Path()); }
    std::string Dat() const { return Dir.File("tessora.dat"); }
    std::string Da0() const { return Dir.File("tessora.da0"); }
    // The shipped empty database.
    void PutShippedDa0() {
        const QByteArray da0 = ReadAll(BinDir() + "tessora.da0");
        ASSERT_FALSE(da0.isEmpty()) << "the program folder lacks tessora.da0";
        WriteAll(Da0(), da0);
    }
    // An empty database of its own with the pictures given.
    void PutDat(const std::vector<QVariant>& pictures) {
        PutShippedDa0();
        ASSERT_TRUE(QFile::copy(QString::fromStdString(Da0()), QString::fromStdString(Dat())));
        ASSERT_TRUE(Sql(Dat(), [&](QSqlDatabase& db) {
            int i = 0;
            for (const QVariant& p : pictures)
                if (!AddRow(db, QStringLiteral("pic%1").arg(++i), p)) return false;
            return true;
        }));
    }
};

TEST_F(DatabaseTest, ShippedFilesHoldTheTableAndPictures) {
    ASSERT_TRUE(HaveTool("python3"));
    EXPECT_EQ(Schema(BinDir() + "tessora.da0"), "AI_ID INTEGER\nAI_NAME TEXT(15)\nAI_IMG BLOB\nrows 0\n");
    const std::string dat = Schema(BinDir() + "tessora.dat");
    EXPECT_EQ(dat.substr(0, dat.find("rows")), "AI_ID INTEGER\nAI_NAME TEXT(15)\nAI_IMG BLOB\n");

    // Every shipped picture is a complete JPEG file of the advertisement's size.
    int rows = 0;
    ASSERT_TRUE(Sql(BinDir() + "tessora.dat", [&](QSqlDatabase& db) {
        QSqlQuery q(db);
        if (!q.exec(kGetAdvImages)) return false;
        while (q.next()) {
            ++rows;
            const QByteArray img = q.value("AI_IMG").toByteArray();
            EXPECT_TRUE(img.startsWith("\xFF\xD8") && img.endsWith("\xFF\xD9")) << rows;
            const QImage pic = QImage::fromData(img, "JPEG");
            EXPECT_EQ(pic.size(), QSize(160, 220)) << rows;
            EXPECT_LE(q.value("AI_NAME").toString().size(), 15);
        }
        return true;
    }));
    EXPECT_GE(rows, 3);
    EXPECT_NE(dat.find("rows " + std::to_string(rows)), std::string::npos);

    // The shipped database gives one of its pictures.
    const QByteArray shipped = ReadAll(BinDir() + "tessora.dat");
    WriteAll(Dat(), shipped);
    TdmTessora dm(Folder());
    ASSERT_TRUE(dm.Prepared()) << dm.LastError().toStdString();
    QImage graphic;
    dm.PickAdvertPicture(graphic);
    EXPECT_EQ(graphic.size(), QSize(160, 220));
    EXPECT_TRUE(Messages.Shown.empty());
}

TEST_F(DatabaseTest, MissingDatabaseIsCreatedFromTheEmptyOneWithoutMessage) {
    PutShippedDa0();
    TdmTessora dm(Folder());
    EXPECT_TRUE(Messages.Shown.empty());
    EXPECT_TRUE(dm.Prepared()) << dm.LastError().toStdString();
    ASSERT_TRUE(QFileInfo::exists(QString::fromStdString(Dat())));
    EXPECT_EQ(dm.ConnectedFile().toStdString(), Dat());
    EXPECT_EQ(Schema(Dat()), "AI_ID INTEGER\nAI_NAME TEXT(15)\nAI_IMG BLOB\nrows 0\n");
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(Dat() + ".tmp")));

    // An empty table leaves the picture as it is.
    QImage graphic(5, 5, QImage::Format_RGB32);
    graphic.fill(Qt::blue);
    dm.PickAdvertPicture(graphic);
    EXPECT_TRUE(IsColour(graphic, Qt::blue));
    EXPECT_EQ(graphic.size(), QSize(5, 5));
}

TEST_F(DatabaseTest, CreationMakesTheTableAnEmptyDatabaseLacks) {
    // An SQLite file without any table: the creation statement makes ADVIMAGES.
    ASSERT_TRUE(Sql(Da0(), [](QSqlDatabase& db) { return QSqlQuery(db).exec("PRAGMA user_version = 7;"); }));
    TdmTessora dm(Folder());
    EXPECT_TRUE(dm.Prepared()) << dm.LastError().toStdString();
    EXPECT_EQ(Schema(Dat()), "AI_ID INTEGER\nAI_NAME TEXT(15)\nAI_IMG BLOB\nrows 0\n");
    EXPECT_TRUE(Messages.Shown.empty());
    // The empty database itself is untouched.
    EXPECT_EQ(Schema(Da0()).rfind("error", 0), 0u);
}

TEST_F(DatabaseTest, CreateDatabaseReplacesAnExistingFile) {
    PutDat({Jpeg(Qt::red)});
    // A journal left behind by a crash must not be played back into the fresh copy.
    WriteAll(Dat() + "-journal", QByteArray(4096, 'j'));
    TdmTessora dm(Folder());
    ASSERT_TRUE(dm.Prepared());
    dm.CreateDatabase();
    EXPECT_TRUE(Messages.Shown.empty());
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(Dat() + "-journal")));
    EXPECT_EQ(Schema(Dat()), "AI_ID INTEGER\nAI_NAME TEXT(15)\nAI_IMG BLOB\nrows 0\n");
    ASSERT_TRUE(dm.PrepareDatabase());
    QImage graphic;
    dm.PickAdvertPicture(graphic);
    EXPECT_TRUE(graphic.isNull());
}

TEST_F(DatabaseTest, MissingEmptyDatabaseFailsQuietlyAndCreatesNothing) {
    TdmTessora dm(Folder());
    EXPECT_FALSE(dm.Prepared());
    EXPECT_FALSE(dm.LastError().isEmpty());
    EXPECT_TRUE(Messages.Shown.empty());
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(Dat())));
    QImage graphic(3, 3, QImage::Format_RGB32);
    graphic.fill(Qt::green);
    dm.PickAdvertPicture(graphic);
    EXPECT_TRUE(IsColour(graphic, Qt::green));
}

TEST_F(DatabaseTest, OpenDatabaseOfAMissingFileSaysSoAndLeavesNoConnection) {
    PutDat({Jpeg(Qt::red)});
    TdmTessora dm(Folder());
    ASSERT_TRUE(dm.Prepared());
    const QString missing = Folder() + "gone.dat";
    dm.OpenDatabase(missing);
    ASSERT_EQ(Messages.Shown.size(), 1u);
    EXPECT_EQ(Messages.Shown[0].Text, Dir.File("gone.dat") + " file not found.");
    EXPECT_EQ(Messages.Shown[0].Buttons, mbNone);
    EXPECT_TRUE(dm.ConnectedFile().isEmpty());
    EXPECT_FALSE(dm.Prepared());
    // The module stays usable: nothing is picked, nothing is created.
    QImage graphic;
    dm.PickAdvertPicture(graphic);
    EXPECT_TRUE(graphic.isNull());
    EXPECT_FALSE(QFileInfo::exists(missing));
    // And it can be set to a real file again.
    dm.OpenDatabase(QString::fromStdString(Dat()));
    EXPECT_EQ(dm.ConnectedFile().toStdString(), Dat());
    EXPECT_EQ(Messages.Shown.size(), 1u);
}

TEST_F(DatabaseTest, DamagedDatabaseIsAClearFailure) {
    PutShippedDa0();
    const QByteArray real = ReadAll(BinDir() + "tessora.dat");
    ASSERT_GT(real.size(), 4096);
    QByteArray zeroedPages = real;
    zeroedPages.replace(1024, zeroedPages.size() - 1024, QByteArray(zeroedPages.size() - 1024, '\0'));
    const std::vector<std::pair<const char*, QByteArray>> cases = {
        {"text", QByteArray("this is not a database\n").repeated(50)},
        {"empty", QByteArray()},
        {"truncated header", real.left(60)},
        {"truncated", real.left(3000)},
        {"pages zeroed", zeroedPages},
        {"noise", QByteArray(8192, '\xA5')},
    };
    for (const auto& [what, bytes] : cases) {
        SCOPED_TRACE(what);
        WriteAll(Dat(), bytes);
        TdmTessora dm(Folder());
        QImage graphic(4, 4, QImage::Format_RGB32);
        graphic.fill(Qt::yellow);
        dm.PickAdvertPicture(graphic);
        // A clear failure at the query, never a crash, and the file is left as it was
        // for the user to look at.
        EXPECT_FALSE(dm.Prepared());
        EXPECT_FALSE(dm.LastError().isEmpty());
        EXPECT_TRUE(IsColour(graphic, Qt::yellow));
        EXPECT_EQ(ReadAll(Dat()), bytes);
    }
    EXPECT_TRUE(Messages.Shown.empty());
}

TEST_F(DatabaseTest, PickLoadsTheDrawnRowOnceAndSkipsEmptyPictures) {
    PutDat({Jpeg(Qt::red)});
    {
        TdmTessora dm(Folder());
        QImage graphic;
        dm.PickAdvertPicture(graphic);
        EXPECT_TRUE(IsColour(graphic, Qt::red));
        EXPECT_EQ(graphic.size(), QSize(24, 32));
        // A second pick in the same run does nothing.
        QImage again(2, 2, QImage::Format_RGB32);
        again.fill(Qt::blue);
        dm.PickAdvertPicture(again);
        EXPECT_TRUE(IsColour(again, Qt::blue));
    }
    // Empty pictures: NULL, zero bytes, and bytes no picture reader knows.
    for (const QVariant& empty : {QVariant(QMetaType(QMetaType::QByteArray)), QVariant(QByteArray("")),
                                  QVariant(QByteArray("\xFF\xD8 not really a jpeg"))}) {
        QFile::remove(QString::fromStdString(Dat()));
        PutDat({empty});
        TdmTessora dm(Folder());
        ASSERT_TRUE(dm.Prepared());
        QImage graphic(2, 2, QImage::Format_RGB32);
        graphic.fill(Qt::blue);
        dm.PickAdvertPicture(graphic);
        EXPECT_TRUE(IsColour(graphic, Qt::blue));
        EXPECT_EQ(graphic.size(), QSize(2, 2));
    }
}

TEST_F(DatabaseTest, EveryRowCanBeDrawn) {
    const QColor colours[3] = {Qt::red, Qt::green, Qt::blue};
    PutDat({Jpeg(colours[0]), Jpeg(colours[1]), Jpeg(colours[2])});
    std::set<int> seen;
    for (int run = 0; run < 80 && seen.size() < 3; ++run) {
        TdmTessora dm(Folder());
        QImage graphic;
        dm.PickAdvertPicture(graphic);
        int which = -1;
        for (int i = 0; i < 3; ++i)
            if (IsColour(graphic, colours[i])) which = i;
        ASSERT_GE(which, 0);
        seen.insert(which);
    }
    EXPECT_EQ(seen.size(), 3u);
}

TEST_F(DatabaseTest, InstancesKeepTheirOwnConnections) {
    PutDat({Jpeg(Qt::red)});
    TTempDir second;
    WriteAll(second.File("tessora.da0"), ReadAll(Da0()));
    ASSERT_TRUE(
        QFile::copy(QString::fromStdString(Da0()), QString::fromStdString(second.File("tessora.dat"))));
    ASSERT_TRUE(
        Sql(second.File("tessora.dat"), [](QSqlDatabase& db) { return AddRow(db, "g", Jpeg(Qt::green)); }));

    auto a = std::make_unique<TdmTessora>(Folder());
    TdmTessora b(QString::fromStdString(second.Path()));
    ASSERT_TRUE(a->Prepared() && b.Prepared());
    QImage ga, gb;
    a->PickAdvertPicture(ga);
    a.reset(); // closing one leaves the other's connection alone
    b.PickAdvertPicture(gb);
    EXPECT_TRUE(IsColour(ga, Qt::red));
    EXPECT_TRUE(IsColour(gb, Qt::green));
}

TEST_F(DatabaseTest, TheProgramFolderIsTheDefault) {
    const std::string prev = ProgramFolder();
    PutDat({Jpeg(Qt::red)});
    SetProgramFolder(Dir.Path());
    {
        TdmTessora dm;
        EXPECT_EQ(dm.DatabaseFile().toStdString(), Dat());
        EXPECT_EQ(dm.EmptyDatabaseFile().toStdString(), Da0());
        QImage graphic;
        dm.PickAdvertPicture(graphic);
        EXPECT_TRUE(IsColour(graphic, Qt::red));
    }
    if (!prev.empty()) SetProgramFolder(prev);
}

TEST(DatabaseStatements, OnlyTheAdvertTableHasACreationStatement) {
    EXPECT_EQ(TdmTessora::CreationStatement("ADVIMAGES"), QString::fromLatin1(kCrAdvImages));
    EXPECT_TRUE(TdmTessora::CreationStatement("Templates").isEmpty());
    EXPECT_TRUE(TdmTessora::CreationStatement("TJournal").isEmpty());
}

} // namespace
