// Templates and projects: loading, the grid, saving, opening both layouts, failures.
#include "tests/document/uDocFixture.h"

#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>

using namespace tessora;
using namespace tessora::test;

namespace {

// A project with every stored field set to something other than its default.
void FillDesign(TSheetDocument& d, int pictureA, int pictureB) {
    d.Settings.VerMajor = 5;
    d.Settings.VerMinor = 0;
    d.Settings.SerialPrefix = "PR\xC3\xA9";
    d.Settings.SerialSuffix = "\xE2\x82\xAC";
    d.Settings.PageNum = 2;
    d.Settings.PageCount = 7;
    d.Settings.SerialX = 3.25;
    d.Settings.SerialY = 4.5;
    d.Settings.SerialAlignH = 2;
    d.Settings.SerialAlignV = 3;
    d.Settings.SerialOn = true;
    int n = 0;
    for (auto& l : d.Labels) {
        ++n;
        l->OLColor = 0x010203 * n;
        l->OLShColor = 0x040506;
        l->OLShadow = n % 2;
        l->OLThick = uint8_t(n % 10 + 1);
        l->VisFr = true;
        l->Vis = false;
        for (auto& f : l->Faces) {
            f->BGColor = 0x00FF00;
            f->BGColorOn = true;
            f->BCType = uint8_t(n % 23);
            f->BCOutput = 2;
            f->BCAlign = 4;
            f->BCChSum = true;
            f->BCLeft = 1.5;
            f->BCTop = 2.5;
            f->BCHeight = 12;
            f->BCWidth = 0.25;
            f->BCText = "4006381333931";
            f->BCAngle = -270;
            f->BCColor = 0x123456;
            auto t = std::make_unique<TLabelText>(1.25, 2.75, 40.5);
            t->Text = "Line \xC3\xA9\nLine 2";
            t->FontName = "Liberation Sans";
            t->FontStyle = "110";
            t->FontColor = 0xFF;
            t->FontSize = 255;
            t->AlignTxt = 1;
            t->Angle = -360;
            t->Flip = 2;
            t->Points = "1.0;2.0;3.5;4.5;#";
            f->Texts.push_back(std::move(t));
            f->Texts.push_back(std::make_unique<TLabelText>(0, 0, 10));
            for (int idx : {pictureA, pictureB}) {
                auto m = std::make_unique<TLabelImage>();
                m->BGIndex = idx;
                m->X = 7.5;
                m->Y = 8.5;
                m->AlignH = 1;
                m->AlignV = 3;
                m->Fade = 55;
                m->Angle = -90;
                m->Flip = 1;
                m->Scale = 200;
                m->Filters = "3_2.50;#";
                f->Images.push_back(std::move(m));
            }
        }
    }
}

void ExpectSameDesign(TSheetDocument& a, TSheetDocument& b) {
    ASSERT_EQ(a.Labels.size(), b.Labels.size());
    EXPECT_EQ(a.Settings.Encode(), b.Settings.Encode());
    for (size_t i = 0; i < a.Labels.size(); ++i) {
        const TSheetLabel& la = *a.Labels[i];
        const TSheetLabel& lb = *b.Labels[i];
        EXPECT_EQ(la.ToRec(), lb.ToRec());
        EXPECT_DOUBLE_EQ(la.X, lb.X);
        EXPECT_DOUBLE_EQ(la.Y, lb.Y);
        ASSERT_EQ(la.Faces.size(), lb.Faces.size());
        for (size_t f = 0; f < la.Faces.size(); ++f) {
            const TLabelFace& fa = *la.Faces[f];
            const TLabelFace& fb = *lb.Faces[f];
            EXPECT_EQ(fa.ToRec(), fb.ToRec());
            ASSERT_EQ(fa.Texts.size(), fb.Texts.size());
            for (size_t t = 0; t < fa.Texts.size(); ++t) EXPECT_EQ(fa.Texts[t]->ToRec(), fb.Texts[t]->ToRec());
            ASSERT_EQ(fa.Images.size(), fb.Images.size());
            for (size_t m = 0; m < fa.Images.size(); ++m) {
                EXPECT_EQ(fa.Images[m]->ToRec({}), fb.Images[m]->ToRec({}));
                EXPECT_EQ(a.Pictures->FileNameOf(fa.Images[m]->BGIndex), b.Pictures->FileNameOf(fb.Images[m]->BGIndex));
            }
        }
    }
}

std::vector<uint8_t> Bytes(const std::string& path) {
    const QByteArray b = ReadAll(path);
    return std::vector<uint8_t>(b.begin(), b.end());
}
void PutBytes(const std::string& path, const std::vector<uint8_t>& v, size_t n) {
    WriteAll(path, QByteArray(reinterpret_cast<const char*>(v.data()), int(n)));
}

class Sheet : public DocTest {};

} // namespace

