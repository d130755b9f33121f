// The template chooser driven as a user drives it: kinds, the file list, the preview in
// pixels, broken files, the order link through the shell hook, double click, "Get more...".
#include "content/fTemplates.h"
#include "document/uCommon.h"
#include "document/uMessages.h"
#include "platform/uColor.h"
#include "platform/uStatus.h"
#include "sheetview/fraSheet.h"
#include "tests/common/uTestSupport.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>

using namespace tessora;
using namespace tessora::test;

namespace {

constexpr double kLetterW = 215.9, kLetterH = 279.4;

const char* kDiscSvg =
    "<svg xmlns='http://www.w3.org/2000/svg' width='100' height='100' viewBox='0 0 100 100'>"
    "<circle cx='50' cy='50' r='50' fill='black'/></svg>";

TSheetHeader Grid(int cols, int rows, double w = 50, double h = 30) {
    TSheetHeader hd;
    hd.MarginLeft = 10;
    hd.MarginTop = 20;
    hd.LabelWidth = w;
    hd.LabelHeight = h;
    hd.GapH = 8;
    hd.GapV = 6;
    hd.Columns = cols;
    hd.Rows = rows;
    return hd;
}

QByteArray Bytes(const std::array<uint8_t, TSheetHeader::Size>& rec) {
    return QByteArray(reinterpret_cast<const char*>(rec.data()), int(rec.size()));
}

// Records what the status pop-up was asked to show.
struct TStatusLog : TStatusWindow {
    QStringList Log;
    void Show() override { Log << "show"; }
    void Hide() override { Log << "hide"; }
    void SetLine1(const std::string& t) override { Log << "1:" + QString::fromStdString(t); }
    void SetLine2(const std::string& t) override { Log << "2:" + QString::fromStdString(t); }
};

class ChooserTest : public ::testing::Test {
protected:
    TTempDir Home;
    std::string PrevFolder = ProgramFolder();
    TScriptedMessages Msgs;
    TMessageScope Scope{Msgs};
    std::unique_ptr<TfrmTemplates> Dlg;

    void SetUp() override {
        SetProgramFolder(Home.Path());
        for (const char* d : {"Templates", "Label Projects", "Vector Images"})
            std::filesystem::create_directories(Home.File(d));
    }
    void TearDown() override {
        Dlg.reset();
        SetCatalogOpener(nullptr);
        SetProgramFolder(PrevFolder);
    }

    std::string WriteTemplate(const std::string& name, const TSheetHeader& h,
                              const std::string& vector = {}) {
        const std::string path = Home.File("Templates/" + name);
        WriteAll(path, Bytes(h.Encode(vector)));
        return path;
    }
    void WriteDisc() { WriteAll(Home.File("Vector Images/Disc.svg"), kDiscSvg); }

