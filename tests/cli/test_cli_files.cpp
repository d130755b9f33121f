// tessora-cli info and convert, run as a user runs them.
#include "document/uCommon.h"
#include "sheetview/uSheet.h"
#include "tests/common/uTestSupport.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <filesystem>
#include <gtest/gtest.h>

using namespace tessora;
using namespace tessora::test;

namespace {

QString Cli() { return QString::fromStdString(BinDir() + "tessora-cli"); }

TRunResult RunCli(const QStringList& args) { return Run(Cli(), args); }

// Walks a JSON value by a path of keys and indices: J(root, "labels/1/faces/0").
QJsonValue J(QJsonValue v, const QString& path) {
    for (const QString& step : path.split('/')) {
        bool isIndex = false;
        const int i = step.toInt(&isIndex);
        v = isIndex ? v.toArray().at(i) : v.toObject().value(step);
    }
    return v;
}

std::string MakeTemplate(const TTempDir& home, const std::string& name, uint8_t shape, int cols, int rows,
                         const std::string& vector = {}) {
    TSheetHeader h;
    h.Shape = shape;
    h.MarginLeft = 4.7625;
    h.MarginTop = 12.7;
    h.LabelWidth = 66.675;
    h.LabelHeight = 25.4;
    h.GapH = 3.175;
    h.Columns = cols;
    h.Rows = rows;
    h.OrderCode = "";
    const auto rec = h.Encode(vector);
    std::filesystem::create_directories(home.File("Templates"));
    const std::string path = home.File("Templates/" + name);
    WriteAll(path, QByteArray(reinterpret_cast<const char*>(rec.data()), int(rec.size())));
    return path;
}

class Cli : public ::testing::Test {
protected:
    TTempDir Home;
    std::string Prev = ProgramFolder();
    void SetUp() override { SetProgramFolder(Home.Path()); }
    void TearDown() override { SetProgramFolder(Prev); }
    QJsonObject Info(const std::string& file) {
        const auto r = RunCli({"--home", QString::fromStdString(Home.Path()), "info", QString::fromStdString(file)});
        EXPECT_EQ(r.ExitCode, 0) << r.Err.toStdString();
        return QJsonDocument::fromJson(r.Out).object();
    }
};

} // namespace

TEST_F(Cli, InfoOfATemplate) {
    const auto j = Info(MakeTemplate(Home, "Address.tpr", lsRectangle, 3, 10));
    EXPECT_TRUE(j["settings"].isNull());
    EXPECT_EQ(J(j, "header/Columns").toInt(), 3);
    EXPECT_DOUBLE_EQ(J(j, "header/LabelWidth").toDouble(), 66.675);
    const QJsonArray labels = j["labels"].toArray();
    ASSERT_EQ(labels.size(), 30);
    EXPECT_DOUBLE_EQ(J(labels[4], "X").toDouble(), 4.7625 + 66.675 + 3.175);
    EXPECT_DOUBLE_EQ(J(labels[4], "Y").toDouble(), 12.7 + 25.4);
    const QJsonObject face = J(labels[0], "faces/0").toObject();
    EXPECT_EQ(face["BGColor"].toInteger(), 0xFFFFFF);
    EXPECT_EQ(face["BCAlign"].toInt(), 5);
    EXPECT_TRUE(face["texts"].toArray().isEmpty());
}