TEST_F(Sheet, GridGeometry) {
    TSheetDocument d;
    Attach(d);
    ASSERT_TRUE(d.LoadTemplate(WriteTemplate("box.tpb", Header(lsBox, 2, 2)), false, false));
    ASSERT_EQ(d.Labels.size(), 4u);
    EXPECT_DOUBLE_EQ(d.Label(1).X, 155); // 10 + (50 + 20) * 2 + 5
    EXPECT_DOUBLE_EQ(d.Label(1).Y, 12);
    EXPECT_DOUBLE_EQ(d.Label(2).X, 10);
    EXPECT_DOUBLE_EQ(d.Label(2).Y, 138); // 12 + 80 + 2 * 20 + 6
    EXPECT_EQ(d.Label(3).Faces.size(), 6u);

    ASSERT_TRUE(d.LoadTemplate(WriteTemplate("a.tpr", Header(lsRectangle, 3, 10)), false, false));
    ASSERT_EQ(d.Labels.size(), 30u);
    EXPECT_DOUBLE_EQ(d.Label(4).X, 10 + 55);
    EXPECT_DOUBLE_EQ(d.Label(4).Y, 12 + 86);
    EXPECT_EQ(d.Label(4).Faces.size(), 1u);

    ASSERT_TRUE(d.LoadTemplate(WriteTemplate("z.tpr", Header(lsRectangle, 3, 0)), false, false));
    EXPECT_TRUE(d.Labels.empty());
    EXPECT_TRUE(Msgs.Shown.empty());
}

TEST_F(Sheet, TemplateKindsPaperAndNewProjectSettings) {
    TSheetDocument d;
    Attach(d);
    TSheetHeader h = Header(lsRectangle, 1, 1);
    h.PaperSize = 5;
    h.OrderCode = "";
    const std::string vec = Picture("Vector Images/star.svg");
    std::filesystem::create_directories(Home.File("Vector Images"));
    Picture("Vector Images/star.svg");
    const std::string tpl = WriteTemplate("ab.tpl", h, "\\Vector Images\\star.svg");
    ASSERT_TRUE(d.StartNewProject(tpl, 2));
    EXPECT_EQ(d.Header.Shape, lsMakerVector);
    EXPECT_EQ(d.Header.VectorFile, vec);
    EXPECT_DOUBLE_EQ(d.ViewWidth, 279.4);
    EXPECT_DOUBLE_EQ(d.ViewHeight, 215.9);
    EXPECT_EQ(d.Settings.SerialPrefix, "AB."); // first three characters of "ab.tpl"
    EXPECT_EQ(d.Settings.SerialSuffix, "SFX");
    EXPECT_EQ(d.Header.OrderCode, "ab");
    // The same header as a regular template keeps its shape and its order code.
    h.OrderCode = "R-100";
    ASSERT_TRUE(d.StartNewProject(WriteTemplate("regular.tpr", h), 1));
    EXPECT_EQ(d.Header.Shape, lsRectangle);
    EXPECT_EQ(d.Header.OrderCode, "R-100");
    EXPECT_EQ(d.Settings.SerialPrefix, "REG");
    EXPECT_TRUE(Msgs.Shown.empty());
}

