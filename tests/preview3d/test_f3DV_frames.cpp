// The box as the preview draws it: extents, which panels show and where, in pixels of
// rendered frames checked against the projection worked out by hand.
#include "tests/preview3d/uBoxFixture.h"

#include <QPushButton>
#include <QTest>

using namespace tessora;
using namespace tessora::test;

namespace {

const QSize kSurface(401, 305);

// For every panel: a panel turned away leaves no pixel of its colour, and a panel seen
// shows its mark in the top-left quarter of its picture and its colour in the other
// three, each where the hand projection puts that quarter's centre. Returns the panels
// seen.
std::vector<int> CheckPanels(const QImage& img, const TBoxExtent& b, double ax, double ay) {
    std::vector<int> seen;
    for (int p = 0; p < 6; ++p) {
        if (!Faces(p, b, ax, ay)) {
            int hits = 0;
            for (int y = 0; y < img.height(); ++y)
                for (int x = 0; x < img.width(); ++x) hits += ColourDistance(img.pixel(x, y), kPanel[p]) <= 3;
            EXPECT_EQ(hits, 0) << "panel " << p << " is turned away";
            continue;
        }
        seen.push_back(p);
        for (double u : {0.25, 0.75})
            for (double v : {0.25, 0.75}) {
                const QPointF c = Screen(PanelPoint(p, u, v, b), ax, ay, img.size());
                // Only where the middle of the quarter holds the sample's pixel: at least
                // two pixels from each edge of its projected inner part.
                const QPointF q[4] = {Screen(PanelPoint(p, u - 0.2, v - 0.2, b), ax, ay, img.size()),
                                      Screen(PanelPoint(p, u + 0.2, v - 0.2, b), ax, ay, img.size()),
                                      Screen(PanelPoint(p, u + 0.2, v + 0.2, b), ax, ay, img.size()),
                                      Screen(PanelPoint(p, u - 0.2, v + 0.2, b), ax, ay, img.size())};
                double room = 1e9;
                for (int i = 0; i < 4; ++i) {
                    const QPointF a = q[i], e = q[(i + 1) % 4];
                    const double len = std::hypot(e.x() - a.x(), e.y() - a.y());
                    const double cr = (e.x() - a.x()) * (c.y() - a.y()) - (e.y() - a.y()) * (c.x() - a.x());
                    room = std::min(room, len > 0 ? std::abs(cr) / len : 0.0);
                }
                if (room < 2) continue;
                const QColor want = (u < 0.5 && v < 0.5) ? kMark : kPanel[p];
                EXPECT_LE(ColourDistance(PixelAt(img, c), want), 8)
                    << "panel " << p << " at u " << u << " v " << v << " room " << room << " pixel " << c.x() << "," << c.y();
            }
    }
    return seen;
}

// Pixels whose centre lies more than 1.5 pixels inside the box's outline are never the
// background (no gaps between sides), those more than 1.5 outside always are.
void CheckOutline(const QImage& img, const TBoxExtent& b, double ax, double ay) {
    std::vector<QPointF> pts;
    for (double x : {-b.W, b.W})
        for (double y : {-b.H, b.H})
            for (double z : {0.0, b.D}) pts.push_back(Screen({x, y, z}, ax, ay, img.size()));
    // Convex hull, counter-clockwise in screen coordinates (y down).
    std::sort(pts.begin(), pts.end(), [](QPointF a, QPointF c) { return a.x() < c.x() || (a.x() == c.x() && a.y() < c.y()); });
    auto cross = [](QPointF o, QPointF a, QPointF c) { return (a.x() - o.x()) * (c.y() - o.y()) - (a.y() - o.y()) * (c.x() - o.x()); };
    std::vector<QPointF> hull(2 * pts.size());
    size_t k = 0;
    for (size_t i = 0; i < pts.size(); ++i) {
        while (k >= 2 && cross(hull[k - 2], hull[k - 1], pts[i]) <= 0) --k;
        hull[k++] = pts[i];
    }
    for (size_t i = pts.size() - 1, t = k + 1; i-- > 0;) {
        while (k >= t && cross(hull[k - 2], hull[k - 1], pts[i]) <= 0) --k;
        hull[k++] = pts[i];
    }
    hull.resize(k - 1);
    int gaps = 0, spills = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QPointF c(x + 0.5, y + 0.5);
            double inside = 1e9; // signed distance to the outline, positive inside
            for (size_t i = 0; i < hull.size(); ++i) {
                const QPointF a = hull[i], e = hull[(i + 1) % hull.size()];
                inside = std::min(inside, cross(a, e, c) / std::hypot(e.x() - a.x(), e.y() - a.y()));
            }
            const int toBack = ColourDistance(img.pixel(x, y), kBack);
            if (inside > 1.5 && toBack <= 24) ++gaps;
            if (inside < -1.5 && toBack != 0) ++spills;
        }
    EXPECT_EQ(gaps, 0);
    EXPECT_EQ(spills, 0);
}

} // namespace

