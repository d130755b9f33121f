#include "platform/uFonts.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QHash>

namespace tessora {

namespace {

QFont BaseFont(const QString& family, bool bold, bool italic) {
    QFont f(ResolveFontFamily(family));
    f.setBold(bold);
    f.setItalic(italic);
    f.setStyleStrategy(QFont::PreferOutline);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

// Cell height per em of a font, from its outline metrics; cached per style.
double CellPerEm(const QFont& f) {
    static QHash<QString, double> cache;
    const QString key = f.family() + (f.bold() ? "b" : "") + (f.italic() ? "i" : "");
    auto it = cache.find(key);
    if (it != cache.end()) return *it;
    QFont probe = f;
    probe.setPixelSize(1000);
    const QRawFont raw = QRawFont::fromFont(probe);
    const double ratio = raw.isValid() && raw.ascent() + raw.descent() > 0
                             ? (raw.ascent() + raw.descent()) / raw.pixelSize()
                             : 1.15;
    cache.insert(key, ratio);
    return ratio;
}

} // namespace

// Debian's Tahoma (fonts-wine) lives outside fontconfig's folders; the program registers it.
void RegisterExtraFonts() {
    static bool done = false;
    if (done) return;
    done = true;
    for (const char* f : {"/usr/share/wine/fonts/tahoma.ttf", "/usr/share/wine/fonts/tahomabd.ttf"})
        if (QFile::exists(f)) QFontDatabase::addApplicationFont(f);
}

QString ResolveFontFamily(const QString& family) {
    RegisterExtraFonts();
    static QHash<QString, QString> cache;
    auto it = cache.find(family);
    if (it != cache.end()) return *it;
    QString resolved = "Arial";
    if (!family.isEmpty() && QFontDatabase::families().contains(family, Qt::CaseInsensitive) &&
        QFontDatabase::isSmoothlyScalable(family)) {
        resolved = family;
    } else if (!family.isEmpty()) {
        // A fontconfig alias (Times New Roman -> Liberation Serif) is as good as the family
        // itself; an unknown name lands on the same default as a made-up one.
        const QString target = QFontInfo(QFont(family)).family();
        const QString nowhere = QFontInfo(QFont("Tessora No Such Font")).family();
        if (target != nowhere && QFontDatabase::isSmoothlyScalable(target)) resolved = family;
    }
    cache.insert(family, resolved);
    return resolved;
}

double EmForCell(const QRawFont& unitFont, double cellPx) {
    const double cell = unitFont.ascent() + unitFont.descent();
    return cell > 0 ? cellPx * unitFont.pixelSize() / cell : cellPx;
}

QFont CellFont(const QString& family, double cellPx, bool bold, bool italic, bool underline) {
    QFont f = BaseFont(family, bold, italic);
    f.setUnderline(underline);
    // Point sizes keep the fraction that pixel sizes lose; the devices are 96 dpi.
    f.setPointSizeF(std::max(0.01, cellPx / CellPerEm(f)) * 72.0 / 96.0);
    return f;
}

QRawFont CellRawFont(const QString& family, double cellPx, bool bold, bool italic) {
    QFont f = BaseFont(family, bold, italic);
    f.setPixelSize(1000);
    QRawFont raw = QRawFont::fromFont(f);
    if (raw.isValid()) raw.setPixelSize(std::max(0.01, cellPx / CellPerEm(f)));
    return raw;
}

} // namespace tessora
