// The same bytes whatever the process locale: numbers always take a point.
#include "tests/pdf/PdfTestSupport.h"

#include <clocale>
#include <cstdio>
#include <locale>

using namespace tessora;
using namespace tessora::test;

namespace {

// A comma-decimal locale that exists on this machine, or empty.
std::string CommaLocale() {
    std::vector<std::string> candidates = {"de_DE.UTF-8", "de_DE.utf8",  "de_DE",       "fr_FR.UTF-8",
                                           "fr_FR.utf8",  "es_ES.UTF-8", "it_IT.UTF-8", "nl_NL.UTF-8",
                                           "ru_RU.UTF-8", "pt_BR.UTF-8", "da_DK.UTF-8", "sv_SE.UTF-8",
                                           "pl_PL.UTF-8"};
    const TRunResult r = Run("locale", {"-a"});
    for (const QByteArray& l : r.Out.split('\n'))
        if (!l.trimmed().isEmpty()) candidates.push_back(l.trimmed().toStdString());
    const std::string old = std::setlocale(LC_ALL, nullptr);
    std::string found;
    for (const std::string& c : candidates) {
        if (!std::setlocale(LC_ALL, c.c_str())) continue;
        if (std::string(std::localeconv()->decimal_point) == ",") {
            found = c;
            break;
        }
    }
    std::setlocale(LC_ALL, old.c_str());
    return found;
}

class PdfLocaleTest : public PdfFileTest {
protected:
    // A document touching every number writer: page size, coordinates, widths, colours,
    // pictures of each encoding, several pages.
    std::string Write(const std::string& name) {
        TPdfBox pdf;
        SetA4(pdf);
        pdf.SetPageWidth(2160);
        pdf.SetPageHeight(2795);
        pdf.SetFileName(Out(name));
        pdf.SetTitle("Locale 1,5 / 1.5");
        TPdfBitmap rgb(33, 21), mono(9, 9, pf1bit), sixteen(7, 3, pf4bit);
        for (int y = 0; y < 21; ++y)
            for (int x = 0; x < 33; ++x)
                rgb.Pixel(x, y) = uint32_t(x * 7919 + y * 104729) & 0xFFFFFF;
        mono.Pixel(4, 4) = 0;
        pdf.BeginDoc();
        TPdfCanvas& c = pdf.Canvas();
        c.Pen.Width = 3;
        c.Pen.Color = 0x123456;
        c.Brush.Color = 0xC0C0C0;
        c.Rectangle(101, 203, 307, 311);
        c.Pen.Style = psDot;
        c.Polygon(std::vector<TPdfPoint>{{11, 13}, {1717, 19}, {23, 2029}, {-5, -7}});
        c.MoveTo(3, 5);
        c.LineTo(1999, 2777);
        c.StretchDraw({250, 250, 1250, 900}, &rgb);
        pdf.NewPage();
        pdf.SetImageCompressMode(cpZlib);
        c.StretchDraw({0, 0, 0, 0}, &rgb);
        c.StretchDraw({10, 10, 555, 333}, &mono);
        pdf.SetImageCompressMode(cpNone);
        c.StretchDraw({1000, 10, 1555, 333}, &sixteen);
        c.StretchDraw({33, 1000, 1777, 1999}, &rgb);
        pdf.EndDoc();
        return ReadBytes(Out(name));
    }

    static std::string Masked(const std::string& bytes) {
        std::string r;
        for (const std::string& l : SplitLines(bytes)) {
            if (l.rfind("/CreationDate(D:", 0) == 0)
                r += "/CreationDate(DATE)";
            else if (l.rfind("/ID[(", 0) == 0)
                r += "/ID[(ID)(ID)]";
            else
                r += l;
            r += '\n';
        }
        return r;
    }
};

} // namespace

TEST_F(PdfLocaleTest, SameBytesUnderACommaDecimalLocale) {
    const std::string comma = CommaLocale();
    if (comma.empty())
        GTEST_SKIP() << "no comma-decimal locale is generated on this machine (Debian: enable de_DE.UTF-8 "
                        "in /etc/locale.gen and run locale-gen)";
    const std::string oldC = std::setlocale(LC_ALL, nullptr);
    const std::locale oldCpp = std::locale();

    std::setlocale(LC_ALL, "C");
    std::locale::global(std::locale::classic());
    const std::string plain = Write("locale.pdf");

    ASSERT_NE(std::setlocale(LC_ALL, comma.c_str()), nullptr);
    std::locale::global(std::locale(comma.c_str()));
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    const std::string foreign = Write("locale.pdf"); // the same name: the same identifier letters

    std::locale::global(oldCpp);
    std::setlocale(LC_ALL, oldC.c_str());

    EXPECT_STREQ(probe, "1,5") << "the locale " << comma << " is in force while writing";
    ASSERT_FALSE(plain.empty());
    EXPECT_EQ(plain.size(), foreign.size());
    EXPECT_EQ(Masked(plain), Masked(foreign));
    // And the numbers have points.
    EXPECT_NE(plain.find("\n/MediaBox[ 0 0 612.283 792.283 ]\n"), std::string::npos);
    EXPECT_NE(plain.find("\n0.753 0.753 0.753 rg\n"), std::string::npos);
    EXPECT_NE(plain.find("\n0.85 w\n"), std::string::npos);
    EXPECT_NE(plain.find("/Title(Locale 1,5 / 1.5)"), std::string::npos);
}