    // Opens the chooser as the main window does and waits for its start.
    void Open(TChooserMode mode = cmTemplate) {
        Dlg = std::make_unique<TfrmTemplates>();
        Dlg->SetMode(mode);
        Dlg->SetGuiSettings(TGuiSettings{});
        Dlg->PreviewPauseMs = 0;
        Dlg->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Dlg.get()));
        ASSERT_TRUE(QTest::qWaitFor([this] { return Dlg->Started(); }, 5000));
    }
    QStringList Entries() const {
        QStringList out;
        for (int i = 0; i < Dlg->lstTemplates->count(); ++i)
            out << Dlg->lstTemplates->item(i)->text();
        return out;
    }
    void ClickKind(int k) {
        // On the caption: the panel's picture and caption select its kind too.
        QTest::mouseClick(Dlg->pnl[size_t(k - 1)]->lbl, Qt::LeftButton);
    }
    QPoint EntryPoint(int row) const {
        return Dlg->lstTemplates->visualItemRect(Dlg->lstTemplates->item(row)).center();
    }
    void ClickEntry(int row) {
        QTest::mouseClick(Dlg->lstTemplates->viewport(), Qt::LeftButton, {}, EntryPoint(row));
    }
    // As the window system delivers it: press, release, double click, release.
    void DoubleClickEntry(int row) {
        QWidget* v = Dlg->lstTemplates->viewport();
        QTest::mouseClick(v, Qt::LeftButton, {}, EntryPoint(row));
        QTest::mouseDClick(v, Qt::LeftButton, {}, EntryPoint(row));
        if (Dlg->isVisible()) QTest::mouseRelease(v, Qt::LeftButton, {}, EntryPoint(row));
    }

    TSheet& Sheet() const { return Dlg->frTemplates1->Sheet; }
    QImage Layer() const { return Sheet().SheetLayer.convertToFormat(QImage::Format_RGB32); }
    // Millimetres on a letter page to pixels of the preview's layer.
    int Px(double mm) const { return RoundHalfEven(mm * Sheet().SheetLayer.width() / kLetterW); }
    int Py(double mm) const { return RoundHalfEven(mm * Sheet().SheetLayer.height() / kLetterH); }
    static int Gray(const QImage& img, int x, int y) { return qGray(img.pixel(x, y)); }
    // The darkest pixel within one pixel of (x, y): a one-pixel outline may fall on either side.
    static int Darkest(const QImage& img, int x, int y) {
        int g = 255;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                g = std::min(g, Gray(img, x + dx, y + dy));
        return g;
    }
    static int DarkPixels(const QImage& img, QRect area) {
        int n = 0;
        area &= img.rect();
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                n += qGray(img.pixel(x, y)) < 100;
        return n;
    }
    // Pixels other than the workspace colour.
    int Drawn(const QImage& img) const {
        int n = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                n += img.pixel(x, y) != Workspace();
        return n;
    }
    QRgb Workspace() const { return ToQColor(TGuiSettings::DefaultBgColor).rgb(); }

    // Outlines of a rows x cols grid of the header at its place: dark on all four edges,
    // the workspace colour inside and in the gaps.
    void ExpectOutlines(const TSheetHeader& h) {
        const QImage img = Layer();
        for (int r = 0; r < h.Rows; ++r)
            for (int c = 0; c < h.Columns; ++c) {
                SCOPED_TRACE("label at row " + std::to_string(r) + " column " + std::to_string(c));
                const double x = h.MarginLeft + c * (h.LabelWidth + h.GapH);
                const double y = h.MarginTop + r * (h.LabelHeight + h.GapV);
                // A label spans its extent from its corner: first and last column and row outlined.
                const int l = Px(x), t = Py(y), rr = l + Px(h.LabelWidth) - 1, b = t + Py(h.LabelHeight) - 1;
                const int mx = (l + rr) / 2, my = (t + b) / 2;
                EXPECT_LT(Darkest(img, l, my), 128);
                EXPECT_LT(Darkest(img, rr, my), 128);
                EXPECT_LT(Darkest(img, mx, t), 128);
                EXPECT_LT(Darkest(img, mx, b), 128);
                EXPECT_EQ(img.pixel(mx, my), Workspace());
                EXPECT_EQ(DarkPixels(img, QRect(l + 3, t + 3, rr - l - 5, b - t - 5)), 0);
                EXPECT_EQ(img.pixel(Px(x + h.LabelWidth + h.GapH / 2), my), Workspace());
            }
    }
};

} // namespace

