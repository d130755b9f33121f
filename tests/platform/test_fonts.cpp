// Fonts sized by cell height, and the fallback family.
#include "platform/uFonts.h"

#include <QFontMetricsF>
#include <QImage>
#include <gtest/gtest.h>

using namespace tessora;

TEST(Fonts, CellHeightIsAscentPlusDescent) {
    QImage device(10, 10, QImage::Format_ARGB32_Premultiplied);
    for (const char* family : {"Liberation Sans", "Liberation Serif", "Arial"}) {
        for (double cell : {12.0, 17.5, 42.0, 130.0}) {
            const QFont f = CellFont(family, cell, false, false, false);
            const QFontMetricsF m(f, &device);
            EXPECT_NEAR(m.ascent() + m.descent(), cell, 0.6) << family << " " << cell;
            const QRawFont raw = CellRawFont(family, cell, true, false);
            ASSERT_TRUE(raw.isValid());
            EXPECT_NEAR(raw.ascent() + raw.descent(), cell, 0.6) << family << " " << cell;
        }
    }
}

TEST(Fonts, UnknownFamiliesFallBackToArial) {
    EXPECT_EQ(ResolveFontFamily("No Such Face 123"), "Arial");
    EXPECT_EQ(ResolveFontFamily(""), "Arial");
    EXPECT_EQ(ResolveFontFamily("Liberation Sans"), "Liberation Sans");
    EXPECT_EQ(ResolveFontFamily("Tahoma"), "Tahoma"); // the texts' default face
    // Aliased by fontconfig to a metric-compatible face.
    EXPECT_EQ(ResolveFontFamily("Times New Roman"), "Times New Roman");
    // A bitmap-only or unknown family draws like the fallback.
    const QFont fallback = CellFont("No Such Face 123", 20, false, false, false);
    const QFont arial = CellFont("Arial", 20, false, false, false);
    EXPECT_EQ(fallback.family(), arial.family());
}