TEST_F(Sheet, TemplateFailuresAndTheirMessages) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char* name;
        std::function<std::string()> make;
        std::vector<std::string> messages;
    };
    auto bad = [&](auto edit) {
        return [&, edit] {
            TSheetHeader h = Header(lsRectangle, 2, 2);
            edit(h);
            return WriteTemplate("bad.tpr", h);
        };
    };
    const std::vector<Case> cases = {
        {"missing", [&] { return Home.File("none.tpr"); }, {"Can't load the Template."}},
        {"short", [&] { WriteAll(Home.File("s.tpr"), QByteArray(607, 0)); return Home.File("s.tpr"); }, {}},
        {"vector missing",
         [&] { return WriteTemplate("v.tpv", Header(lsVector, 1, 1), "\\Vector Images\\none.svg"); },
         {"Vector File is not found."}},
        {"vector unreadable",
         [&] {
             Picture("bad.svg", "BAD");
             return WriteTemplate("v.tpv", Header(lsVector, 1, 1), "\\bad.svg");
         },
         {}},
        {"paper 8", bad([](TSheetHeader& h) { h.PaperSize = 8; }), {"Can't load the Template."}},
        {"shape 6", bad([](TSheetHeader& h) { h.Shape = 6; }), {"Can't load the Template."}},
        {"NaN width", bad([&](TSheetHeader& h) { h.LabelWidth = nan; }), {"Can't load the Template."}},
        {"negative gap", bad([](TSheetHeader& h) { h.GapH = -1; }), {"Can't load the Template."}},
        {"infinite margin", bad([](TSheetHeader& h) { h.MarginTop = INFINITY; }), {"Can't load the Template."}},
        {"10001 labels", bad([](TSheetHeader& h) { h.Columns = 1; h.Rows = 10001; }), {"Can't load the Template."}},
        {"huge grid", bad([](TSheetHeader& h) { h.Columns = 1 << 30; h.Rows = 1 << 30; }), {"Can't load the Template."}},
    };
    for (const auto& c : cases) {
        Msgs.Shown.clear();
        TSheetDocument d;
        Attach(d);
        EXPECT_FALSE(d.LoadTemplate(c.make(), true, false)) << c.name;
        EXPECT_EQ(Msgs.Texts(), c.messages) << c.name;
    }
    // 100 x 100 is the largest sheet accepted.
    TSheetDocument d;
    Attach(d);
    EXPECT_TRUE(d.LoadTemplate(WriteTemplate("big.tpr", Header(lsRectangle, 100, 100)), false, false));
    EXPECT_EQ(d.Labels.size(), 10000u);
}

TEST_F(Sheet, SaveAndOpenKeepEveryStoredField) {
    std::filesystem::create_directories(Home.File("Import Images"));
    const std::string picA = Picture("Import Images/a.png");
    TTempDir elsewhere;
    const std::string picB = elsewhere.File("outside.jpg");
    WriteAll(picB, "JPG");
    TSheetDocument d;
    Attach(d);
    ASSERT_TRUE(d.StartNewProject(WriteTemplate("box.tpb", Header(lsBox, 2, 1)), 3));
    FillDesign(d, d.Pictures->FindOrLoad(picA), d.Pictures->FindOrLoad(picB));
    const std::string file = Home.File("p.shl");
    ASSERT_TRUE(d.SaveProject(file));
    EXPECT_EQ(d.Header.VectorFile, ""); // no vector file here; see the next test for one

    TFilePictures other;
    TSheetDocument e;
    e.Pictures = &other;
    e.Vector = &other;
    ASSERT_TRUE(e.OpenProjectFile(file));
    EXPECT_TRUE(Msgs.Shown.empty());
    ExpectSameDesign(d, e);
    for (const auto& l : e.Labels) EXPECT_TRUE(l->Vis);
    // Both pictures were read once each and are shared by every image naming them.
    EXPECT_EQ(other.Reads, 2);

    // On disk: the picture inside the program folder is stored relative to it, the other from the root.
    const auto bytes = Bytes(file);
    const size_t firstImage = 608 + 72 + 40 + 344 + 2 * 616;
    const std::string stored(reinterpret_cast<const char*>(&bytes[firstImage + 1]), bytes[firstImage]);
    EXPECT_EQ(stored, "\\Import Images\\a.png");
    const std::string second(reinterpret_cast<const char*>(&bytes[firstImage + 537]), bytes[firstImage + 536]);
    std::string fromRoot = picB.substr(1);
    std::replace(fromRoot.begin(), fromRoot.end(), '/', '\\');
    EXPECT_EQ(second, fromRoot);
    // Settings strings in Windows-1252: "PRé" and "€".
    EXPECT_EQ(bytes[608 + 18], 3);
    EXPECT_EQ(bytes[608 + 21], 0xE9);
    EXPECT_EQ(bytes[608 + 2], 1);
    EXPECT_EQ(bytes[608 + 3], 0x80);
    EXPECT_EQ(bytes.size(), 608 + 72 + 2 * (40 + 6 * (344 + 2 * 616 + 2 * 536)));
}