TEST_F(ChooserTest, EachKindListsItsOwnFilesAndShowsOrderExceptForBoxes) {
    WriteDisc();
    TSheetHeader vec = Grid(2, 2);
    vec.Shape = lsVector;
    TSheetHeader box = Grid(1, 1);
    box.Shape = lsBox;
    box.BoxDepth = 15;
    WriteTemplate("Beta.tpr", Grid(2, 3));
    WriteTemplate("Alpha.tpr", Grid(1, 1));
    WriteTemplate("Upper.TPR", Grid(1, 2)); // extension in capitals
    WriteTemplate("Maker.tpl", Grid(2, 2), "\\Vector Images\\Disc.svg");
    WriteTemplate("Carton.tpb", box);
    WriteTemplate("Gallery.tpv", vec, "\\Vector Images\\Disc.svg");
    WriteTemplate("Stray.shl", Grid(1, 1));
    WriteAll(Home.File("Templates/readme.txt"), "not a template");
    std::filesystem::create_directories(Home.File("Templates/Folder.tpr"));
    Open();

    struct Case {
        int Kind;
        QStringList Names;
        const char* File;
        bool Order;
    };
    const Case cases[] = {{2, {"Maker"}, "Maker.tpl", true},
                          {3, {"Carton"}, "Carton.tpb", false},
                          {4, {"Gallery"}, "Gallery.tpv", true},
                          {1, {"Alpha", "Beta", "Upper"}, "Alpha.tpr", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE("kind " + std::to_string(c.Kind));
        ClickKind(c.Kind);
        EXPECT_EQ(Dlg->Kind(), c.Kind);
        EXPECT_EQ(Entries(), c.Names);
        EXPECT_EQ(Dlg->SelectedPath(), Home.File(std::string("Templates/") + c.File));
        EXPECT_TRUE(FileExists(Dlg->SelectedPath()));
        EXPECT_TRUE(Dlg->btnOK->isEnabled());
        EXPECT_EQ(Dlg->btnOrder->isVisible(), c.Order);
        EXPECT_TRUE(Dlg->pnlInfo->isVisible());
        // The chosen panel stands out in its colour; the others keep the window's.
        for (int k = 1; k <= 4; ++k) {
            const QImage shot = Dlg->pnl[size_t(k - 1)]->grab().toImage();
            const QRgb corner = shot.pixel(4, 4) | 0xFF000000u;
            if (k == c.Kind)
                EXPECT_EQ(corner, qRgb(236, 233, 217)) << "panel " << k;
            else
                EXPECT_NE(corner, qRgb(236, 233, 217)) << "panel " << k;
        }
    }
    // The file whose extension is in capitals is found under its real name.
    ClickEntry(2);
    EXPECT_EQ(Dlg->SelectedPath(), Home.File("Templates/Upper.TPR"));
    EXPECT_TRUE(Dlg->btnOK->isEnabled());
    EXPECT_EQ(Sheet().Labels.size(), 2u);
    EXPECT_TRUE(Msgs.Shown.empty());
}

TEST_F(ChooserTest, PreviewShowsTheChosenTemplateAsOutlinesAndFollowsClicks) {
    const TSheetHeader a = Grid(3, 2), b = Grid(2, 4, 70, 40);
    WriteTemplate("A grid.tpr", a);
    WriteTemplate("B grid.tpr", b);
    TStatusLog status;
    SetStatusWindow(&status);
    Open();
    SetStatusWindow(nullptr);
    EXPECT_EQ(status.Log, QStringList({"show", "1:Loading Preview... Please Wait", "2:", "hide"}));
    ASSERT_EQ(Entries(), QStringList({"A grid", "B grid"}));
    EXPECT_EQ(Dlg->LastPreviewed(), 0);
    EXPECT_EQ(Sheet().Labels.size(), 6u);
    ExpectOutlines(a);

    // What the user sees is the layer.
    const QImage shot = Dlg->frTemplates1->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRect img = Dlg->frTemplates1->ImageRect();
    const QPoint mid(Px(10 + 25), Py(20));
    EXPECT_EQ(shot.pixel(mid + img.topLeft()), Layer().pixel(mid));

    // Clicking the entry already shown does not load it again: a mark on the sheet survives.
    Sheet().Header.OrderCode = "marked";
    ClickEntry(0);
    EXPECT_EQ(Sheet().Header.OrderCode, "marked");

    ClickEntry(1);
    EXPECT_EQ(Dlg->LastPreviewed(), 1);
    EXPECT_EQ(Sheet().Labels.size(), 8u);
    EXPECT_EQ(Sheet().Header.OrderCode, "");
    ExpectOutlines(b);
    // Where A had its first label's right edge, B's wider label is blank inside.
    EXPECT_EQ(DarkPixels(Layer(), QRect(Px(60) - 1, Py(30), 3, 3)), 0);
    EXPECT_EQ(Dlg->SelectedPath(), Home.File("Templates/B grid.tpr"));

    // The keyboard moves the selection and the preview with it.
    Dlg->lstTemplates->setFocus();
    QTest::keyClick(Dlg->lstTemplates, Qt::Key_Up);
    EXPECT_EQ(Dlg->LastPreviewed(), 0);
    EXPECT_EQ(Sheet().Labels.size(), 6u);
    EXPECT_TRUE(Msgs.Shown.empty());
}

TEST_F(ChooserTest, ResizingTheWindowFitsThePreviewAgain) {
    const TSheetHeader h = Grid(3, 2);
    WriteTemplate("Grid.tpr", h);
    Open();
    const QSize before = Sheet().SheetLayer.size();
    Dlg->resize(1200, 860);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Sheet().SheetLayer.size() != before; }, 5000));
    EXPECT_GT(Sheet().SheetLayer.height(), before.height());
    EXPECT_EQ(Sheet().SheetLayer.size(), Dlg->frTemplates1->imgMain->size());
    EXPECT_TRUE(Dlg->pnlPreview->rect().contains(Dlg->frTemplates1->geometry()));
    ExpectOutlines(h);
}

