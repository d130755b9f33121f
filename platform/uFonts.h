#pragma once
// Fonts are sized by cell height (ascent + descent), not by em height.
#include <QFont>
#include <QRawFont>
#include <QString>

namespace tessora {

// Makes fonts known that the system's font configuration does not list (Tahoma).
void RegisterExtraFonts();

// The family to draw with: the given one when it is installed and scalable, else "Arial".
QString ResolveFontFamily(const QString& family);

// A font whose cell height (ascent + descent) is cellPx pixels on a 96-dpi
// paint device (every QImage the renderer makes is 96 dpi, see NewBitmap).
QFont CellFont(const QString& family, double cellPx, bool bold, bool italic, bool underline);

// The same font as glyph outlines, for drawing along paths.
QRawFont CellRawFont(const QString& family, double cellPx, bool bold, bool italic);

// Em size in pixels that gives a cell height of cellPx for this font.
double EmForCell(const QRawFont& unitFont, double cellPx);

} // namespace tessora