TEST_F(Cli, InfoOfAProjectShowsEveryObject) {
    std::filesystem::create_directories(Home.File("Import Images"));
    QImage img(4, 3, QImage::Format_RGB32);
    img.fill(Qt::red);
    ASSERT_TRUE(img.save(QString::fromStdString(Home.File("Import Images/red.png"))));
    TSheet sheet;
    ASSERT_TRUE(sheet.StartNewProject(MakeTemplate(Home, "Shop.tpr", lsRectangle, 2, 1), 1));
    sheet.AddPicture(1, 0, Home.File("Import Images/red.png"));
    auto t = std::make_unique<TLabelText>(1.5, 2.5, 60);
    t->Text = "Caf\xC3\xA9 \xE2\x82\xAC";
    t->FontStyle = "101";
    sheet.Face(1, 0).Texts.push_back(std::move(t));
    sheet.Face(1, 0).BCText = "4006381333931";
    sheet.Face(1, 0).BCType = 7;
    ASSERT_TRUE(sheet.SaveProject(Home.File("p.shl")));

    const auto j = Info(Home.File("p.shl"));
    EXPECT_EQ(J(j, "settings/SerialPrefix").toString(), "SHO");
    EXPECT_EQ(J(j, "header/OrderCode").toString(), "Shop");
    const QJsonObject face = J(j, "labels/1/faces/0").toObject();
    EXPECT_EQ(face["BCText"].toString(), "4006381333931");
    EXPECT_EQ(face["BCType"].toInt(), 7);
    const QJsonObject text = J(face, "texts/0").toObject();
    EXPECT_EQ(text["Text"].toString(), QString::fromUtf8("Caf\xC3\xA9 \xE2\x82\xAC"));
    EXPECT_EQ(text["FontStyle"].toString(), "101");
    EXPECT_DOUBLE_EQ(text["Width"].toDouble(), 60);
    const QJsonObject image = J(face, "images/0").toObject();
    EXPECT_EQ(image["FileName"].toString().toStdString(), Home.File("Import Images/red.png"));
    EXPECT_EQ(image["Scale"].toInt(), 100);
}

TEST_F(Cli, HomeDecidesWhereStoredPathsPoint) {
    // The same project file read with two program folders finds its picture in each.
    TTempDir other;
    for (const TTempDir* h : {&Home, &other}) {
        std::filesystem::create_directories(h->File("Import Images"));
        QImage img(2, 2, QImage::Format_RGB32);
        img.fill(Qt::blue);
        img.save(QString::fromStdString(h->File("Import Images/b.png")));
    }
    TSheet sheet;
    ASSERT_TRUE(sheet.StartNewProject(MakeTemplate(Home, "T.tpr", lsRectangle, 1, 1), 1));
    sheet.AddPicture(0, 0, Home.File("Import Images/b.png"));
    ASSERT_TRUE(sheet.SaveProject(Home.File("p.shl")));
    const auto r = RunCli({"--home", QString::fromStdString(other.Path()), "info", QString::fromStdString(Home.File("p.shl"))});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    const auto j = QJsonDocument::fromJson(r.Out).object();
    EXPECT_EQ(J(j, "labels/0/faces/0/images/0/FileName").toString().toStdString(), other.File("Import Images/b.png"));
}

TEST_F(Cli, ConvertMakesACurrentProject) {
    const std::string tpl = MakeTemplate(Home, "Box Small.tpr", lsRectangle, 2, 2);
    const std::string out = Home.File("new.shl");
    auto r = RunCli({"--home", QString::fromStdString(Home.Path()), "convert", QString::fromStdString(tpl), QString::fromStdString(out)});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    EXPECT_EQ(ReadAll(out).size(), 608 + 72 + 4 * (40 + 344));
    EXPECT_EQ(J(Info(out), "settings/SerialPrefix").toString(), "BOX");

    // An older-layout file (no settings record) comes out in the current layout.
    QByteArray older = ReadAll(out);
    older.remove(608, 72);
    WriteAll(Home.File("old.shl"), older);
    r = RunCli({"convert", QString::fromStdString(Home.File("old.shl")), QString::fromStdString(Home.File("cur.shl"))});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    EXPECT_EQ(ReadAll(Home.File("cur.shl")), ReadAll(out).replace(608 + 18 + 1, 3, "OLD"));
}

TEST_F(Cli, FailuresAndUsage) {
    struct {
        QStringList args;
        int code;
        const char* err;
    } cases[] = {
        {{"info", QString::fromStdString(Home.File("none.shl"))}, 1, "Can't open the Labels Sheet."},
        {{"info", QString::fromStdString(Home.File("none.tpr"))}, 1, "Can't load the Template."},
        {{"convert", QString::fromStdString(MakeTemplate(Home, "a.tpr", lsRectangle, 1, 1)),
          QString::fromStdString(Home.File("no/dir/x.shl"))},
         1,
         "Can't save the Labels Sheet."},
        {{}, 2, "usage"},
        {{"--home"}, 2, "usage"},
        {{"frobnicate"}, 2, "unknown command"},
        {{"info"}, 2, "usage"},
        {{"convert", "a"}, 2, "usage"},
    };
    for (const auto& c : cases) {
        const auto r = RunCli(c.args);
        EXPECT_EQ(r.ExitCode, c.code) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.Err.contains(c.err)) << r.Err.toStdString();
    }
}
