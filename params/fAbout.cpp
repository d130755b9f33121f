#include "params/fAbout.h"

#include "document/uMessages.h"
#include "platform/uShell.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace tessora {

namespace {

QPixmap Logo() {
    QPixmap pm(64, 64);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(0, 0, 128));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(4, 4, 56, 56), 10, 10);
    p.setPen(Qt::white);
    QFont f("Arial");
    f.setBold(true);
    f.setPixelSize(34);
    p.setFont(f);
    p.drawText(QRect(4, 4, 56, 56), Qt::AlignCenter, "T");
    return pm;
}

} // namespace

QString TfrmAbout::VersionText() {
    const QStringList parts = QString(TESSORA_VERSION).split('.');
    return "v " + parts.mid(0, 3).join('.');
}

TfrmAbout::TfrmAbout(QWidget* parent) : QDialog(parent) {
    setWindowTitle("About");
    setModal(true);
    auto* top = new QHBoxLayout;
    imgLogo = new QLabel(this);
    imgLogo->setPixmap(Logo());
    imgLogo->setAlignment(Qt::AlignTop);
    top->addWidget(imgLogo);

    auto* lines = new QVBoxLayout;
    auto* title = new QLabel("Corvane Tessora", this);
    QFont tf = title->font();
    tf.setBold(true);
    tf.setPointSize(tf.pointSize() + 3);
    title->setFont(tf);
    lines->addWidget(title);
    lblVersion = new QLabel(VersionText(), this);
    lines->addWidget(lblVersion);
    lines->addWidget(new QLabel("Label sheet designer by Corvane", this));
    lines->addWidget(new QLabel("Questions and orders: support@corvane.example", this));
    lblWWW = new QLabel(kMakerWebAddress, this);
    lblWWW->setStyleSheet("color: blue; text-decoration: underline;");
    lblWWW->setCursor(Qt::PointingHandCursor);
    lblWWW->installEventFilter(this);
    lines->addWidget(lblWWW);
    top->addLayout(lines);

    auto* all = new QVBoxLayout(this);
    all->addLayout(top);
    btnOK = new QPushButton("OK", this);
    btnOK->setDefault(true);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);
    all->addLayout(buttons);
    setFixedSize(sizeHint());
}

void TfrmAbout::lblWWWClick() {
    if (!ShellOpen(lblWWW->text())) Information("Can't open " + lblWWW->text().toStdString() + ".");
}

bool TfrmAbout::eventFilter(QObject* o, QEvent* e) {
    if (o == lblWWW && e->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) {
        lblWWWClick();
        return true;
    }
    return QDialog::eventFilter(o, e);
}

} // namespace tessora
