#pragma once
// Text along a drawn path: a chain of cubic Bezier segments, and glyph outlines bent along it.
#include <QPainterPath>
#include <QPolygonF>
#include <QRawFont>
#include <QString>
#include <QVector>

namespace tessora {

// Largest distance, in pixels, between the flattened polyline and the true curve.
inline constexpr double kPathFlatness = 0.1;

// The polyline of the Bezier chain 0-1-2-3, 3-4-5-6, ...: it starts at point 0 and runs
// through points 3, 6, ... exactly. A count that is not 3k + 1 is completed by repeating
// the last point; non-finite points are ignored; one point gives a one-point polyline.
QPolygonF FlattenBezierChain(const QVector<QPointF>& controlPoints, double flatness = kPathFlatness);

// The text's glyph outlines laid along the polyline from its start, as one filled
// outline (winding fill) in the polyline's coordinates. A glyph's horizontal position
// becomes a distance along the polyline and its vertical one a distance along the
// normal there: the baseline runs on the path and the glyphs stand on its left side
// (above a path drawn left to right). Glyphs whose advance would run past the end of
// the path are left out whole, with all after them. Line feeds and tabs read as
// spaces, other control characters take no glyph. An empty text, an invalid font or a
// path without length give an empty outline.
QPainterPath TextAlongPath(const QRawFont& font, const QString& text, const QPolygonF& path);

} // namespace tessora