TEST_F(ChooserTest, MakerLabelsPreviewInTheMakerShapeAndOtherKindsKeepTheirs) {
    WriteDisc();
    // One header, shape rectangle, saved under two kinds.
    TSheetHeader h = Grid(2, 1, 60, 60);
    WriteTemplate("Disc.tpl", h, "\\Vector Images\\Disc.svg");
    WriteTemplate("Disc.tpr", h, "\\Vector Images\\Disc.svg");
    Open();
    const int l = Px(10), t = Py(20), r = Px(70), b = Py(80);
    const int mx = (l + r) / 2, my = (t + b) / 2;

    // As a regular template: a rectangle, its corner outlined, its middle the workspace.
    EXPECT_EQ(Sheet().Header.Shape, lsRectangle);
    QImage img = Layer();
    EXPECT_LT(Darkest(img, l, t + 3), 128);
    EXPECT_EQ(img.pixel(mx, my), Workspace());

    ClickKind(2);
    ASSERT_EQ(Entries(), QStringList({"Disc"}));
    EXPECT_TRUE(Dlg->btnOK->isEnabled());
    EXPECT_EQ(Sheet().Header.Shape, lsMakerVector);
    img = Layer();
    // The disc: white inside, a black edge on the left at mid height, nothing at the corner.
    EXPECT_EQ(img.pixel(mx, my), qRgb(255, 255, 255));
    EXPECT_LT(Darkest(img, l, my), 128);
    EXPECT_EQ(DarkPixels(img, QRect(l - 1, t - 1, 6, 6)), 0);
    EXPECT_EQ(img.pixel(l + 2, t + 2), Workspace());
    // The second label too.
    EXPECT_EQ(img.pixel(Px(78 + 30), my), qRgb(255, 255, 255));
    EXPECT_TRUE(Msgs.Shown.empty());
}

TEST_F(ChooserTest, BrokenFilesLeaveOkDisabledAnEmptyPreviewAndTheLoadersMessages) {
    TSheetHeader badPaper = Grid(1, 1);
    badPaper.PaperSize = 9;
    TSheetHeader gallery = Grid(1, 1);
    gallery.Shape = lsVector;
    struct Case {
        int Kind;
        const char* Name;
        QByteArray Content;
        QStringList Messages;
    };
    WriteAll(Home.File("Vector Images/Garbage.svg"), "this is no picture");
    const Case cases[] = {
        {1, "Short.tpr", QByteArray(100, 'x'), {}},
        {1, "Bad paper.tpr", Bytes(badPaper.Encode({})), {"Can't load the Template."}},
        {2,
         "No outline.tpl",
         Bytes(Grid(1, 1).Encode("\\Vector Images\\Missing.svg")),
         {"Vector File is not found."}},
        {4, "Garbage.tpv", Bytes(gallery.Encode("\\Vector Images\\Garbage.svg")), {}},
    };
    for (const Case& c : cases) {
        WriteAll(Home.File(std::string("Templates/") + c.Name), c.Content);
        // A good one beside each, listed after it.
        WriteTemplate(std::string("Z good") + kFileExt[size_t(c.Kind)], Grid(1, 1));
    }
    WriteDisc();
    WriteTemplate("Z good.tpl", Grid(1, 1), "\\Vector Images\\Disc.svg");
    WriteTemplate("Z good.tpv", Grid(1, 1), "\\Vector Images\\Disc.svg");
    Open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        ClickKind(c.Kind == 1 ? 2 : 1); // away and back: the list starts at the first entry
        Msgs.Shown.clear();
        ClickKind(c.Kind);
        const int row = int(Entries().indexOf(QString::fromLatin1(c.Name).section('.', 0, 0)));
        ASSERT_GE(row, 0);
        if (row != Dlg->LastPreviewed()) {
            Msgs.Shown.clear();
            ClickEntry(row);
        }
        ASSERT_EQ(Dlg->LastPreviewed(), row);
        QStringList shown;
        for (const std::string& t : Msgs.Texts())
            shown << QString::fromStdString(t);
        EXPECT_EQ(shown, c.Messages);
        EXPECT_FALSE(Dlg->btnOK->isEnabled());
        EXPECT_TRUE(Dlg->btnOrder->isEnabled());
        EXPECT_TRUE(Sheet().Labels.empty());
        EXPECT_EQ(DarkPixels(Layer(), Layer().rect()), 0);
        // A double click does not take a file that does not load.
        DoubleClickEntry(row);
        EXPECT_TRUE(Dlg->isVisible());
        EXPECT_EQ(Dlg->result(), QDialog::Rejected);

        ClickEntry(int(Entries().size()) - 1); // the good one
        EXPECT_TRUE(Dlg->btnOK->isEnabled());
        EXPECT_EQ(Sheet().Labels.size(), 1u);
    }
}

