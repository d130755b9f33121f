// Writes the local databases of the program folder: tessora.da0, the empty database a
// new one is copied from, and tessora.dat, the same holding the advertisement pictures
// drawn here. gen_database <program folder>
#include "content/dTessora.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <cstdio>
#include <functional>

using namespace tessora;

namespace {

constexpr int kW = 160, kH = 220; // the main window's advertisement picture

bool Fail(const QString& what) {
    std::fprintf(stderr, "gen_database: %s\n", qPrintable(what));
    return false;
}

QFont Sans(int px, bool bold = false) {
    QFont f("Liberation Sans");
    f.setPixelSize(px);
    f.setBold(bold);
    return f;
}

void Caption(QPainter& p, const QRect& r, const QString& text, int px, bool bold, const QColor& c,
             int flags = Qt::AlignCenter | Qt::TextWordWrap) {
    p.setFont(Sans(px, bold));
    p.setPen(c);
    p.drawText(r, flags, text);
}

// A sheet of die-cut labels with a pencil line on one of them.
void DrawSheets(QPainter& p) {
    QLinearGradient bg(0, 0, 0, kH);
    bg.setColorAt(0, QColor(32, 92, 160));
    bg.setColorAt(1, QColor(14, 44, 90));
    p.fillRect(0, 0, kW, kH, bg);
    p.setRenderHint(QPainter::Antialiasing);
    p.save();
    p.translate(80, 114);
    p.scale(0.85, 0.85);
    p.rotate(-8);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 60));
    p.drawRect(QRectF(-44, -54, 92, 120));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(-48, -58, 92, 120));
    p.setPen(QPen(QColor(150, 170, 200), 1));
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 2; ++c) {
            const QRectF cell(-42 + c * 42, -52 + r * 23, 38, 19);
            p.setBrush(r == 1 && c == 0 ? QColor(255, 214, 90) : QColor(236, 242, 250));
            p.drawRoundedRect(cell, 4, 4);
        }
    p.restore();
    Caption(p, QRect(6, 8, kW - 12, 44), "Design your own labels", 15, true, Qt::white);
    Caption(p, QRect(6, 176, kW - 12, 38), "Templates for every sheet, ready to print", 11, false,
            QColor(210, 226, 246));
}

// A folding box net and the box it makes.
void DrawBox(QPainter& p) {
    p.fillRect(0, 0, kW, kH, QColor(246, 238, 222));
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF top[4] = {{80, 62}, {128, 84}, {80, 106}, {32, 84}};
    const QPointF left[4] = {{32, 84}, {80, 106}, {80, 164}, {32, 142}};
    const QPointF right[4] = {{80, 106}, {128, 84}, {128, 142}, {80, 164}};
    p.setPen(QPen(QColor(90, 60, 30), 1.5));
    p.setBrush(QColor(222, 176, 112));
    p.drawPolygon(top, 4);
    p.setBrush(QColor(196, 140, 74));
    p.drawPolygon(left, 4);
    p.setBrush(QColor(168, 112, 52));
    p.drawPolygon(right, 4);
    p.setBrush(QColor(255, 255, 255, 200));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(56, 124), 12, 12);
    Caption(p, QRect(6, 8, kW - 12, 44), "Folding boxes, seen in 3D", 15, true, QColor(90, 50, 20));
    Caption(p, QRect(6, 176, kW - 12, 38), "Print the net, fold, done", 11, false, QColor(110, 80, 50));
}

// Bars of a barcode over a price tag.
void DrawBarcode(QPainter& p) {
    p.fillRect(0, 0, kW, kH, QColor(30, 120, 80));
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(Qt::white);
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(20, 58, 120, 96), 8, 8);
    uint32_t seed = 7;
    double x = 32;
    p.setBrush(Qt::black);
    while (x < 126) {
        seed = seed * 1103515245u + 12345u;
        const double w = 1 + (seed >> 16) % 3;
        p.drawRect(QRectF(x, 68, w, 60));
        x += w + 1 + (seed >> 20) % 3;
    }
    Caption(p, QRect(20, 130, 120, 20), "4 006381 333931", 11, false, Qt::black);
    Caption(p, QRect(6, 8, kW - 12, 44), "Barcodes in 23 symbologies", 15, true, Qt::white);
    Caption(p, QRect(6, 170, kW - 12, 44), "Serial numbers that count from label to label", 11, false,
            QColor(210, 240, 222));
}