TEST_F(BoxPreviewTest, ExtentsFollowTheLargestSide) {
    struct {
        double W, H, D;
        float X, Y, Z;
    } cases[] = {
        {100, 50, 20, 1.5f, 0.99f, 0.6f},
        {50, 80, 20, float(50 / 105.6 * 1.5), 1.5f, float(40 / 105.6 * 1.5)},
        {30, 30, 100, 0.225f, 0.297f, 1.5f},
        {40, 0, 0, 1.5f, 0, 0},
        {0, 0, 0, 0, 0, 0}, // no size: nothing drawn, no division by zero
    };
    Tfrm3DV* f = Tfrm3DV::Open(*Sheet, 0);
    for (const auto& c : cases) {
        f->SetBoxSize(c.W, c.H, c.D);
        EXPECT_NEAR(f->BoxSize[0], c.X, 1e-6) << c.W << " " << c.H << " " << c.D;
        EXPECT_NEAR(f->BoxSize[1], c.Y, 1e-6) << c.W << " " << c.H << " " << c.D;
        EXPECT_NEAR(f->BoxSize[2], c.Z, 1e-6) << c.W << " " << c.H << " " << c.D;
    }
    // A box without size draws only the background.
    f->InitSurface();
    const QImage empty = f->RenderFrameImage(kSurface);
    EXPECT_EQ(empty.copy(0, 0, 1, 1).pixel(0, 0) | 0xFF000000u, kBack.rgb());
    QImage flat(kSurface, QImage::Format_RGB32);
    flat.fill(kBack);
    EXPECT_EQ(empty, flat);
    // The sheet's box comes back with a refresh, its panels exported at 200 dpi.
    f->Refresh();
    EXPECT_NEAR(f->BoxSize[1], 0.99, 1e-6);
    EXPECT_EQ(f->FacePicture("Front").size(), QSize(787, 394));
    EXPECT_EQ(f->FacePicture("Back").size(), QSize(787, 394));
    EXPECT_EQ(f->FacePicture("Top").size(), QSize(787, 157));
    EXPECT_EQ(f->FacePicture("Bottom").size(), QSize(787, 157));
    EXPECT_EQ(f->FacePicture("Left").size(), QSize(157, 394));
    EXPECT_EQ(f->FacePicture("Right").size(), QSize(157, 394));
}

TEST_F(BoxPreviewTest, AtRestOnlyTheFrontShowsUprightInACentredRectangle) {
    Tfrm3DV* f = Tfrm3DV::Open(*Sheet, 0);
    ASSERT_EQ(f->AngleX, 0);
    ASSERT_EQ(f->AngleY, 0);
    const QImage img = f->RenderFrameImage(kSurface);
    const TBoxExtent b = Extent(*f);
    EXPECT_EQ(CheckPanels(img, b, 0, 0), std::vector<int>{4});
    CheckOutline(img, b, 0, 0);
    // The front spans x = +-2 * 1.5 / 5, y = +-2 * 0.99 / 5 of the surface: a rectangle
    // from (80.2, 92.1) to (320.8, 212.9), centred on (200.5, 152.5).
    const QRectF r(QPointF(80.2, 92.1075), QPointF(320.8, 212.8925));
    const QRectF inner = r.adjusted(1, 1, -1, -1);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRectF px(x, y, 1, 1);
            const QRgb c = img.pixel(x, y);
            if (!r.intersects(px)) {
                ASSERT_EQ(c | 0xFF000000u, kBack.rgb()) << x << "," << y;
            } else if (inner.contains(px) && std::abs(x + 0.5 - r.center().x()) > 3 && std::abs(y + 0.5 - r.center().y()) > 3) {
                // Away from the mark's edges: the front's colour, or the mark top-left.
                const bool topLeft = x + 0.5 < r.center().x() && y + 0.5 < r.center().y();
                ASSERT_LE(ColourDistance(c, topLeft ? kMark : kPanel[4]), 8) << x << "," << y;
            }
        }
    // The mark fills the top-left quarter: rows above the middle are black on the left.
    EXPECT_LE(ColourDistance(img.pixel(100, 100), kMark), 8);
    EXPECT_LE(ColourDistance(img.pixel(190, 145), kMark), 8);
    EXPECT_LE(ColourDistance(img.pixel(210, 145), kPanel[4]), 8);
    EXPECT_LE(ColourDistance(img.pixel(190, 160), kPanel[4]), 8);
    // The surface on screen shows the same frame.
    f->dxd->repaint();
    EXPECT_EQ(f->dxd->grab().toImage().convertToFormat(QImage::Format_RGB32), img);
}

