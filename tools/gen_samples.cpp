// Writes the sample projects of the program folder, with pictures drawn here, from the
// shipped templates: gen_samples <program folder>.
#include "document/uCommon.h"
#include "document/uTextPoints.h"
#include "sheetview/uSheet.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <cstdio>

using namespace tessora;

namespace {

std::string Home;

bool Fail(const std::string& what) {
    std::fprintf(stderr, "gen_samples: %s\n", what.c_str());
    return false;
}

// Roasted beans on a warm background: a photo-like picture with smooth shading.
QImage BeansPicture() {
    QImage img(800, 600, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient bg(0, 0, 800, 600);
    bg.setColorAt(0, QColor(236, 214, 178));
    bg.setColorAt(1, QColor(196, 150, 98));
    p.fillRect(img.rect(), bg);
    uint32_t seed = 12345;
    auto rnd = [&seed](int n) {
        seed = seed * 1103515245u + 12345u;
        return int((seed >> 16) % uint32_t(n));
    };
    for (int i = 0; i < 70; ++i) {
        const QPointF c(rnd(800), rnd(600));
        const double a = rnd(180);
        p.save();
        p.translate(c);
        p.rotate(a);
        QRadialGradient g(QPointF(-12, -10), 70);
        g.setColorAt(0, QColor(150, 88, 46));
        g.setColorAt(1, QColor(62, 32, 16));
        p.setBrush(g);
        p.setPen(Qt::NoPen);
        p.drawEllipse(QRectF(-55, -38, 110, 76));
        p.setPen(QPen(QColor(40, 20, 10), 7, Qt::SolidLine, Qt::RoundCap));
        QPainterPath crease;
        crease.moveTo(-40, 4);
        crease.cubicTo(-15, -14, 15, 20, 40, -2);
        p.drawPath(crease);
        p.restore();
    }
    return img;
}

// A leaf on transparency, for the gallery and the box.
QImage LeafPicture() {
    QImage img(400, 400, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath leaf;
    leaf.moveTo(200, 30);
    leaf.cubicTo(330, 110, 330, 280, 200, 370);
    leaf.cubicTo(70, 280, 70, 110, 200, 30);
    QLinearGradient g(100, 0, 300, 400);
    g.setColorAt(0, QColor(120, 190, 70));
    g.setColorAt(1, QColor(30, 110, 50));
    p.fillPath(leaf, g);
    p.setPen(QPen(QColor(230, 250, 210), 6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(200, 60), QPointF(200, 350));
    for (int i = 0; i < 5; ++i) {
        const double y = 110 + i * 45;
        p.drawLine(QPointF(200, y + 25), QPointF(140, y - 5));
        p.drawLine(QPointF(200, y + 25), QPointF(260, y - 5));
    }
    return img;
}

// Diagonal stripes for box panels.
QImage StripePicture() {
    QImage img(600, 600, QImage::Format_RGB32);
    img.fill(QColor(250, 244, 228));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(214, 120, 64), 26));
    for (int i = -600; i < 1200; i += 90) p.drawLine(i, 0, i + 600, 600);
    return img;
}

std::string SavePicture(const std::string& name, const QImage& img) {
    const std::string path = ProgramSubfolder("Import Images") + "/" + name;
    img.save(QString::fromStdString(path), nullptr, 92);
    return path;
}

TLabelText& AddText(TLabelFace& f, double x, double y, double w, const std::string& text, int size,
                    const char* style = "000", uint32_t color = 0) {
    auto t = std::make_unique<TLabelText>(x, y, w);
    t->Text = text;
    t->FontName = "Liberation Sans";
    t->FontSize = uint8_t(size);
    t->FontStyle = style;
    t->FontColor = color;
    f.Texts.push_back(std::move(t));
    return *f.Texts.back();
}

bool Start(TSheet& s, const char* templateName) {
    const std::string t = ProgramFolderPath("Templates/") + templateName;
    return s.StartNewProject(t, FileKind(t)) ? true : Fail(std::string("cannot load ") + templateName);
}

bool Save(TSheet& s, const char* name) {
    return s.SaveProject(ProgramSubfolder("Label Projects") + "/" + name) ? true : Fail(std::string("cannot save ") + name);
}

bool AddressSample() {
    static const char* people[][3] = {
        {"Ada Marlowe", "14 Quarry Lane", "Fernhill, OR 97015"},
        {"Basil Okafor", "220 Harbour Road", "Easton, MD 21601"},
        {"Clara Jensen", "7 Willow Court", "Maple Falls, WA 98266"},
        {"Dmitri Sokol", "91 Orchard Street", "Hollis, NH 03049"},
        {"Elena Ruiz", "3 Lantern Way", "Sedona, AZ 86336"},
    };
    TSheet s;
    if (!Start(s, "Address 30-up Letter.tpr")) return false;
    for (size_t i = 0; i < s.Labels.size(); ++i) {
        TLabelFace& f = s.Face(int(i), 0);
        const auto& who = people[i % 5];
        AddText(f, 4, 3, 58, who[0], 11, "100");
        AddText(f, 4, 9.5, 58, std::string(who[1]) + "\n" + who[2], 9);
    }
    s.Settings.SerialPrefix = "ADR";
    s.Settings.SerialSuffix = "2026";
    s.Settings.SerialOn = true;
    s.Settings.SerialAlignH = 3;
    s.Settings.SerialAlignV = 3;
    s.Settings.PageCount = 3;
    return Save(s, "Address Labels with Serial Numbers.shl");
}

bool ProductSample(const std::string& beans) {
    TSheet s;
    if (!Start(s, "Address 30-up Letter.tpr")) return false;
    s.AddPicture(-1, 0, beans);
    for (size_t i = 0; i < s.Labels.size(); ++i) {
        TLabelFace& f = s.Face(int(i), 0);
        if (f.Images.empty()) return Fail("the photo did not load");
        TLabelImage& im = *f.Images[0];
        im.Scale = 88;
        im.AlignV = 2;
        im.X = 1.5;
        f.BGColorOn = true;
        f.BGColor = 0xE8F4FB; // warm cream
        AddText(f, 33, 1.5, 32, "Corvane Roast", 10, "100", 0x1F3A6B);
        AddText(f, 33, 6.5, 32, "Single origin, 250 g", 7, "010", 0x303030);
        f.BCType = 15; // EAN-13
        f.BCText = "590123412345";
        f.BCChSum = true;
        f.BCLeft = 34;
        f.BCTop = 11;
        f.BCHeight = 8;
        f.BCWidth = 0.25;
        f.BCOutput = 1;
    }
    return Save(s, "Product Labels.shl");
}

bool BoxSample(const std::string& leaf, const std::string& stripes) {
    TSheet s;
    if (!Start(s, "Box Medium Letter Landscape.tpb")) return false;
    TSheetLabel& l = s.Label(0);
    l.VisFr = true;
    l.OLColor = 0x404040;
    const uint32_t colours[6] = {0xD8EEF6, 0xC0DDEB, 0xB5E0C9, 0xC0DDEB, 0xD8EEF6, 0xB5E0C9};
    for (int p = 0; p < 6; ++p) {
        TLabelFace& f = l.Face(p);
        f.BGColorOn = true;
        f.BGColor = colours[p];
    }
    s.AddPicture(0, 4, leaf);
    s.AddPicture(0, 0, stripes);
    s.AddPicture(0, 2, leaf);
    s.AddPicture(0, 5, leaf);
    l.Face(4).Image(0).AlignH = 2;
    l.Face(4).Image(0).AlignV = 2;
    l.Face(4).Image(0).Scale = 60;
    l.Face(0).Image(0).Fade = 40;
    for (int p : {2, 5}) {
        l.Face(p).Image(0).AlignH = 2;
        l.Face(p).Image(0).Y = 50;
        l.Face(p).Image(0).Scale = 70;
        l.Face(p).Image(0).Flip = p == 5 ? 1 : 0;
    }
    AddText(l.Face(4), 8, 6, 54, "GREEN TEA", 22, "100", 0x2E5E1E);
    AddText(l.Face(4), 14, 78, 42, "twenty sachets", 12, "010", 0x2E5E1E);
    AddText(l.Face(0), 6, 8, 58, "Ingredients: green tea leaves, mint.\nKeep dry, away from light.", 10);
    AddText(l.Face(3), 10, 12, 50, "Corvane Tea Co.", 12, "100", 0x2E5E1E);
    AddText(l.Face(1), 10, 12, 50, "Best before: see base", 9);
    TLabelText& side = AddText(l.Face(2), 4, 10, 60, "Organic", 14, "100", 0x2E5E1E);
    side.Angle = 90;
    TLabelFace& back = l.Face(0);
    back.BCType = 15;
    back.BCText = "400638133393";
    back.BCChSum = true;
    back.BCLeft = 24;
    back.BCTop = 60;
    back.BCHeight = 15;
    back.BCWidth = 0.3;
    return Save(s, "Gift Box.shl");
}

bool GallerySample(const std::string& leaf) {
    TSheet s;
    if (!Start(s, "Scalloped Circle 12-up Letter.tpv")) return false;
    const double w = s.Header.LabelWidth, h = s.Header.LabelHeight;
    // An arch over the middle of the badge, as control points of one Bezier segment.
    const std::vector<TPointMM> arc = {{w * 0.16, h * 0.52}, {w * 0.22, h * 0.08}, {w * 0.78, h * 0.08}, {w * 0.84, h * 0.52}};
    for (size_t i = 0; i < s.Labels.size(); ++i) {
        TLabelFace& f = s.Face(int(i), 0);
        TLabelText& t = AddText(f, 0, 0, 0, "HANDMADE WITH CARE", 11, "100", 0x3A2A8C);
        t.Points = FormatTextPoints(arc);
        AddText(f, w * 0.43, h * 0.66, w * 0.4, "2026", 10, "100", 0x3A2A8C);
    }
    s.AddPicture(-1, 0, leaf);
    for (auto& l : s.Labels) {
        TLabelImage& im = l->Face(0).Image(0);
        im.AlignH = 2;
        im.AlignV = 2;
        im.Scale = 35;
    }
    return Save(s, "Gallery Badge.shl");
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) return Fail("usage: gen_samples PROGRAM_FOLDER"), 2;
    Home = QDir(QString::fromLocal8Bit(argv[1])).absolutePath().toStdString();
    SetProgramFolder(Home);
    const std::string beans = SavePicture("Sample Beans.jpg", BeansPicture());
    const std::string leaf = SavePicture("Sample Leaf.png", LeafPicture());
    const std::string stripes = SavePicture("Sample Stripes.png", StripePicture());
    const bool ok = AddressSample() && ProductSample(beans) && BoxSample(leaf, stripes) && GallerySample(leaf);
    return ok ? 0 : 1;
}
