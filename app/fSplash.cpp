#include "app/fSplash.h"

#include "content/uServer.h"

#include <QLabel>
#include <QLinearGradient>
#include <QPainter>

namespace tessora {

QString SplashVersionText() {
    return "v " + ProgramVersion();
}

TfrmSplash::TfrmSplash(QWidget* parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName("frmSplash");
    setFixedSize(480, 280);
    auto label = [this](const char* name, const QString& text, QRect r, int px, bool bold) {
        auto* l = new QLabel(text, this);
        l->setObjectName(name);
        l->setGeometry(r);
        QFont f = l->font();
        f.setPixelSize(px);
        f.setBold(bold);
        l->setFont(f);
        l->setStyleSheet("color: #1d2b3a; background: transparent;");
        return l;
    };
    lblTitle = label("lblTitle", "Corvane Tessora", QRect(150, 40, 310, 40), 30, true);
    lblVersion = label("lblVersion", SplashVersionText(), QRect(152, 84, 200, 20), 14, false);
    lblLicence = label("lblLicence",
                       "Label sheets, folding boxes and print-ready PDF.\n"
                       "This copy is licensed to its user under the terms shipped with it.",
                       QRect(20, 170, 440, 44), 11, false);
    lblLicence->setWordWrap(true);
    lblStatus = label("lblStatus", QString(), QRect(20, 240, 440, 20), 12, false);
}

void TfrmSplash::SetStatus(const QString& text) {
    lblStatus->setText(text);
    repaint();
}

void TfrmSplash::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, height());
    g.setColorAt(0, QColor(253, 248, 200));
    g.setColorAt(1, QColor(236, 222, 150));
    p.fillRect(rect(), g);
    // A small sheet of labels as the emblem.
    const QRectF sheet(30, 30, 96, 120);
    p.setPen(QPen(QColor(60, 70, 90), 2));
    p.setBrush(Qt::white);
    p.drawRect(sheet);
    p.setBrush(QColor(120, 170, 220));
    p.setPen(Qt::NoPen);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 2; ++c)
            p.drawRoundedRect(QRectF(38 + c * 44, 38 + r * 27, 36, 20), 5, 5);
    p.setPen(QPen(QColor(60, 70, 90), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace tessora