TEST_F(BoxPreviewTest, HeldRotateButtonsTurnTheBoxAndShowTheSidesTheProjectionPuts) {
    struct {
        const char* Name;
        QPushButton* Tfrm3DV::*Button;
        double AX, AY;
        int Comes; // the panel turned towards the viewer
    } cases[] = {
        {"X1", &Tfrm3DV::btnX1, 1.55, 0, 1},  // the bottom rises into view
        {"X2", &Tfrm3DV::btnX2, -1.55, 0, 3}, // the top comes down into view
        {"Y1", &Tfrm3DV::btnY1, 0, 1.55, 5},
        {"Y2", &Tfrm3DV::btnY2, 0, -1.55, 2},
    };
    Tfrm3DV* f = Tfrm3DV::Open(*Sheet, 0);
    const TBoxExtent b = Extent(*f);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        f->AngleX = f->AngleY = 0;
        QPushButton* btn = f->*c.Button;
        QTest::mousePress(btn, Qt::LeftButton);
        for (int i = 0; i < 31; ++i) f->tmrTimer();
        QTest::mouseRelease(btn, Qt::LeftButton);
        f->tmrTimer(); // released: no more turning
        EXPECT_NEAR(f->AngleX, c.AX, 1e-9);
        EXPECT_NEAR(f->AngleY, c.AY, 1e-9);
        EXPECT_EQ(f->SpinDir, 0);
        const QImage img = f->RenderFrameImage(kSurface);
        const std::vector<int> seen = CheckPanels(img, b, c.AX, c.AY);
        // Just short of a quarter turn: the front is a sliver, the panel coming round fills
        // the view's lower, upper, right or left part.
        EXPECT_EQ(seen, (std::vector<int>{std::min(4, c.Comes), std::max(4, c.Comes)}));
        CheckOutline(img, b, c.AX, c.AY);
    }
    // In the bottom's picture its top edge meets the back: after X1 it is the edge below.
    f->AngleX = 1.55;
    f->AngleY = 0;
    const QImage img = f->RenderFrameImage(kSurface);
    const QPointF nearEdge = Screen(PanelPoint(1, 0.5, 0.9, b), 1.55, 0, kSurface);
    const QPointF farEdge = Screen(PanelPoint(1, 0.5, 0.1, b), 1.55, 0, kSurface);
    EXPECT_LT(nearEdge.y(), farEdge.y());
    EXPECT_GT(farEdge.y(), kSurface.height() / 2.0);
    EXPECT_LE(ColourDistance(PixelAt(img, Screen(PanelPoint(1, 0.25, 0.25, b), 1.55, 0, kSurface)), kMark), 8);
}

TEST_F(BoxPreviewTest, ObliqueViewsShowThreeSidesWithoutGaps) {
    Tfrm3DV* f = Tfrm3DV::Open(*Sheet, 0);
    const TBoxExtent b = Extent(*f);
    const struct {
        double AX, AY;
        std::vector<int> Seen;
    } poses[] = {
        {0.5, 0.6, {1, 4, 5}},
        {-0.7, -0.5, {2, 3, 4}},
        {0.4, 2.6, {0, 3, 5}}, // tipped, then turned round: the tilt shows the top
        {2.6, 0.6, {0, 1, 5}}, // tipped over past a quarter
    };
    for (const auto& p : poses) {
        SCOPED_TRACE(testing::Message() << p.AX << " " << p.AY);
        f->AngleX = p.AX;
        f->AngleY = p.AY;
        const QImage img = f->RenderFrameImage(kSurface);
        EXPECT_EQ(CheckPanels(img, b, p.AX, p.AY), p.Seen);
        CheckOutline(img, b, p.AX, p.AY);
    }
}
