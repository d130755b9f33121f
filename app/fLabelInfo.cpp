#include "app/fLabelInfo.h"

#include <QEvent>
#include <QLabel>
#include <QVBoxLayout>

namespace tessora {

TfrmLabelInfo::TfrmLabelInfo(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus) {
    setObjectName("frmLabelInfo");
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(244, 118);
    setStyleSheet("QWidget#frmLabelInfo { background: #FFFFE1; border: 1px solid #808080; }");
    setAttribute(Qt::WA_StyledBackground);
    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(10, 6, 10, 6);
    auto make = [&](const char* name, bool bold) {
        auto* l = new QLabel(this);
        l->setObjectName(name);
        if (bold) {
            QFont f = l->font();
            f.setBold(true);
            l->setFont(f);
        }
        lay->addWidget(l);
        return l;
    };
    lblName = make("lblName", true);
    lblFile = make("lblFile", false);
    lblInfo1 = make("lblInfo1", false);
    lblInfo2 = make("lblInfo2", false);
    for (QLabel* l : {lblInfo1, lblInfo2}) {
        l->setCursor(Qt::PointingHandCursor);
        l->installEventFilter(this);
    }
}

void TfrmLabelInfo::SetLabel(int label) {
    lblFile->clear();
    if (label < 0) {
        lblName->setText("Sheet");
        lblInfo1->setText("Click for the Sheet selection");
        lblInfo2->setText("Right Click to set image for all labels");
    } else {
        lblName->setText(QString("Label %1").arg(label + 1));
        lblInfo1->setText("Click to select this Label");
        lblInfo2->setText("Right Click to select Label parameters");
    }
}

bool TfrmLabelInfo::eventFilter(QObject* o, QEvent* e) {
    if (e->type() == QEvent::MouseButtonRelease) {
        if (o == lblInfo1 && OnFirstLine) OnFirstLine();
        if (o == lblInfo2 && OnSecondLine) OnSecondLine();
    }
    return QWidget::eventFilter(o, e);
}

} // namespace tessora