TEST_F(ChooserTest, DoubleClickAcceptsWithTheClickedEntry) {
    WriteTemplate("First.tpr", Grid(1, 1));
    WriteTemplate("Second.tpr", Grid(2, 2));
    Open();
    DoubleClickEntry(1);
    EXPECT_EQ(Dlg->result(), QDialog::Accepted);
    EXPECT_FALSE(Dlg->isVisible());
    EXPECT_EQ(Dlg->SelectedPath(), Home.File("Templates/Second.tpr"));
    EXPECT_EQ(Dlg->Kind(), 1);

    // What the caller does next: the new project from that template.
    TSheet project;
    ASSERT_TRUE(project.StartNewProject(Dlg->SelectedPath(), Dlg->Kind()));
    EXPECT_EQ(project.Labels.size(), 4u);
    EXPECT_EQ(project.Header.OrderCode, "Second");
}

TEST_F(ChooserTest, OkAndCancelCloseWithTheirResults) {
    WriteTemplate("Only.tpr", Grid(1, 1));
    Open();
    QTest::mouseClick(Dlg->btnCancel, Qt::LeftButton);
    EXPECT_EQ(Dlg->result(), QDialog::Rejected);
    EXPECT_FALSE(Dlg->isVisible());
    Dlg->show();
    QTest::mouseClick(Dlg->btnOK, Qt::LeftButton);
    EXPECT_EQ(Dlg->result(), QDialog::Accepted);
    EXPECT_EQ(Dlg->SelectedPath(), Home.File("Templates/Only.tpr"));
}

TEST_F(ChooserTest, EmptyOrMissingFolderGivesAnEmptyListAndAnEmptyPage) {
    WriteTemplate("Box.tpb", [] {
        TSheetHeader h = Grid(1, 1);
        h.Shape = lsBox;
        h.BoxDepth = 10;
        return h;
    }());
    Open();
    EXPECT_TRUE(Entries().isEmpty());
    EXPECT_FALSE(Dlg->btnOK->isEnabled());
    EXPECT_FALSE(Dlg->btnOrder->isEnabled());
    EXPECT_TRUE(Dlg->SelectedPath().empty());
    EXPECT_EQ(DarkPixels(Layer(), Layer().rect()), 0);

    // From a kind with a file to the empty one: the old outlines go.
    ClickKind(3);
    EXPECT_EQ(Entries(), QStringList({"Box"}));
    EXPECT_GT(DarkPixels(Layer(), Layer().rect()), 0);
    std::filesystem::remove_all(Home.File("Templates"));
    ClickKind(3);
    EXPECT_TRUE(Entries().isEmpty());
    EXPECT_FALSE(Dlg->btnOK->isEnabled());
    EXPECT_TRUE(Sheet().Labels.empty());
    EXPECT_EQ(DarkPixels(Layer(), Layer().rect()), 0);
    // Nothing to accept.
    QTest::keyClick(Dlg.get(), Qt::Key_Return);
    EXPECT_TRUE(Dlg->isVisible());
    EXPECT_TRUE(Msgs.Shown.empty());
}

