// The two cursors: their slots, sizes and hot spots on the drawn pixels.
#include "app/uCursors.h"

#include <QPixmap>
#include <gtest/gtest.h>

using namespace tessora;

TEST(Cursors, SlotsHoldDrawnCursorsWithTheirHotSpots) {
    LoadCursors();
    for (int slot : {int(crPick), int(crPath)}) {
        SCOPED_TRACE(slot);
        const QCursor c = ScreenCursor(slot);
        EXPECT_EQ(c.shape(), Qt::BitmapCursor);
        EXPECT_EQ(c.hotSpot(), CursorHotSpot(slot));
        const QImage img = c.pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(img.size(), QSize(32, 32));
        // The hot spot is on a dark, opaque pixel: what is picked or drawn is where it points.
        const QColor hot = img.pixelColor(c.hotSpot());
        EXPECT_EQ(hot.alpha(), 255);
        EXPECT_LT(hot.lightness(), 60);
        // A white edge keeps it visible on dark sheets, and the corners are see-through.
        int white = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                white += img.pixelColor(x, y).lightness() > 230 && img.pixelColor(x, y).alpha() > 200;
        EXPECT_GT(white, 20);
        EXPECT_EQ(img.pixelColor(31, 0).alpha(), 0);
    }
    EXPECT_NE(ScreenCursor(crPick).pixmap().toImage(), ScreenCursor(crPath).pixmap().toImage());
    EXPECT_EQ(ScreenCursor(3).shape(), Qt::ArrowCursor);
}