// The print service: a stack of printed sheets.
void DrawPrint(QPainter& p) {
    QLinearGradient bg(0, 0, kW, kH);
    bg.setColorAt(0, QColor(170, 40, 60));
    bg.setColorAt(1, QColor(90, 16, 40));
    p.fillRect(0, 0, kW, kH, bg);
    p.setRenderHint(QPainter::Antialiasing);
    for (int i = 3; i >= 0; --i) {
        p.setPen(QPen(QColor(120, 120, 120), 1));
        p.setBrush(QColor(255 - i * 12, 255 - i * 12, 255 - i * 12));
        p.drawRect(QRectF(40 + i * 6, 76 - i * 6, 70, 88));
    }
    const QColor inks[4] = {QColor(0, 170, 230), QColor(230, 0, 130), QColor(250, 220, 0),
                            QColor(30, 30, 30)};
    for (int i = 0; i < 4; ++i) {
        p.setBrush(inks[i]);
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPointF(54 + i * 14, 120), 6, 6);
    }
    Caption(p, QRect(6, 8, kW - 12, 44), "Professional printing by Ostrica", 15, true, Qt::white);
    Caption(p, QRect(6, 176, kW - 12, 38), "Send your PDF straight from the program", 11, false,
            QColor(250, 214, 222));
}

QByteArray Jpeg(const std::function<void(QPainter&)>& draw) {
    QImage img(kW, kH, QImage::Format_RGB32);
    img.fill(Qt::white);
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::TextAntialiasing);
        draw(p);
    }
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "JPEG", 88);
    return bytes;
}

// Runs `work` on a fresh connection to `file`; the file is created when missing.
bool WithDatabase(const QString& file, const std::function<bool(QSqlDatabase&)>& work) {
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "gen");
        db.setDatabaseName(file);
        if (!db.open())
            ok = Fail(file + ": " + db.lastError().text());
        else
            ok = work(db);
        db.close();
    }
    QSqlDatabase::removeDatabase("gen");
    return ok;
}

bool Exec(QSqlDatabase& db, const QString& sql) {
    QSqlQuery q(db);
    return q.exec(sql) || Fail(q.lastError().text());
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) return Fail("usage: gen_database <program folder>"), 2;
    const QString dir = QDir(QString::fromLocal8Bit(argv[1])).absolutePath() + "/";
    const QString da0 = dir + "tessora.da0", dat = dir + "tessora.dat";
    for (const QString& f : {da0, dat, dat + "-journal", da0 + "-journal"})
        QFile::remove(f);

    if (!WithDatabase(da0, [](QSqlDatabase& db) { return Exec(db, kCrAdvImages); })) return 1;
    if (!QFile::copy(da0, dat)) return Fail("cannot copy " + da0), 1;

    struct TAd {
        const char* Name;
        void (*Draw)(QPainter&);
    };
    const TAd ads[] = {
        {"sheets", DrawSheets}, {"boxes", DrawBox}, {"barcodes", DrawBarcode}, {"printing", DrawPrint}};
    const bool ok = WithDatabase(dat, [&](QSqlDatabase& db) {
        if (!db.transaction()) return Fail(db.lastError().text());
        for (const TAd& ad : ads) {
            QSqlQuery q(db);
            q.prepare(kAddAdvImage);
            q.bindValue(":AI_NAME", QString::fromLatin1(ad.Name));
            q.bindValue(":AI_IMG", Jpeg(ad.Draw));
            if (!q.exec()) return Fail(q.lastError().text());
        }
        return db.commit() || Fail(db.lastError().text());
    });
    if (!ok) return 1;
    QFile::setPermissions(dat, QFile::permissions(dat) | QFile::WriteOwner | QFile::ReadOwner);
    return 0;
}