TEST_F(Sheet, SavingKeepsTheAbsoluteVectorPathInTheDocument) {
    std::filesystem::create_directories(Home.File("Vector Images"));
    const std::string vec = Picture("Vector Images/heart.svg");
    TSheetDocument d;
    Attach(d);
    ASSERT_TRUE(d.StartNewProject(WriteTemplate("h.tpv", Header(lsVector, 1, 1), "\\Vector Images\\heart.svg"), 4));
    const std::string file = Home.File("h.shl");
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(d.SaveProject(file));
        EXPECT_EQ(d.Header.VectorFile, vec);
        const auto b = Bytes(file);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[90]), b[89]), "\\Vector Images\\heart.svg");
    }
    // The whole program folder moves: the project still finds its outline.
    TTempDir moved;
    std::filesystem::copy(Home.Path(), moved.Path(), std::filesystem::copy_options::recursive);
    SetProgramFolder(moved.Path());
    TSheetDocument e;
    Attach(e);
    ASSERT_TRUE(e.OpenProjectFile(moved.File("h.shl")));
    EXPECT_EQ(e.Header.VectorFile, moved.File("Vector Images/heart.svg"));
}

TEST_F(Sheet, MissingOrUnreadablePicturesAreDropped) {
    const std::string keep = Picture("keep.png");
    const std::string gone = Picture("gone.png");
    const std::string broken = Picture("broken.png");
    TSheetDocument d;
    Attach(d);
    ASSERT_TRUE(d.StartNewProject(WriteTemplate("t.tpr", Header(lsRectangle, 1, 1)), 1));
    d.AddPicture(0, 0, keep);
    d.AddPicture(0, 0, gone);
    d.AddPicture(0, 0, broken);
    d.AddPicture(0, 0, Home.File("never.png")); // adds nothing
    ASSERT_EQ(d.Face(0, 0).Images.size(), 3u);
    EXPECT_EQ(d.ImageFileName(0, 0, 0), broken); // newest at the front
    ASSERT_TRUE(d.SaveProject(Home.File("p.shl")));
    std::filesystem::remove(gone);
    WriteAll(broken, "BAD");
    TFilePictures other;
    TSheetDocument e;
    e.Pictures = &other;
    ASSERT_TRUE(e.OpenProjectFile(Home.File("p.shl")));
    ASSERT_EQ(e.Face(0, 0).Images.size(), 1u);
    EXPECT_EQ(e.ImageFileName(0, 0, 0), keep);
    EXPECT_TRUE(Msgs.Shown.empty());
}

