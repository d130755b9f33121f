#include "platform/uTextPath.h"

#include <algorithm>
#include <cmath>

namespace tessora {

namespace {

// Enough for a curve across any sheet at any density; bounds the work for hostile points.
constexpr int kMaxSplitDepth = 14;

double Length(const QPointF& v) {
    return std::hypot(v.x(), v.y());
}

double DistanceToSegment(const QPointF& p, const QPointF& a, const QPointF& b) {
    const QPointF ab = b - a;
    const double len2 = QPointF::dotProduct(ab, ab);
    double t = len2 > 0 ? QPointF::dotProduct(p - a, ab) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    return Length(p - (a + ab * t));
}

// De Casteljau halving until both inner control points lie within the flatness of the
// chord segment; the curve stays inside their hull, so the chord is then close enough.
// Measuring to the segment, not the line, catches a curve that overshoots its end.
void FlattenCubic(const QPointF& p0, const QPointF& p1, const QPointF& p2, const QPointF& p3, double flatness,
                  int depth, QPolygonF& out) {
    if (depth >= kMaxSplitDepth ||
        std::max(DistanceToSegment(p1, p0, p3), DistanceToSegment(p2, p0, p3)) <= flatness) {
        if (out.isEmpty() || out.last() != p3) out << p3;
        return;
    }
    const QPointF p01 = (p0 + p1) / 2, p12 = (p1 + p2) / 2, p23 = (p2 + p3) / 2;
    const QPointF p012 = (p01 + p12) / 2, p123 = (p12 + p23) / 2;
    const QPointF mid = (p012 + p123) / 2;
    FlattenCubic(p0, p01, p012, mid, flatness, depth + 1, out);
    FlattenCubic(mid, p123, p23, p3, flatness, depth + 1, out);
}

QPointF Normalized(const QPointF& v) {
    const double len = Length(v);
    return len > 0 ? v / len : QPointF();
}

// Left-hand normal of a direction in y-down coordinates: (1, 0) gives (0, 1), so a glyph's
// own y axis (down, baseline at 0) carries over unchanged along a path drawn to the right.
QPointF Normal(const QPointF& dir) {
    return QPointF(-dir.y(), dir.x());
}

// Arc-length frame of a polyline: positions along it and a normal that turns smoothly
// from one segment to the next, so bent glyphs do not tear at the corners.
class TPathFrame {
public:
    explicit TPathFrame(const QPolygonF& path) {
        for (const QPointF& p : path) {
            if (!std::isfinite(p.x()) || !std::isfinite(p.y())) continue;
            if (!Points.isEmpty() && Length(p - Points.last()) < 1e-9) continue;
            Points << p;
        }
        if (Points.size() < 2) return;
        Dist.reserve(Points.size());
        Dist << 0.0;
        for (int i = 1; i < Points.size(); ++i) {
            const QPointF d = Points[i] - Points[i - 1];
            Dist << Dist.last() + Length(d);
            Dirs << Normalized(d);
        }
        VertexNormals << Normal(Dirs.first());
        for (int i = 1; i < Points.size() - 1; ++i) {
            QPointF n = Normalized(Normal(Dirs[i - 1]) + Normal(Dirs[i]));
            // The path turns straight back: the normal points along the incoming direction,
            // halfway between the two sides.
            if (n.isNull()) n = Dirs[i - 1];
            VertexNormals << n;
        }
        VertexNormals << Normal(Dirs.last());
    }

    double Total() const { return Dist.isEmpty() ? 0 : Dist.last(); }

    // The point at distance s along the path, moved h along the normal there. Beyond
    // either end the end segment is extended straight.
    QPointF Map(double s, double h) const {
        if (s <= 0) return Points.first() + Dirs.first() * s + Normal(Dirs.first()) * h;
        const double total = Total();
        if (s >= total) return Points.last() + Dirs.last() * (s - total) + Normal(Dirs.last()) * h;
        const int i = int(std::upper_bound(Dist.begin(), Dist.end(), s) - Dist.begin()) - 1;
        const double u = (s - Dist[i]) / (Dist[i + 1] - Dist[i]);
        QPointF n = Normalized(VertexNormals[i] * (1 - u) + VertexNormals[i + 1] * u);
        if (n.isNull()) n = Normal(Dirs[i]);
        return Points[i] + (Points[i + 1] - Points[i]) * u + n * h;
    }

private:
    QVector<QPointF> Points, Dirs, VertexNormals;
    QVector<double> Dist;
};

QString GlyphText(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'\n' || c == u'\t')
            out += u' ';
        else if (c.category() != QChar::Other_Control)
            out += c;
    }
    return out;
}

} // namespace

QPolygonF FlattenBezierChain(const QVector<QPointF>& controlPoints, double flatness) {
    QVector<QPointF> pts;
    pts.reserve(controlPoints.size() + 3);
    for (const QPointF& p : controlPoints)
        if (std::isfinite(p.x()) && std::isfinite(p.y())) pts << p;
    QPolygonF out;
    if (pts.isEmpty()) return out;
    out << pts.first();
    if (pts.size() == 1) return out;
    while (pts.size() < 4 || pts.size() % 3 != 1)
        pts << pts.last();
    flatness = flatness > 0 ? flatness : kPathFlatness;
    for (int i = 0; i + 3 < pts.size(); i += 3)
        FlattenCubic(pts[i], pts[i + 1], pts[i + 2], pts[i + 3], flatness, 0, out);
    return out;
}

QPainterPath TextAlongPath(const QRawFont& font, const QString& text, const QPolygonF& path) {
    QPainterPath result;
    result.setFillRule(Qt::WindingFill);
    if (!font.isValid() || text.isEmpty()) return result;
    const TPathFrame frame(path);
    const double total = frame.Total();
    if (!(total > 0)) return result;

    const QList<quint32> glyphs = font.glyphIndexesForString(GlyphText(text));
    const QList<QPointF> advances =
        font.advancesForGlyphIndexes(glyphs, QRawFont::KernedAdvances | QRawFont::UseDesignMetrics);
    if (advances.size() != glyphs.size()) return result;

    // Straight outline edges are cut into steps this long so that they bend too; the
    // sag of such a step on a curve as tight as the glyph is far below a pixel.
    const double step = std::max(1.0, font.pixelSize() / 48.0);
    double pen = 0;
    for (int g = 0; g < glyphs.size(); ++g) {
        const double advance = advances[g].x();
        if (pen + advance > total + 1e-9) break;
        const QPainterPath outline = font.pathForGlyph(glyphs[g]);
        for (const QPolygonF& poly : outline.toSubpathPolygons()) {
            if (poly.size() < 2) continue;
            QPointF prev = poly.first();
            result.moveTo(frame.Map(pen + prev.x(), prev.y()));
            for (int i = 1; i < poly.size(); ++i) {
                const QPointF cur = poly[i];
                const int pieces = std::clamp(int(std::ceil(Length(cur - prev) / step)), 1, 100000);
                for (int k = 1; k <= pieces; ++k) {
                    const QPointF q = prev + (cur - prev) * (double(k) / pieces);
                    result.lineTo(frame.Map(pen + q.x(), q.y()));
                }
                prev = cur;
            }
            result.closeSubpath();
        }
        pen += advance;
    }
    return result;
}

} // namespace tessora