TEST_F(ChooserTest, OrderOpensTheOrderPageOfTheSelectedTemplateThroughTheShell) {
    const std::string out = Home.File("opened.txt");
    const std::string script = Home.File("open.sh");
    WriteAll(script, "#!/bin/sh\nprintf '%s\\n' \"$@\" >> \"$(dirname \"$0\")/opened.txt\"\n");
    QFile::setPermissions(QString::fromStdString(script),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("TESSORA_OPEN", QByteArray::fromStdString(script));
    struct Case {
        const char* File;
        const char* Ini; // Server/BaseUrl, or none
        const char* Opened;
    };
    const Case cases[] = {
        {"Round Label #12 - Red.tpr", "http://127.0.0.1:8123/downloads/Update/",
         "http://127.0.0.1:8123/order.php?tpl=round_label_12_red"},
        {"My  Label-1 & 2.tpr", nullptr, "http://www.corvane.example/order.php?tpl=my_label_1_2"},
        // Characters an address cannot carry as they are.
        {"50% Off?.tpr", "http://127.0.0.1:8123/", "http://127.0.0.1:8123/order.php?tpl=50%25_off%3F"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.File);
        std::filesystem::remove_all(Home.File("Templates"));
        std::filesystem::create_directories(Home.File("Templates"));
        std::filesystem::remove(out);
        std::filesystem::remove(Home.File("tessora.ini"));
        if (c.Ini) WriteAll(Home.File("tessora.ini"), QByteArray("[Server]\nBaseUrl=") + c.Ini + "\n");
        WriteTemplate(c.File, Grid(1, 1));
        Open();
        ASSERT_TRUE(Dlg->btnOrder->isEnabled());
        QTest::mouseClick(Dlg->btnOrder, Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return FileExists(out); }, 10000));
        // The script may still be writing.
        EXPECT_TRUE(QTest::qWaitFor([&] { return ReadAll(out).endsWith('\n'); }, 5000));
        EXPECT_EQ(ReadAll(out).toStdString(), std::string(c.Opened) + "\n");
    }
    qunsetenv("TESSORA_OPEN");
}

TEST_F(ChooserTest, GetMoreWithoutACatalogueIsAnEmptyCatalogue) {
    WriteTemplate("Old.tpr", Grid(1, 1));
    Open();
    QTest::mouseClick(Dlg->btnGetMore, Qt::LeftButton);
    EXPECT_EQ(Msgs.Texts(), std::vector<std::string>{"Updates list is empty..."});
    EXPECT_EQ(Entries(), QStringList({"Old"}));
    EXPECT_TRUE(Dlg->isVisible());
    EXPECT_TRUE(Dlg->btnOK->isEnabled());
}

TEST_F(ChooserTest, GetMoreRefillsTheListOnlyWhenTheCatalogueDownloaded) {
    WriteTemplate("Old.tpr", Grid(1, 1));
    std::vector<TChooserMode> modes;
    QWidget* parent = nullptr;
    bool report = false;
    SetCatalogOpener([&](QWidget* p, TChooserMode mode) {
        modes.push_back(mode);
        parent = p;
        WriteTemplate("New " + std::to_string(modes.size()) + ".tpr", Grid(2, 1));
        return report;
    });
    Open();
    ClickEntry(0);
    QTest::mouseClick(Dlg->btnGetMore, Qt::LeftButton);
    EXPECT_EQ(Entries(), QStringList({"Old"})); // nothing downloaded, nothing listed anew
    report = true;
    QTest::mouseClick(Dlg->btnGetMore, Qt::LeftButton);
    EXPECT_EQ(Entries(), QStringList({"New 1", "New 2", "Old"}));
    EXPECT_EQ(Dlg->LastPreviewed(), 0);
    EXPECT_EQ(Sheet().Labels.size(), 2u);
    EXPECT_EQ(modes, (std::vector<TChooserMode>{cmTemplate, cmTemplate}));
    EXPECT_EQ(parent, Dlg.get());
    EXPECT_TRUE(Msgs.Shown.empty());
}