TEST_F(Sheet, OlderLayoutOpensThroughTheSecondAttempt) {
    for (uint8_t shape : {uint8_t(lsRectangle), uint8_t(lsBox)}) {
        TSheetDocument d;
        Attach(d);
        ASSERT_TRUE(d.StartNewProject(WriteTemplate("old.tpr", Header(shape, 2, 2)), 1));
        FillDesign(d, -1, -1);
        for (auto& l : d.Labels)
            for (auto& f : l->Faces) f->Images.clear();
        ASSERT_TRUE(d.SaveProject(Home.File("cur.shl")));
        // The older layout is the same file without the settings record.
        auto b = Bytes(Home.File("cur.shl"));
        b.erase(b.begin() + 608, b.begin() + 680);
        PutBytes(Home.File("Older File.shl"), b, b.size());

        TSheetDocument e;
        Attach(e);
        // A box file's face count 6 stands where the version is read, as 6.0.
        EXPECT_FALSE(e.OpenProject(Home.File("Older File.shl"), true, false));
        TSheetDocument g;
        Attach(g);
        ASSERT_TRUE(g.OpenProjectFile(Home.File("Older File.shl"))) << int(shape);
        EXPECT_TRUE(Msgs.Shown.empty());
        for (size_t i = 0; i < d.Labels.size(); ++i) {
            EXPECT_EQ(g.Labels[i]->ToRec(), d.Labels[i]->ToRec());
            for (size_t f = 0; f < d.Labels[i]->Faces.size(); ++f)
                EXPECT_EQ(g.Labels[i]->Faces[f]->ToRec(), d.Labels[i]->Faces[f]->ToRec());
        }
        // Settings are those of a new project, not label bytes.
        EXPECT_EQ(g.Settings.VerMajor, 5);
        EXPECT_EQ(g.Settings.SerialPrefix, "OLD");
        EXPECT_EQ(g.Settings.SerialSuffix, "SFX");
        EXPECT_EQ(g.Settings.PageNum, 1);
        EXPECT_EQ(g.Settings.PageCount, 1);
        EXPECT_DOUBLE_EQ(g.Settings.SerialX, 0);
        EXPECT_FALSE(g.Settings.SerialOn);
    }
}

TEST_F(Sheet, OpenFailuresAndTheirMessages) {
    TSheetDocument d;
    Attach(d);
    ASSERT_TRUE(d.StartNewProject(WriteTemplate("t.tpr", Header(lsRectangle, 2, 1)), 1));
    ASSERT_TRUE(d.SaveProject(Home.File("good.shl")));
    const auto good = Bytes(Home.File("good.shl"));

    auto variant = [&](const char* name, auto edit) {
        auto b = good;
        edit(b);
        PutBytes(Home.File(name), b, b.size());
        return Home.File(name);
    };
    // Version 4.x is refused by the first attempt without a message.
    {
        const std::string v4 = variant("v4.shl", [](auto& b) { b[608] = 4; });
        Msgs.Shown.clear();
        TSheetDocument e;
        Attach(e);
        EXPECT_FALSE(e.OpenProject(v4, true, true));
        EXPECT_TRUE(Msgs.Shown.empty());
    }
    struct Case {
        std::string file;
        std::vector<std::string> messages;
    };
    const std::vector<Case> cases = {
        {Home.File("missing.shl"), {"Can't open the Labels Sheet."}},
        {variant("short.shl", [](auto& b) { b.resize(600); }), {}},
        {variant("paper.shl", [](auto& b) { b[1] = 9; }), {"Can't open the Labels Sheet."}},
        {variant("faces.shl", [](auto& b) { b[680] = 2; }), {"Can't open the Labels Sheet."}},
        {variant("trailing.shl", [](auto& b) { b.push_back(0); }), {"Can't open the Labels Sheet."}},
        {variant("texts.shl", [](auto& b) { std::memset(&b[680 + 40], 0x7F, 4); }), {"Can't open the Labels Sheet."}},
        {variant("images.shl", [](auto& b) { std::memset(&b[680 + 44], 0x7F, 4); }), {"Can't open the Labels Sheet."}},
    };
    for (const auto& c : cases) {
        Msgs.Shown.clear();
        TSheetDocument e;
        Attach(e);
        EXPECT_FALSE(e.OpenProjectFile(c.file)) << c.file;
        EXPECT_EQ(Msgs.Texts(), c.messages) << c.file;
    }
    // Negative counts read nothing and leave the rest misplaced: still a clean failure.
    {
        const std::string neg = variant("neg.shl", [](auto& b) {
            const int32_t n = -5;
            std::memcpy(&b[680 + 40], &n, 4);
        });
        Msgs.Shown.clear();
        TSheetDocument e;
        Attach(e);
        EXPECT_TRUE(e.OpenProjectFile(neg));
        EXPECT_TRUE(e.Face(0, 0).Texts.empty());
    }
}

