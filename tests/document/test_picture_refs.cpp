// The pictures a file names, read from bytes laid out at the record offsets by hand.
#include "document/uPictureRefs.h"

#include <cstring>
#include <gtest/gtest.h>

using namespace tessora;

namespace {

using Bytes = std::vector<uint8_t>;

void PutI32(Bytes& b, size_t off, int32_t v) { std::memcpy(b.data() + off, &v, 4); }
void PutStr(Bytes& b, size_t off, const std::string& s) {
    b[off] = uint8_t(s.size());
    std::memcpy(b.data() + off + 1, s.data(), s.size());
}
void Append(Bytes& b, const Bytes& part) { b.insert(b.end(), part.begin(), part.end()); }

Bytes Header(int32_t cols, int32_t rows, const std::string& vector) {
    Bytes h(608, 0);
    PutI32(h, 80, cols);
    PutI32(h, 84, rows);
    PutStr(h, 89, vector);
    PutStr(h, 345, "VECTOR-ORDER-CODE-NOT-A-PICTURE");
    return h;
}
Bytes Label(int32_t faces) {
    Bytes l(40, 0);
    PutI32(l, 0, faces);
    return l;
}
Bytes Face(int32_t texts, int32_t images) {
    Bytes f(344, 0);
    PutI32(f, 0, texts);
    PutI32(f, 4, images);
    PutStr(f, 76, "barcode.png"); // the barcode text is no picture
    return f;
}
Bytes Text(const std::string& s) {
    Bytes t(616, 0);
    PutStr(t, 32, s); // text that looks like a path is no picture
    return t;
}
Bytes Image(const std::string& path) {
    Bytes i(536, 0);
    PutStr(i, 0, path);
    PutStr(i, 280, "Blur=2.0;"); // nor are the filters
    return i;
}

// Two labels: the first with a text and two pictures on face 0 and one on face 1, the
// second with an image record that has no picture.
Bytes Project(bool withSettings, const std::string& vector) {
    Bytes b = Header(2, 1, vector);
    if (withSettings) {
        Bytes s(72, 0);
        s[0] = 5;
        Append(b, s);
    }
    Append(b, Label(2));
    Append(b, Face(1, 2));
    Append(b, Text("\\Import Images\\not-me.png"));
    Append(b, Image("\\Import Images\\Leaf.png"));
    Append(b, Image("home\\ann\\pics\\Beans.jpg"));
    Append(b, Face(0, 1));
    Append(b, Image("\\Import Images\\Leaf.png"));
    Append(b, Label(1));
    Append(b, Face(0, 1));
    Append(b, Image(""));
    return b;
}

const std::vector<std::string> kImages = {"\\Import Images\\Leaf.png", "home\\ann\\pics\\Beans.jpg",
                                          "\\Import Images\\Leaf.png"};

} // namespace

TEST(PictureRefs, ProjectsOfBothLayoutsNameTheirVectorAndEveryPictureInOrder) {
    for (bool settings : {true, false}) {
        SCOPED_TRACE(settings ? "current layout" : "older layout");
        const TPictureRefs r = ScanPictureRefs(Project(settings, "\\Vector Images\\Heart.svg"), true);
        EXPECT_EQ(r.Vector, "\\Vector Images\\Heart.svg");
        EXPECT_EQ(r.Images, kImages);
    }
    // Read as a template, only the header counts.
    const TPictureRefs t = ScanPictureRefs(Project(true, "\\Vector Images\\Heart.svg"), false);
    EXPECT_EQ(t.Vector, "\\Vector Images\\Heart.svg");
    EXPECT_TRUE(t.Images.empty());
    EXPECT_TRUE(ScanPictureRefs(Project(true, ""), true).Vector.empty());
}

TEST(PictureRefs, ShortAndHostileFilesGiveWhatCouldBeRead) {
    const Bytes full = Project(true, "\\Vector Images\\Star.svg");
    // Cut inside the second picture record: the first picture has been read.
    const Bytes cut(full.begin(), full.begin() + 608 + 72 + 40 + 344 + 616 + 536 + 100);
    EXPECT_EQ(ScanPictureRefs(cut, true).Images, std::vector<std::string>{"\\Import Images\\Leaf.png"});
    EXPECT_EQ(ScanPictureRefs(cut, true).Vector, "\\Vector Images\\Star.svg");
    EXPECT_TRUE(ScanPictureRefs(Bytes(full.begin(), full.begin() + 607), true).Vector.empty());

    // Counts no file of this size can hold end the walk at the end of the bytes.
    for (auto [cols, rows, faces, texts, images] :
         {std::tuple{0x7FFFFFFF, 0x7FFFFFFF, 1, 0, 1}, std::tuple{1, 1, 0x7FFFFFFF, 0, 0},
          std::tuple{1, 1, 1, 0x7FFFFFFF, 1}, std::tuple{1, 1, 1, 0, 0x7FFFFFFF}, std::tuple{-1, 5, 1, 0, 1},
          std::tuple{1, 1, -3, 0, 1}, std::tuple{1, 1, 1, -1, 1}}) {
        Bytes b = Header(cols, rows, "");
        Append(b, Bytes(72, 0));
        Append(b, Label(faces));
        Append(b, Face(texts, images));
        Append(b, Image("\\Import Images\\One.png"));
        const TPictureRefs r = ScanPictureRefs(b, true);
        EXPECT_LE(r.Images.size(), 1u) << cols << " " << rows << " " << faces << " " << texts << " " << images;
    }
}

TEST(PictureRefs, FileNamesOfStoredPathsAndTheBareNameRule) {
    EXPECT_EQ(StoredFileName("\\Import Images\\Leaf.png"), "Leaf.png");
    EXPECT_EQ(StoredFileName("C:\\Pics\\a.jpg"), "a.jpg");
    EXPECT_EQ(StoredFileName("/home/ann/b.jpg"), "b.jpg");
    EXPECT_EQ(StoredFileName("plain.png"), "plain.png");
    EXPECT_EQ(StoredFileName("\\Import Images\\"), "");

    for (const char* ok : {"Round Label #12 - Red.tpr", "a.b.c", "Ünïcødé.shl", "x"})
        EXPECT_TRUE(IsBareName(ok)) << ok;
    for (const std::string& bad :
         {std::string(), std::string("../../.bashrc"), std::string("/etc/x"), std::string("a\\b.tpr"),
          std::string(".hidden"), std::string(".."), std::string("a..b"), std::string("dir/"),
          std::string("a\tb"), std::string("a\x7f"), std::string("a\xc2\x85""b"), std::string("a\0b", 3)})
        EXPECT_FALSE(IsBareName(bad)) << bad;
}
