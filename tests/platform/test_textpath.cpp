// Text along a path: flattening the Bezier chain and bending glyph outlines along it,
// checked on rendered ink against Qt's own text outlines and transforms.
#include "platform/uFonts.h"
#include "platform/uTextPath.h"

#include <QImage>
#include <QPainter>
#include <QTransform>
#include <cmath>
#include <gtest/gtest.h>

using namespace tessora;

namespace {

constexpr double kPi = 3.14159265358979323846;

QPointF Bezier(const QPointF& p0, const QPointF& p1, const QPointF& p2, const QPointF& p3, double t) {
    const double u = 1 - t;
    return p0 * (u * u * u) + p1 * (3 * u * u * t) + p2 * (3 * u * t * t) + p3 * (t * t * t);
}

double SegmentDistance(const QPointF& p, const QPointF& a, const QPointF& b) {
    const QPointF ab = b - a;
    const double len2 = QPointF::dotProduct(ab, ab);
    const double t = len2 > 0 ? std::clamp(QPointF::dotProduct(p - a, ab) / len2, 0.0, 1.0) : 0;
    const QPointF d = p - (a + ab * t);
    return std::hypot(d.x(), d.y());
}

double PolylineDistance(const QPointF& p, const QPolygonF& line) {
    double best = 1e300;
    for (int i = 0; i + 1 < line.size(); ++i)
        best = std::min(best, SegmentDistance(p, line[i], line[i + 1]));
    return best;
}

bool InTriangle(const QPointF& p, const QPointF& a, const QPointF& b, const QPointF& c) {
    auto cross = [](const QPointF& o, const QPointF& u, const QPointF& v) {
        return (u.x() - o.x()) * (v.y() - o.y()) - (u.y() - o.y()) * (v.x() - o.x());
    };
    const double d1 = cross(a, b, p), d2 = cross(b, c, p), d3 = cross(c, a, p);
    const double eps = 1e-7;
    return (d1 >= -eps && d2 >= -eps && d3 >= -eps) || (d1 <= eps && d2 <= eps && d3 <= eps);
}

// The hull of four points is the union of the four triangles they make.
bool InHull(const QPointF& p, const QPointF* q) {
    return InTriangle(p, q[0], q[1], q[2]) || InTriangle(p, q[0], q[1], q[3]) ||
           InTriangle(p, q[0], q[2], q[3]) || InTriangle(p, q[1], q[2], q[3]);
}

QImage Render(const QPainterPath& path, QSize size = QSize(700, 700)) {
    QImage img(size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillPath(path, Qt::black);
    return img;
}

bool Ink(const QImage& img, int x, int y, int minAlpha = 128) {
    return x >= 0 && y >= 0 && x < img.width() && y < img.height() && qAlpha(img.pixel(x, y)) >= minAlpha;
}

int InkCount(const QImage& img) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += Ink(img, x, y);
    return n;
}

// Ink pixels of a that have no ink of b within one pixel, both ways.
int Mismatch(const QImage& a, const QImage& b) {
    auto oneWay = [](const QImage& from, const QImage& to) {
        int n = 0;
        for (int y = 0; y < from.height(); ++y)
            for (int x = 0; x < from.width(); ++x) {
                if (!Ink(from, x, y)) continue;
                bool near = false;
                for (int dy = -1; dy <= 1 && !near; ++dy)
                    for (int dx = -1; dx <= 1 && !near; ++dx)
                        near = Ink(to, x + dx, y + dy, 32);
                n += !near;
            }
        return n;
    };
    return oneWay(a, b) + oneWay(b, a);
}

QRect InkBox(const QImage& img) {
    QRect box;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (Ink(img, x, y)) box |= QRect(x, y, 1, 1);
    return box;
}

QPolygonF Line(QPointF a, QPointF b) {
    return QPolygonF({a, b});
}

class TextPathTest : public ::testing::Test {
protected:
    void SetUp() override {
        Font = CellRawFont("Arial", 40, false, false);
        ASSERT_TRUE(Font.isValid());
    }
    // The same face and size as a QFont, for Qt's own text outlines.
    QFont MatchingFont() const {
        QFont f(Font.familyName());
        f.setStyleStrategy(QFont::PreferOutline);
        f.setHintingPreference(QFont::PreferNoHinting);
        f.setPointSizeF(100);
        const double unitPx = QRawFont::fromFont(f).pixelSize();
        f.setPointSizeF(100 * Font.pixelSize() / unitPx);
        return f;
    }
    double Advance(const QString& s) const {
        double w = 0;
        const auto glyphs = Font.glyphIndexesForString(s);
        for (const QPointF& a : Font.advancesForGlyphIndexes(glyphs, QRawFont::UseDesignMetrics))
            w += a.x();
        return w;
    }
    QRawFont Font;
};

} // namespace

