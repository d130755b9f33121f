// barcode: one symbol as its line pattern, or drawn to PNG or SVG.
#include "cli/uCommands.h"

#include "barcode/Barcode.h"

#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <cmath>
#include <cstdio>

namespace tessora::cli {

namespace {

// Beyond this the image would take hundreds of megabytes.
constexpr qint64 kMaxPixels = 64LL * 1024 * 1024;

struct TBarcodeArgs {
    int Typ = -1;
    bool HaveText = false, Checksum = false, Pattern = false;
    QString Text, Out;
    int Modul = 2, Height = 100, Position = 0;
    double Ratio = 2.0, Angle = 0.0;
    TBarcodeOption Show = bcoNone;
};

bool ParseInt(const QString& s, int lo, int hi, int& out) {
    bool ok = false;
    const int v = s.toInt(&ok);
    if (!ok || v < lo || v > hi) return false;
    out = v;
    return true;
}

bool ParseReal(const QString& s, double& out) {
    bool ok = false;
    const double v = s.toDouble(&ok);
    if (!ok || !std::isfinite(v)) return false;
    out = v;
    return true;
}

// Returns an empty string when the arguments are sound, else the usage complaint.
QString Parse(const QStringList& args, TBarcodeArgs& a) {
    for (int i = 0; i < args.size(); ++i) {
        const QString& o = args[i];
        if (o == "--checksum") {
            a.Checksum = true;
            continue;
        }
        if (o == "--pattern") {
            a.Pattern = true;
            continue;
        }
        static const QStringList withValue = {"--type", "--text",     "--modul", "--ratio", "--height",
                                              "--show", "--position", "--angle", "-o"};
        if (!withValue.contains(o)) return "barcode: unknown option '" + o + "'";
        if (i + 1 >= args.size()) return "barcode: " + o + " needs a value";
        const QString v = args[++i];
        if (o == "--type") {
            if (!ParseInt(v, 0, kBarcodeTypeCount - 1, a.Typ)) a.Typ = BarcodeTypeOfListName(v.toStdString());
            if (a.Typ < 0) return "barcode: unknown type '" + v + "'";
        } else if (o == "--text") {
            a.Text = v;
            a.HaveText = true;
        } else if (o == "--modul") {
            if (!ParseInt(v, 1, 49, a.Modul)) return "barcode: --modul takes 1..49";
        } else if (o == "--ratio") {
            if (!ParseReal(v, a.Ratio)) return "barcode: --ratio takes a number";
        } else if (o == "--height") {
            if (!ParseInt(v, 1, 100000, a.Height)) return "barcode: --height takes 1..100000";
        } else if (o == "--show") {
            static const QStringList names = {"none", "code", "type", "both"};
            const int k = names.indexOf(v);
            if (k < 0) return "barcode: --show takes none, code, type or both";
            a.Show = TBarcodeOption(k);
        } else if (o == "--position") {
            if (!ParseInt(v, 0, 5, a.Position)) return "barcode: --position takes 0..5";
        } else if (o == "--angle") {
            if (!ParseReal(v, a.Angle)) return "barcode: --angle takes a number";
        } else {
            a.Out = v;
        }
    }
    if (a.Typ < 0) return "barcode: --type is required";
    if (!a.HaveText) return "barcode: --text is required";
    if (a.Pattern == !a.Out.isEmpty()) return "barcode: give either --pattern or -o OUT.png|OUT.svg";
    if (!a.Out.isEmpty() && !a.Out.endsWith(".png", Qt::CaseInsensitive) &&
        !a.Out.endsWith(".svg", Qt::CaseInsensitive))
        return "barcode: -o takes a .png or .svg file";
    return {};
}

// Places the symbol so that a quiet zone of ten modules surrounds everything drawn, and
// returns the size of the picture.
QSize Place(TLabelBarcode& bc) {
    const int quiet = 10 * bc.Modul();
    bc.SetLeft(0);
    bc.SetTop(0);
    const QRect r = bc.DrawBounds();
    bc.SetLeft(quiet - r.left());
    bc.SetTop(quiet - r.top());
    return {r.width() + 2 * quiet, r.height() + 2 * quiet};
}

} // namespace

int CmdBarcode(const QStringList& args) {
    TBarcodeArgs a;
    if (const QString complaint = Parse(args, a); !complaint.isEmpty()) return UsageError(complaint);

    TLabelBarcode bc;
    bc.SetTyp(TBarcodeType(a.Typ));
    bc.SetText(a.Text.toStdString());
    bc.SetChecksum(a.Checksum);
    bc.SetModul(a.Modul);
    bc.SetRatio(a.Ratio);
    bc.SetHeight(a.Height);
    bc.SetShowText(a.Show);
    bc.SetShowTextPosition(TShowTextPosition(a.Position));
    bc.SetAngle(a.Angle);
    TBarcodeFont font = bc.ShowTextFont();
    font.Size = 18;
    bc.SetShowTextFont(font);

    try {
        if (a.Pattern) {
            const std::string pattern = bc.Encode();
            std::printf("%s\n%s\n", pattern.c_str(), bc.PreparedText().c_str());
            return 0;
        }
        const QSize size = Place(bc);
        if (qint64(size.width()) * size.height() > kMaxPixels)
            return Failure(QString("Image too large: %1 x %2 pixels").arg(size.width()).arg(size.height()));
        if (a.Out.endsWith(".svg", Qt::CaseInsensitive)) {
            QSvgGenerator svg;
            svg.setFileName(a.Out);
            svg.setSize(size);
            svg.setViewBox(QRect(QPoint(0, 0), size));
            svg.setTitle(QString::fromStdString(bc.TypeName()));
            QPainter p;
            if (!p.begin(&svg)) return Failure("Can't write " + a.Out);
            p.fillRect(QRect(QPoint(0, 0), size), Qt::white);
            bc.DrawOn(p);
            p.end();
            return 0;
        }
        QImage img(size, QImage::Format_RGB32);
        if (img.isNull()) return Failure("Out of memory for the image");
        img.fill(Qt::white);
        {
            QPainter p(&img);
            bc.DrawOn(p);
        }
        if (!img.save(a.Out, "PNG")) return Failure("Can't write " + a.Out);
        return 0;
    } catch (const EBarcodeError& e) {
        return Failure(QString::fromUtf8(e.what()));
    }
}

} // namespace tessora::cli
