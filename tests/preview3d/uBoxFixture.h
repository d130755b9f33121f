#pragma once
// A 100 x 50 x 20 mm box label in memory whose six panels have their own colours and
// a black mark in the top-left quarter of each picture, so a pixel tells which panel
// it shows and which way up; with the projection of the box worked out by hand.
#include "document/uCommon.h"
#include "preview3d/f3DV.h"
#include "sheetview/uSheet.h"
#include "tests/common/uTestSupport.h"

#include <QImage>
#include <QPainter>
#include <cmath>
#include <gtest/gtest.h>

namespace tessora::test {

// Panel colours, panel 0 to 5 (back, bottom, left, top, front, right).
inline const QColor kPanel[6] = {QColor(220, 40, 40),  QColor(40, 170, 60),  QColor(240, 150, 20),
                                 QColor(150, 60, 190), QColor(235, 220, 40), QColor(20, 170, 170)};
inline const QColor kMark(0, 0, 0);
inline const QColor kBack(210, 221, 251);

inline uint32_t Bgr(QColor c) { return uint32_t(c.red()) | uint32_t(c.green()) << 8 | uint32_t(c.blue()) << 16; }

inline int ColourDistance(QRgb a, QColor b) {
    return std::max({std::abs(qRed(a) - b.red()), std::abs(qGreen(a) - b.green()), std::abs(qBlue(a) - b.blue())});
}

struct TVec {
    double X, Y, Z;
};

// The box turned about x by ax and then about y by ay (left-handed turns: at small
// positive ax the top edge of the front tips away from the viewer).
inline TVec Turn(TVec p, double ax, double ay) {
    const double y1 = p.Y * std::cos(ax) - p.Z * std::sin(ax);
    const double z1 = p.Y * std::sin(ax) + p.Z * std::cos(ax);
    const double x2 = p.X * std::cos(ay) + z1 * std::sin(ay);
    const double z2 = -p.X * std::sin(ay) + z1 * std::cos(ay);
    return {x2, y1, z2};
}

// Seen from (0, 0, -5) through x' = 2x / z, y' = 2y / z onto a surface of this size.
inline QPointF Screen(TVec p, double ax, double ay, QSize s) {
    const TVec t = Turn(p, ax, ay);
    const double z = t.Z + 5;
    return {(2 * t.X / z + 1) / 2 * s.width(), (1 - 2 * t.Y / z) / 2 * s.height()};
}

struct TBoxExtent {
    double W, H, D; // half width, half height, depth
};

// The point of panel p's picture at (u, v) (0..1 from its top-left) on the folded box:
// every picture reads upright from outside, and each edge meets its neighbour of the net.
inline TVec PanelPoint(int p, double u, double v, const TBoxExtent& b) {
    const double x = -b.W + 2 * b.W * u, y = b.H - 2 * b.H * v;
    switch (p) {
    case 0: return {-x, y, b.D};                // back: seen from behind, mirrored
    case 1: return {-x, -b.H, b.D - b.D * v};   // bottom: its top edge meets the back
    case 2: return {-b.W, y, b.D - b.D * u};    // left: its right edge meets the front
    case 3: return {x, b.H, b.D - b.D * v};     // top: its bottom edge meets the front
    case 4: return {x, y, 0};                   // front
    default: return {b.W, y, b.D * u};          // right: its left edge meets the front
    }
}

inline TVec PanelNormal(int p) {
    static const TVec n[6] = {{0, 0, 1}, {0, -1, 0}, {-1, 0, 0}, {0, 1, 0}, {0, 0, -1}, {1, 0, 0}};
    return n[p];
}

// True when panel p faces the eye.
inline bool Faces(int p, const TBoxExtent& b, double ax, double ay) {
    const TVec n = Turn(PanelNormal(p), ax, ay);
    TVec c = Turn(PanelPoint(p, 0.5, 0.5, b), ax, ay);
    c.Z += 5;
    return -(n.X * c.X + n.Y * c.Y + n.Z * c.Z) > 1e-9;
}

inline QRgb PixelAt(const QImage& img, QPointF p) { return img.pixel(int(std::floor(p.x())), int(std::floor(p.y()))); }

class BoxPreviewTest : public ::testing::Test {
protected:
    TTempDir Home;
    std::string PrevFolder = ProgramFolder();
    std::unique_ptr<TSheet> Sheet;

    void SetUp() override {
        SetProgramFolder(Home.Path());
        Sheet = std::make_unique<TSheet>();
        Sheet->Gui = TGuiSettings{};
        MakeBox(100, 50, 20);
    }
    void TearDown() override {
        delete Tfrm3DV::Instance();
        Sheet.reset();
        SetProgramFolder(PrevFolder);
    }
    void MakeBox(double w, double h, double d) {
        TSheetHeader& hd = Sheet->Header;
        hd = TSheetHeader{};
        hd.Shape = lsBox;
        hd.MarginLeft = 10;
        hd.MarginTop = 10;
        hd.LabelWidth = w;
        hd.LabelHeight = h;
        hd.BoxDepth = d;
        hd.Columns = 1;
        hd.Rows = 1;
        hd.OrderCode = "T";
        Sheet->ApplyPaperSize();
        Sheet->BuildGrid();
        Sheet->SetViewSize(QSize(400, 520));
        const double mm[6][2] = {{w, h}, {w, d}, {d, h}, {w, d}, {w, h}, {d, h}};
        for (int p = 0; p < 6; ++p) {
            TLabelFace& f = Sheet->Face(0, p);
            f.BGColorOn = true;
            f.BGColor = Bgr(kPanel[p]);
            // A picture of the panel's shape: black top-left quarter, clear elsewhere.
            QImage mark(int(mm[p][0] * 8), int(mm[p][1] * 8), QImage::Format_ARGB32);
            mark.fill(Qt::transparent);
            QPainter(&mark).fillRect(0, 0, mark.width() / 2, mark.height() / 2, kMark);
            const std::string file = Home.File("mark" + std::to_string(p) + ".png");
            mark.save(QString::fromStdString(file));
            Sheet->AddPicture(0, p, file);
        }
    }
    static TBoxExtent Extent(const Tfrm3DV& f) { return {f.BoxSize[0], f.BoxSize[1], f.BoxSize[2]}; }
};

} // namespace tessora::test