TEST(BezierChain, RunsThroughEveryThirdPointAndStaysNearTheCurve) {
    // The second segment has all four points on one line and overshoots its end.
    const QVector<QPointF> c = {{10, 10},   {60, 300},  {150, -50}, {200, 100}, {420, 100},
                                {420, 100}, {300, 100}, {350, 350}, {600, 0},   {640, 200}};
    const QPolygonF line = FlattenBezierChain(c);
    ASSERT_GE(line.size(), 4);
    EXPECT_EQ(line.first(), c[0]);
    EXPECT_EQ(line.last(), c[9]);
    for (int seg = 0; seg < 3; ++seg) {
        const QPointF* q = &c[3 * seg];
        const int from = int(line.indexOf(q[0])), to = int(line.indexOf(q[3]));
        ASSERT_GE(from, 0) << "segment " << seg;
        ASSERT_GT(to, from) << "segment " << seg;
        for (int i = from; i <= to; ++i)
            EXPECT_TRUE(InHull(line[i], q)) << "segment " << seg << " vertex " << i;
        // Both ways within the flatness: every curve point is near the polyline and every
        // polyline point near the curve.
        QPolygonF dense;
        for (int k = 0; k <= 4000; ++k)
            dense << Bezier(q[0], q[1], q[2], q[3], k / 4000.0);
        const QPolygonF part = line.mid(from, to - from + 1);
        double worst = 0;
        for (const QPointF& p : dense)
            worst = std::max(worst, PolylineDistance(p, part));
        for (int i = 0; i + 1 < part.size(); ++i)
            worst = std::max(worst, PolylineDistance((part[i] + part[i + 1]) / 2, dense));
        EXPECT_LE(worst, kPathFlatness + 0.01) << "segment " << seg;
    }
    // The overshoot of the straight segment is kept: x(t) peaks near 375.
    double maxX = 0;
    for (const QPointF& p : line)
        maxX = std::max(maxX, p.x());
    EXPECT_GT(maxX, 370);
}

TEST(BezierChain, OtherCountsAndBadPoints) {
    EXPECT_TRUE(FlattenBezierChain({}).isEmpty());
    EXPECT_EQ(FlattenBezierChain({{5, 6}}), QPolygonF({{5, 6}}));

    // Two points: a straight line from the first to the second.
    const QPolygonF two = FlattenBezierChain({{0, 0}, {100, 50}});
    ASSERT_GE(two.size(), 2);
    EXPECT_EQ(two.first(), QPointF(0, 0));
    EXPECT_EQ(two.last(), QPointF(100, 50));
    for (const QPointF& p : two)
        EXPECT_NEAR(SegmentDistance(p, {0, 0}, {100, 50}), 0, 1e-9);

    // An incomplete last segment is completed with its last point.
    const QVector<QPointF> five = {{0, 0}, {50, 100}, {100, 100}, {150, 0}, {200, 80}};
    QVector<QPointF> seven = five;
    seven << five.last() << five.last();
    EXPECT_EQ(FlattenBezierChain(five), FlattenBezierChain(seven));

    const QPolygonF withNan = FlattenBezierChain({{0, 0}, {NAN, 3}, {10, 0}, {20, 0}, {30, 0}});
    for (const QPointF& p : withNan)
        EXPECT_TRUE(std::isfinite(p.x()) && std::isfinite(p.y()));
    EXPECT_EQ(withNan.last(), QPointF(30, 0));

    // Coordinates far off the sheet stay finite and bounded in size.
    const QPolygonF huge = FlattenBezierChain({{-1e6, -1e6}, {1e6, -1e6}, {-1e6, 1e6}, {1e6, 1e6}});
    EXPECT_EQ(huge.last(), QPointF(1e6, 1e6));
    EXPECT_LT(huge.size(), 40000);
}

TEST_F(TextPathTest, StraightPathGivesThePlainTextRun) {
    const QString text = "Hello Og";
    const QPainterPath bent = TextAlongPath(Font, text, Line({30, 80}, {650, 80}));
    EXPECT_EQ(bent.fillRule(), Qt::WindingFill);
    QPainterPath plain;
    plain.addText(QPointF(30, 80), MatchingFont(), text);
    const QImage a = Render(bent), b = Render(plain);
    ASSERT_GT(InkCount(b), 1000);
    EXPECT_LE(Mismatch(a, b), 0);
    // The counter of the "O" stays open.
    const QImage o = Render(TextAlongPath(Font, "O", Line({30, 80}, {650, 80})));
    const QPoint mid = InkBox(o).center();
    EXPECT_TRUE(Ink(o, InkBox(o).left() + 1, mid.y()));
    EXPECT_FALSE(Ink(o, mid.x(), mid.y(), 1));
}

