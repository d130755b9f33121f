#pragma once
// Helpers of the barcode tests: expected line patterns written in the notations the
// symbology standards use, and rendering and decoding of symbols.
#include "barcode/Barcode.h"
#include "tests/common/uTestSupport.h"

#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QRegularExpression>
#include <QString>
#include <string>
#include <string_view>
#include <vector>

namespace tessora::test {

// Elements alternate bar, space, bar, ... starting with a bar; blanks between symbols are
// only for reading.
// Widths in modules "1".."4" (Code 128, Code 93 notation).
inline std::string W(std::string_view widths) {
    std::string out;
    bool bar = true;
    for (char w : widths) {
        if (w == ' ') continue;
        out += char((bar ? '5' : '0') + (w - '1'));
        bar = !bar;
    }
    return out;
}

// Narrow/wide elements "n"/"w" (Code 39, Codabar, 2 of 5 notation).
inline std::string NW(std::string_view elems) {
    std::string out;
    bool bar = true;
    for (char e : elems) {
        if (e == ' ') continue;
        out += bar ? (e == 'w' ? '6' : '5') : (e == 'w' ? '1' : '0');
        bar = !bar;
    }
    return out;
}

// Module bits "1" bar, "0" space (EAN/UPC, MSI notation); runs of 1..4 modules.
inline std::string M(std::string_view bits) {
    std::string out;
    for (size_t i = 0; i < bits.size();) {
        size_t j = i;
        while (j < bits.size() && bits[j] == bits[i])
            ++j;
        out += char((bits[i] == '1' ? '5' : '0') + int(j - i) - 1);
        i = j;
    }
    return out;
}

// The pattern expanded to one character per pixel column: 'B' bar, 'S' short bar,
// ' ' space, at the widths of the barcode's last encoding.
inline std::string Columns(const TLabelBarcode& bc, const std::string& pattern) {
    std::string out;
    for (char c : pattern) {
        const char kind = c >= 'A' ? 'S' : c >= '5' ? 'B' : ' ';
        out.append(size_t(bc.LineWidth(c)), kind);
    }
    return out;
}

// Draws the barcode onto a white image with a quiet zone of ten modules around
// everything it paints (the barcode's Left and Top are moved for that).
inline QImage RenderWithQuietZone(TLabelBarcode& bc) {
    const int quiet = 10 * bc.Modul();
    bc.SetLeft(0);
    bc.SetTop(0);
    const QRect r = bc.DrawBounds();
    bc.SetLeft(quiet - r.left());
    bc.SetTop(quiet - r.top());
    QImage img(r.width() + 2 * quiet, r.height() + 2 * quiet, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    bc.DrawOn(p);
    return img;
}

struct TDecoded {
    QString Type, Data, Modifiers;
};

// zbarimg's reading of a picture file, with the short and add-on symbols enabled.
inline std::vector<TDecoded> Zbar(const QString& file) {
    const TRunResult r = Run("zbarimg", {"--xml", "-q", "--nodbus", "-Smin-length=0", "-Sean2.enable",
                                         "-Sean5.enable", "-Supce.enable", "-Supca.enable", file});
    static const QRegularExpression sym("<symbol ([^>]*)><data><!\\[CDATA\\[(.*?)\\]\\]></data>",
                                        QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression type("type='([^']*)'"), mods("modifiers='([^']*)'");
    std::vector<TDecoded> out;
    auto it = sym.globalMatch(QString::fromUtf8(r.Out));
    while (it.hasNext()) {
        const auto m = it.next();
        const QString attrs = m.captured(1);
        out.push_back({type.match(attrs).captured(1), m.captured(2), mods.match(attrs).captured(1)});
    }
    return out;
}

// The CLI built beside this test executable.
inline QString CliPath() {
    return QCoreApplication::applicationDirPath() + "/../bin/tessora-cli";
}

} // namespace tessora::test
