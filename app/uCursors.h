#pragma once
// The program's own mouse cursors, kept in numbered slots as the views ask for them.
#include <QCursor>
#include <QImage>
#include <QPoint>

namespace tessora {

enum TCursorSlot { crPick = 1, crPath = 2 };

// Draws the cursors and fills their slots; called once at start-up.
void LoadCursors();
// The cursor of a slot; the arrow for a slot that holds none.
QCursor ScreenCursor(int slot);
// The picture of a slot's cursor and its hot spot (as PNG-ready ARGB).
QImage CursorPicture(int slot);
QPoint CursorHotSpot(int slot);

} // namespace tessora