TEST_F(TextPathTest, VerticalPathGivesTheRunTurnedAQuarter) {
    const QString text = "Hello Og";
    const QPainterPath down = TextAlongPath(Font, text, Line({300, 20}, {300, 690}));
    QPainterPath plain;
    plain.addText(QPointF(0, 0), MatchingFont(), text);
    const QPainterPath turned = QTransform().translate(300, 20).rotate(90).map(plain);
    const QImage a = Render(down), b = Render(turned);
    ASSERT_GT(InkCount(b), 1000);
    EXPECT_LE(Mismatch(a, b), 0);
    // Glyph tops face away from the left of the direction of travel: right of the path.
    EXPECT_GT(InkBox(a).center().x(), 300);
}

TEST_F(TextPathTest, GlyphsFollowACurve) {
    // A circle of radius 200 around (350, 350) from its top, clockwise on screen.
    const double r = 200, k = 0.5522847498 * r, cx = 350, cy = 350;
    const QVector<QPointF> c = {{cx, cy - r},     {cx + k, cy - r}, {cx + r, cy - k}, {cx + r, cy},
                                {cx + r, cy + k}, {cx + k, cy + r}, {cx, cy + r},     {cx - k, cy + r},
                                {cx - r, cy + k}, {cx - r, cy},     {cx - r, cy - k}, {cx - k, cy - r},
                                {cx, cy - r}};
    const QPolygonF circle = FlattenBezierChain(c);
    const QString text = "ABCDEFGHIJKLMNOPQRSTU";
    ASSERT_LT(Advance(text), 2 * kPi * r);

    QImage before = Render(QPainterPath());
    double lastAngle = -kPi;
    for (int g = 0; g < text.size(); ++g) {
        const QImage now = Render(TextAlongPath(Font, text.left(g + 1), circle));
        const QImage straight = Render(TextAlongPath(Font, text.mid(g, 1), Line({100, 100}, {600, 100})));
        // The ink that glyph g added, as angle from the top and distance from the centre.
        int n = 0;
        double sx = 0, sy = 0, inner = 1e9, outer = 0;
        for (int y = 0; y < now.height(); ++y)
            for (int x = 0; x < now.width(); ++x) {
                if (!Ink(now, x, y) || Ink(before, x, y, 1)) continue;
                ++n;
                sx += x + 0.5;
                sy += y + 0.5;
                const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
                inner = std::min(inner, d);
                outer = std::max(outer, d);
            }
        ASSERT_GT(n, 20) << "glyph " << g;
        // Standing on the circle's outside, within the font's cell of it.
        EXPECT_GE(inner, r - Font.descent() - 1.5) << "glyph " << g;
        EXPECT_LE(outer, r + Font.ascent() + 1.5) << "glyph " << g;
        // Stretched a little outside the curve, but never lost or filled in.
        const int flat = InkCount(straight);
        EXPECT_GT(n, flat * 0.8) << "glyph " << g;
        EXPECT_LT(n, flat * 1.5) << "glyph " << g;
        // Screen angle from the top, clockwise: increases with the distance along the path.
        const double angle = std::atan2(sx / n - cx, cy - sy / n);
        EXPECT_GT(angle, lastAngle) << "glyph " << g;
        lastAngle = angle;
        before = now;
    }
}

TEST_F(TextPathTest, LongStraightEdgesBendToo) {
    // A dash as wide as the circle's radius: its straight outline edges must follow the arc.
    const QRawFont big = CellRawFont("Arial", 160, false, false);
    const QImage flat = Render(TextAlongPath(big, QString(QChar(0x2014)), Line({0, 400}, {690, 400})));
    const QRect dash = InkBox(flat);
    ASSERT_GT(dash.width(), 100);
    const double low = 400 - (dash.bottom() + 1), high = 400 - dash.top(); // above the baseline
    const double r = 120, cx = 350, cy = 350;
    QPolygonF circle;
    for (int k = 0; k <= 720; ++k)
        circle << QPointF(cx + r * std::sin(k * kPi / 360), cy - r * std::cos(k * kPi / 360));
    const QImage bent = Render(TextAlongPath(big, QString(QChar(0x2014)), circle));
    int n = 0;
    for (int y = 0; y < bent.height(); ++y)
        for (int x = 0; x < bent.width(); ++x) {
            if (!Ink(bent, x, y)) continue;
            ++n;
            const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
            ASSERT_GE(d, r + low - 1.5) << x << "," << y;
            ASSERT_LE(d, r + high + 1.5) << x << "," << y;
        }
    EXPECT_GT(n, InkCount(flat) * 0.8);
}

