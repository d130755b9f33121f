// Path forms, order key, split, leading number and file listing.
#include "tests/document/uDocFixture.h"

#include <filesystem>

using namespace tessora;
using namespace tessora::test;

TEST(PathForm, StoredAndAbsoluteBothWays) {
    const std::string prev = ProgramFolder();
    SetProgramFolder("/opt/Prog");
    EXPECT_EQ(ProgramFolder(), "/opt/Prog/");
    struct {
        const char* abs;
        const char* stored;
    } cases[] = {
        {"/opt/Prog/Vector Images/a.svg", "\\Vector Images\\a.svg"},
        {"/home/u/b.jpg", "home\\u\\b.jpg"},
        {"D:\\c.png", "D:\\c.png"},
        {"", ""},
        {"   ", "   "},
        {"/opt/prog/x.png", "opt\\prog\\x.png"}, // case differs: not inside the program folder
        {"/opt/Prog2/x.png", "opt\\Prog2\\x.png"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ToStoredPath(c.abs), c.stored) << c.abs;
        EXPECT_EQ(ToAbsolutePath(c.stored), c.abs) << c.stored;
    }
    // A program folder moved elsewhere finds its own files again.
    SetProgramFolder("/srv/New/");
    EXPECT_EQ(ToAbsolutePath("\\x.bmp"), "/srv/New/x.bmp");
    // Files written on Windows.
    EXPECT_EQ(ToAbsolutePath("C:\\Prog\\a.wmf"), "C:\\Prog\\a.wmf");
    EXPECT_EQ(ToAbsolutePath("Other\\b.jpg"), "/Other/b.jpg");
    SetProgramFolder(prev);
}

TEST(Helpers, OrderKeySplitLeadingNumber) {
    EXPECT_EQ(OrderKey("/T/My Label - Big #2.tpr"), "my_label_big_2");
    EXPECT_EQ(OrderKey("/T/A & B .x.tpv"), "a_b.x");
    EXPECT_EQ(Split("1_5;3;", '_', ';'), (std::vector<std::string>{"5", "3"}));
    EXPECT_EQ(Split("a#b#c", ' ', '#'), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(Split("x;;y;", '_', ';'), (std::vector<std::string>{"x", "", "y"}));
    EXPECT_EQ(LeadingNumber("12_3;"), 12);
    EXPECT_EQ(LeadingNumber("abc"), -1);
    EXPECT_THROW(LeadingNumber("x_1"), std::invalid_argument);
    EXPECT_THROW(LeadingNumber("_1"), std::invalid_argument);
    EXPECT_DOUBLE_EQ(UnitFactor(1), 25.4);
    EXPECT_DOUBLE_EQ(UnitFactor(0), 1);
    EXPECT_EQ(FileKind("/a/b.TPL"), 2);
    EXPECT_EQ(FileKind("x.shl"), 0);
    EXPECT_EQ(FileKind("x.pdf"), -1);
}

TEST(Helpers, RoundHalfEven) {
    EXPECT_EQ(RoundHalfEven(0.5), 0);
    EXPECT_EQ(RoundHalfEven(1.5), 2);
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(2.500001), 3);
}

TEST(Helpers, ListCopyDeleteFiles) {
    TTempDir d;
    WriteAll(d.File("b.tpr"), "x");
    WriteAll(d.File("a.tpr"), "x");
    WriteAll(d.File("c.shl"), "x");
    WriteAll(d.File("noext"), "x");
    std::filesystem::create_directory(d.File("sub.tpr"));
    EXPECT_EQ(ListFiles(d.Path(), "*.tpr", false), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(ListFiles(d.Path(), "", true), (std::vector<std::string>{"a.tpr", "b.tpr", "c.shl", "noext"}));
    EXPECT_TRUE(ListFiles(d.File("missing"), "", true).empty());
    TTempDir to;
    EXPECT_EQ(CopyIntoFolder(d.File("a.tpr"), to.Path()), to.File("a.tpr"));
    EXPECT_EQ(ReadAll(to.File("a.tpr")), "x");
    EXPECT_EQ(CopyIntoFolder(to.File("a.tpr"), to.Path()), to.File("a.tpr")); // already there
    DeleteFiles(d.Path());
    EXPECT_TRUE(ListFiles(d.Path(), "", true).empty());
    EXPECT_TRUE(std::filesystem::is_directory(d.File("sub.tpr")));
}
