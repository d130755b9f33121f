// tessora-cli catalogue: the download server's layout written from a program folder.
#include "tests/cli/uCatalogFixture.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <gtest/gtest.h>

using namespace tessora;
using namespace tessora::test;

namespace {

TRunResult Catalogue(const TTempDir& home, const std::string& out, QStringList more = {}) {
    QStringList args = {"--home", QString::fromStdString(home.Path()), "catalogue", QString::fromStdString(out)};
    return RunTool(QString::fromStdString(BinDir() + "tessora-cli"), args + more);
}

QStringList Files(const std::string& folder) {
    return QDir(QString::fromStdString(folder)).entryList(QDir::Files, QDir::Name);
}

// Pixels near a colour, for the pictures drawn into a preview.
int CountNear(const QImage& img, QColor c) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QColor p = img.pixelColor(x, y);
            n += std::abs(p.red() - c.red()) < 20 && std::abs(p.green() - c.green()) < 20 &&
                 std::abs(p.blue() - c.blue()) < 20;
        }
    return n;
}

} // namespace

TEST(CliCatalogue, WritesListsFilesPreviewsAndTheNamedPictures) {
    TTempDir home, out;
    WriteCatalogFixture(home.Path());
    const std::string o = out.File("site");
    const TRunResult r = Catalogue(home, o);
    ASSERT_EQ(r.ExitCode, 0) << r.Err.constData();

    // The lists name exactly the files of the folders, one a line.
    EXPECT_EQ(ReadAll(o + "/templates.ini"), "Heart.tpv\r\nOval Two.tpr\r\nRound.tpr\r\n");
    EXPECT_EQ(ReadAll(o + "/labels.ini"), "Party.shl\r\n");
    EXPECT_EQ(ReadAll(o + "/version.ini"), "5.0.0\r\n");
    EXPECT_EQ(Files(o + "/templates"), Files(home.File("Templates")));
    EXPECT_EQ(Files(o + "/labels"), QStringList({"Party.shl"}));
    for (const char* f : {"Templates/Round.tpr", "Templates/Heart.tpv", "Label Projects/Party.shl"}) {
        const std::string name = f;
        const std::string server = name.front() == 'T' ? "templates" : "labels";
        EXPECT_EQ(ReadAll(o + "/" + server + name.substr(name.find('/'))), ReadAll(home.File(f))) << f;
    }
    // The vector template and the project name the heart; the project its two pictures.
    EXPECT_EQ(Files(o + "/vector"), QStringList({"Heart.svg"}));
    EXPECT_EQ(Files(o + "/images"), QStringList({"Beans Big.png", "Leaf.png"}));
    EXPECT_EQ(ReadAll(o + "/images/Leaf.png"), ReadAll(home.File("Import Images/Leaf.png")));

    // A JPEG preview per entry, 300 pixels wide and as tall as a Letter page is.
    EXPECT_EQ(Files(o + "/preview"), QStringList({"Heart.jpg", "Oval Two.jpg", "Party.jpg", "Round.jpg"}));
    for (const QString& p : Files(o + "/preview")) {
        const QByteArray bytes = ReadAll(o + "/preview/" + p.toStdString());
        EXPECT_TRUE(bytes.startsWith("\xFF\xD8\xFF")) << p.toStdString();
        EXPECT_TRUE(bytes.endsWith("\xFF\xD9")) << p.toStdString();
        QImageReader reader(QString::fromStdString(o + "/preview/") + p);
        EXPECT_EQ(reader.format(), "jpeg");
        EXPECT_EQ(reader.size(), QSize(300, 388)) << p.toStdString(); // 215.9 x 279.4 mm
    }
    // The project's preview shows its design: the leaf's and the beans' colours.
    const QImage party(QString::fromStdString(o + "/preview/Party.jpg"));
    EXPECT_GT(CountNear(party, QColor(40, 160, 60)), 20);
    EXPECT_GT(CountNear(party, QColor(120, 70, 30)), 20);

    // Another width, written over the first run.
    ASSERT_EQ(Catalogue(home, o, {"--width", "120"}).ExitCode, 0);
    EXPECT_EQ(QImageReader(QString::fromStdString(o + "/preview/Round.jpg")).size(), QSize(120, 155));
}

TEST(CliCatalogue, LeavesOutWhatTheCatalogueCouldNotOfferAndSaysSo) {
    TTempDir home, out;
    WriteCatalogFixture(home.Path());
    // A picture gone, a name no catalogue accepts, a broken file, and a preview name taken.
    QFile::remove(QString::fromStdString(home.File("Import Images/Leaf.png")));
    WriteAll(home.File("Templates/.hidden.tpr"), ReadAll(home.File("Templates/Round.tpr")));
    WriteAll(home.File("Templates/Back\\slash.tpr"), ReadAll(home.File("Templates/Round.tpr")));
    WriteAll(home.File("Templates/Broken.tpr"), "short");
    WriteAll(home.File("Templates/Heart.tpr"), ReadAll(home.File("Templates/Round.tpr")));
    const std::string o = out.File("site");
    const TRunResult r = Catalogue(home, o);
    EXPECT_EQ(r.ExitCode, 1);
    for (const char* said : {"Leaf.png", ".hidden.tpr", "Back\\slash.tpr", "Broken.tpr", "Heart.tpv"})
        EXPECT_TRUE(r.Err.contains(said)) << said << "\n" << r.Err.constData();

    // Heart.tpv's preview name went to Heart.tpr; the project still names the heart.
    EXPECT_EQ(ReadAll(o + "/templates.ini"), "Heart.tpr\r\nOval Two.tpr\r\nRound.tpr\r\n");
    EXPECT_EQ(ReadAll(o + "/labels.ini"), "Party.shl\r\n");
    EXPECT_EQ(Files(o + "/templates"), QStringList({"Heart.tpr", "Oval Two.tpr", "Round.tpr"}));
    EXPECT_EQ(Files(o + "/vector"), QStringList({"Heart.svg"}));
    EXPECT_EQ(Files(o + "/images"), QStringList({"Beans Big.png"}));
}

TEST(CliCatalogue, UsageErrors) {
    TTempDir home;
    EXPECT_EQ(Catalogue(home, "", {}).ExitCode, 2);
    EXPECT_EQ(RunTool(QString::fromStdString(BinDir() + "tessora-cli"), {"catalogue"}).ExitCode, 2);
    EXPECT_EQ(Catalogue(home, home.File("o"), {"--width", "0"}).ExitCode, 2);
}
