#include "app/fMessage.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace tessora {

TfrmMessage::TfrmMessage(const QString& text, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName("frmMessage");
    setModal(true);
    setFixedSize(300, 96);
    lblMess = new QLabel(text, this);
    lblMess->setObjectName("lblMess");
    lblMess->setGeometry(12, 10, 276, 40);
    lblMess->setAlignment(Qt::AlignCenter);
    lblMess->setWordWrap(true);
    btnYes = new QPushButton("Yes", this);
    btnYes->setObjectName("btnYes");
    btnYes->setGeometry(62, 58, 80, 26);
    btnYes->setDefault(true);
    btnNo = new QPushButton("No", this);
    btnNo->setObjectName("btnNo");
    btnNo->setGeometry(158, 58, 80, 26);
    connect(btnYes, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnNo, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmMessage::paintEvent(QPaintEvent*) {
    // Without a frame the window needs an edge of its own against the splash.
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    p.setPen(QColor(60, 70, 90));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace tessora