TEST_F(ChooserTest, ProjectModeListsProjectsAndPreviewsThemWithTheirDesigns) {
    // A project with label 1 in red, saved in the current layout, then as the older layout
    // (no settings record) and cut short.
    const TSheetHeader h = Grid(2, 1);
    std::string current = Home.File("Label Projects/Current.shl");
    {
        TSheet s;
        s.Header = h;
        s.ApplyPaperSize();
        s.BuildGrid();
        s.StartProjectSettings("Current.tpr");
        s.Face(1, 0).BGColor = 0x0000FF;
        s.Face(1, 0).BGColorOn = true;
        ASSERT_TRUE(s.SaveProject(current));
    }
    const QByteArray bytes = ReadAll(current);
    WriteAll(Home.File("Label Projects/Older.shl"), bytes.left(608) + bytes.mid(608 + 72));
    WriteAll(Home.File("Label Projects/Truncated.shl"), bytes.left(608 + 72 + 50));
    WriteTemplate("Template.tpr", h);
    WriteAll(Home.File("Label Projects/Template.tpr"), Bytes(h.Encode({})));
    Open(cmProject);

    EXPECT_EQ(Dlg->windowTitle(), "Select a Label");
    EXPECT_EQ(Dlg->lblHint->text(), "Select a Label");
    EXPECT_EQ(Dlg->pnl[0]->lbl->text(), "Labels");
    for (int k = 1; k < 4; ++k)
        EXPECT_FALSE(Dlg->pnl[size_t(k)]->isVisible());
    EXPECT_TRUE(Dlg->pnl[0]->isVisible());
    EXPECT_FALSE(Dlg->pnlInfo->isVisible());
    EXPECT_FALSE(Dlg->btnOrder->isVisible());
    ASSERT_EQ(Entries(), QStringList({"Current", "Older", "Truncated"}));
    EXPECT_EQ(Dlg->Kind(), 0);

    // The design shows: label 1 red, label 0 white.
    const int my = Py(20 + 15);
    for (int row : {0, 1}) {
        SCOPED_TRACE(row);
        ClickEntry(row);
        EXPECT_TRUE(Dlg->btnOK->isEnabled());
        const QImage img = Layer();
        EXPECT_EQ(img.pixel(Px(10 + 50 + 8 + 25), my), qRgb(255, 0, 0));
        EXPECT_EQ(img.pixel(Px(10 + 25), my), qRgb(255, 255, 255));
    }
    EXPECT_TRUE(Msgs.Shown.empty());

    // The second attempt reports a file cut short, once.
    ClickEntry(2);
    EXPECT_EQ(Msgs.Texts(), std::vector<std::string>{"Can't open the Labels Sheet."});
    EXPECT_FALSE(Dlg->btnOK->isEnabled());
    EXPECT_EQ(DarkPixels(Layer(), Layer().rect()), 0);

    // A click on the only kind panel changes nothing.
    ClickEntry(0);
    ClickKind(1);
    EXPECT_EQ(Entries(), QStringList({"Current", "Older", "Truncated"}));
    EXPECT_EQ(Dlg->LastPreviewed(), 0);
    DoubleClickEntry(1);
    EXPECT_EQ(Dlg->result(), QDialog::Accepted);
    EXPECT_EQ(Dlg->SelectedPath(), Home.File("Label Projects/Older.shl"));
}

// Every shipped template previews without a message, in each kind exactly the files of
// its extension.
TEST_F(ChooserTest, ShippedTemplatesAllPreview) {
    SetProgramFolder(BinDir());
    const QDir dir(QString::fromStdString(BinDir() + "Templates"));
    ASSERT_TRUE(dir.exists()) << "build the program folder first";
    Open();
    int total = 0;
    for (int k = 1; k <= 4; ++k) {
        SCOPED_TRACE("kind " + std::to_string(k));
        ClickKind(k);
        QStringList names;
        for (const QString& f : dir.entryList({QString("*") + kFileExt[size_t(k)]}, QDir::Files, QDir::Name))
            names << f.section('.', 0, -2);
        EXPECT_EQ(Entries(), names);
        EXPECT_FALSE(names.isEmpty());
        for (int i = 0; i < names.size(); ++i) {
            SCOPED_TRACE(names[i].toStdString());
            if (i != Dlg->LastPreviewed()) ClickEntry(i);
            EXPECT_TRUE(Dlg->btnOK->isEnabled());
            EXPECT_EQ(int(Sheet().Labels.size()), Sheet().Header.Columns * Sheet().Header.Rows);
            EXPECT_GT(Drawn(Layer()), 0);
            if (k == 2) {
                EXPECT_EQ(Sheet().Header.Shape, lsMakerVector);
            }
            ++total;
        }
    }
    EXPECT_EQ(total, int(dir.entryList(QDir::Files).size()));
    EXPECT_TRUE(Msgs.Shown.empty());
}

// Saves the chooser with a shipped template selected when $TESSORA_SCREENSHOT names a file;
// run under a real display (xvfb-run) for the docs.
TEST_F(ChooserTest, Screenshot) {
    const QString target = qEnvironmentVariable("TESSORA_SCREENSHOT");
    if (target.isEmpty()) GTEST_SKIP() << "TESSORA_SCREENSHOT not set";
    SetProgramFolder(BinDir());
    Open();
    Dlg->PreviewPauseMs = 150;
    ClickKind(4);
    const int row = int(Entries().indexOf("Heart 12-up Letter"));
    ASSERT_GE(row, 0);
    ClickEntry(row);
    QTest::qWait(300);
    ASSERT_TRUE(Dlg->grab().save(target));
}
