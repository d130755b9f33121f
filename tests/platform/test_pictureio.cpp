// Pictures of every kind the program reads, written by Qt's own writers and read back.
#include "platform/uPictureIO.h"
#include "tests/common/uTestSupport.h"

#include <QImageWriter>
#include <QPainter>
#include <gtest/gtest.h>

using namespace tessora;
using namespace tessora::test;

TEST(PictureIO, EveryFormatReadsBackAsPremultiplied) {
    TTempDir d;
    QImage img(40, 30, QImage::Format_RGB32);
    img.fill(QColor(200, 40, 40));
    QPainter(&img).fillRect(20, 0, 20, 30, QColor(40, 40, 200));
    const QList<QByteArray> written = QImageWriter::supportedImageFormats();
    for (const char* fmt : {"jpg", "png", "bmp", "tiff", "webp", "ico"}) {
        ASSERT_TRUE(written.contains(fmt)) << fmt << ": the image format plugins are missing";
        const std::string f = d.File(std::string("p.") + fmt);
        ASSERT_TRUE(img.save(QString::fromStdString(f), fmt, 95)) << fmt;
        const QImage back = ReadPicture(QString::fromStdString(f));
        ASSERT_FALSE(back.isNull()) << fmt;
        EXPECT_EQ(back.format(), QImage::Format_ARGB32_Premultiplied) << fmt;
        EXPECT_EQ(back.size(), img.size()) << fmt;
        const QColor left = back.pixelColor(5, 15), right = back.pixelColor(35, 15);
        EXPECT_NEAR(left.red(), 200, 12) << fmt;
        EXPECT_NEAR(right.blue(), 200, 12) << fmt;
    }
    // GIF has no writer in Qt; a hand-made one-pixel GIF stands in.
    const unsigned char gif[] = {0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 1, 0, 1, 0, 0x80, 0, 0, 0xFF, 0, 0, 0, 0, 0,
                                 0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x44, 1, 0, 0x3B};
    WriteAll(d.File("p.gif"), QByteArray(reinterpret_cast<const char*>(gif), sizeof gif));
    const QImage g = ReadPicture(QString::fromStdString(d.File("p.gif")));
    ASSERT_FALSE(g.isNull());
    EXPECT_EQ(g.pixelColor(0, 0), QColor(255, 0, 0));
    // SVG, the outline pictures' kind.
    WriteAll(d.File("p.svg"), "<svg xmlns='http://www.w3.org/2000/svg' width='20' height='10'>"
                              "<rect width='20' height='10' fill='#00ff00'/></svg>");
    const QImage s = ReadPicture(QString::fromStdString(d.File("p.svg")));
    ASSERT_FALSE(s.isNull());
    EXPECT_EQ(s.pixelColor(10, 5), QColor(0, 255, 0));
    // Not a picture, and no file.
    WriteAll(d.File("bad.png"), "not a picture");
    EXPECT_TRUE(ReadPicture(QString::fromStdString(d.File("bad.png"))).isNull());
    EXPECT_TRUE(ReadPicture(QString::fromStdString(d.File("none.png"))).isNull());
}