TEST_F(Sheet, VectorMissingIsReportedOnceForEachAttempt) {
    std::filesystem::create_directories(Home.File("Vector Images"));
    const std::string vec = Picture("Vector Images/v.svg");
    TSheetDocument d;
    Attach(d);
    ASSERT_TRUE(d.StartNewProject(WriteTemplate("v.tpv", Header(lsVector, 1, 1), "\\Vector Images\\v.svg"), 4));
    ASSERT_TRUE(d.SaveProject(Home.File("v.shl")));
    std::filesystem::remove(vec);
    TSheetDocument e;
    Attach(e);
    EXPECT_FALSE(e.OpenProjectFile(Home.File("v.shl")));
    EXPECT_EQ(Msgs.Texts(), (std::vector<std::string>{"Vector File is not found.", "Vector File is not found."}));
}

TEST_F(Sheet, TruncatedFilesFailCleanlyAtEveryBoundary) {
    const std::string pic = Picture("p.png");
    TSheetDocument d;
    Attach(d);
    ASSERT_TRUE(d.StartNewProject(WriteTemplate("t.tpr", Header(lsRectangle, 2, 1)), 1));
    d.AddPicture(-1, 0, pic);
    d.Face(1, 0).Texts.push_back(std::make_unique<TLabelText>(1, 1, 1));
    ASSERT_TRUE(d.SaveProject(Home.File("full.shl")));
    const auto full = Bytes(Home.File("full.shl"));
    // Every record boundary, and a byte either side of it.
    std::vector<size_t> cuts;
    size_t pos = 0;
    for (size_t rec : {608, 72, 40, 344, 536, 40, 344, 616, 536}) {
        pos += rec;
        for (size_t c : {pos - 1, pos, pos + 1})
            if (c < full.size()) cuts.push_back(c);
    }
    ASSERT_EQ(pos, full.size());
    for (size_t cut : cuts) {
        PutBytes(Home.File("cut.shl"), full, cut);
        Msgs.Shown.clear();
        TSheetDocument e;
        Attach(e);
        EXPECT_FALSE(e.OpenProjectFile(Home.File("cut.shl"))) << cut;
        EXPECT_LE(Msgs.Shown.size(), 1u) << cut;
    }
}

TEST_F(Sheet, FailedSaveKeepsTheOldFile) {
    TSheetDocument d;
    Attach(d);
    ASSERT_TRUE(d.StartNewProject(WriteTemplate("t.tpr", Header(lsRectangle, 1, 1)), 1));
    const std::string file = Home.File("keep.shl");
    WriteAll(file, "old contents");
    // A folder where the temporary file must go makes writing fail.
    std::filesystem::create_directory(file + ".tmp");
    EXPECT_FALSE(d.SaveProject(file));
    EXPECT_EQ(Msgs.Texts(), (std::vector<std::string>{"Can't save the Labels Sheet."}));
    EXPECT_EQ(ReadAll(file), "old contents");
    Msgs.Shown.clear();
    EXPECT_FALSE(d.SaveProject(Home.File("no/such/folder/p.shl")));
    EXPECT_EQ(Msgs.Texts(), (std::vector<std::string>{"Can't save the Labels Sheet."}));
    std::filesystem::remove(file + ".tmp");
    EXPECT_TRUE(d.SaveProject(file));
    EXPECT_EQ(ReadAll(file).size(), 608 + 72 + 40 + 344);
    EXPECT_FALSE(std::filesystem::exists(file + ".tmp"));
}

TEST_F(Sheet, FaceAccessorFollowsTheSelection) {
    TSheetDocument d;
    Attach(d);
    ASSERT_TRUE(d.LoadTemplate(WriteTemplate("b.tpb", Header(lsBox, 2, 1)), false, false));
    d.CurLabel = 1;
    d.CurFace = 4;
    EXPECT_EQ(&d.Face(-1, 0), &d.Face(1, 4));
    EXPECT_THROW(d.Face(2, 0), std::out_of_range);
    EXPECT_THROW(d.Face(0, 6), std::out_of_range);
}