TEST_F(TextPathTest, GlyphsPastTheEndAreLeftOutWhole) {
    const double m = Advance("M");
    const QPolygonF longPath = Line({20, 100}, {680, 100});
    const QImage two = Render(TextAlongPath(Font, "MM", longPath));
    const QImage three = Render(TextAlongPath(Font, "MMM", longPath));
    const QImage cut = Render(TextAlongPath(Font, "MMMMMM", Line({20, 100}, {20 + 2.6 * m, 100})));
    EXPECT_EQ(Mismatch(cut, two), 0);
    EXPECT_LT(InkBox(cut).right(), 20 + 2.6 * m);
    EXPECT_GT(InkBox(three).width(), InkBox(cut).width() + m / 2);
    // A path exactly as long as three glyphs takes all three, on a curve as well.
    const QImage exact = Render(TextAlongPath(Font, "MMMMMM", Line({20, 100}, {20 + 3 * m + 0.01, 100})));
    EXPECT_EQ(Mismatch(exact, three), 0);
    const QPolygonF bow = FlattenBezierChain({{100, 400}, {200, 250}, {400, 250}, {500, 400}});
    double bowLength = 0;
    for (int i = 0; i + 1 < bow.size(); ++i)
        bowLength += std::hypot(bow[i + 1].x() - bow[i].x(), bow[i + 1].y() - bow[i].y());
    const int fit = int(bowLength / m);
    ASSERT_GE(fit, 3);
    const QString many(fit + 4, u'M');
    EXPECT_EQ(
        Mismatch(Render(TextAlongPath(Font, many, bow)), Render(TextAlongPath(Font, many.left(fit), bow))),
        0);
    EXPECT_GT(Mismatch(Render(TextAlongPath(Font, many.left(fit), bow)),
                       Render(TextAlongPath(Font, many.left(fit - 1), bow))),
              0);
}

TEST_F(TextPathTest, NothingToDraw) {
    const QPolygonF path = Line({10, 10}, {500, 10});
    EXPECT_TRUE(TextAlongPath(Font, "", path).isEmpty());
    EXPECT_TRUE(TextAlongPath(Font, "\r\n\t ", path).isEmpty());
    EXPECT_TRUE(TextAlongPath(QRawFont(), "Text", path).isEmpty());
    EXPECT_TRUE(TextAlongPath(Font, "Text", QPolygonF()).isEmpty());
    EXPECT_TRUE(TextAlongPath(Font, "Text", QPolygonF({{40, 40}})).isEmpty());
    EXPECT_TRUE(TextAlongPath(Font, "Text", QPolygonF({{40, 40}, {40, 40}, {40, 40}})).isEmpty());
    // A padded single point flattens to a path without length.
    EXPECT_TRUE(
        TextAlongPath(Font, "Text", FlattenBezierChain({{40, 40}, {40, 40}, {40, 40}, {40, 40}})).isEmpty());
    // Control characters take no room: a line feed reads as a space.
    EXPECT_EQ(Mismatch(Render(TextAlongPath(Font, "A\r\nB", path)), Render(TextAlongPath(Font, "A B", path))),
              0);
}

TEST_F(TextPathTest, PathThatDoublesBack) {
    // Out to x = 400 and straight back to x = 100; the text is longer than the way out.
    const QString text = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    ASSERT_GT(Advance(text), 400);
    const QPainterPath bent = TextAlongPath(Font, text, QPolygonF({{50, 300}, {400, 300}, {100, 300}}));
    for (int i = 0; i < bent.elementCount(); ++i) {
        const auto e = bent.elementAt(i);
        ASSERT_TRUE(std::isfinite(e.x) && std::isfinite(e.y));
    }
    const QRectF box = bent.boundingRect();
    EXPECT_GT(box.left(), 40);
    EXPECT_LT(box.right(), 400 + Font.ascent() + 2);
    EXPECT_GT(box.top(), 300 - Font.ascent() - 2);
    EXPECT_LT(box.bottom(), 300 + Font.ascent() + 2);
    // The way out carries glyphs above the line, the way back upside-down glyphs below it.
    const QImage img = Render(bent);
    int above = 0, below = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (Ink(img, x, y) && y < 297)
                ++above;
            else if (Ink(img, x, y) && y > 303)
                ++below;
    EXPECT_GT(above, 1000);
    EXPECT_GT(below, 500);
}
