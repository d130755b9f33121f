#include "app/uWindowMessages.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace tessora {

namespace {

QMessageBox::StandardButton ToStandard(TMsgButton b) {
    switch (b) {
    case mbYes:
        return QMessageBox::Yes;
    case mbNo:
        return QMessageBox::No;
    case mbOK:
        return QMessageBox::Ok;
    case mbCancel:
        return QMessageBox::Cancel;
    default:
        return QMessageBox::NoButton;
    }
}

QWidget* Owner() {
    if (QWidget* w = QApplication::activeModalWidget()) return w;
    return QApplication::activeWindow();
}

} // namespace

void TWindowMessages::Information(const std::string& text) {
    Information(text, mbYes);
}

void TWindowMessages::Information(const std::string& text, TMsgButton button) {
    if (button != mbOK) button = mbYes;
    QMessageBox box(QMessageBox::Information, kAppTitle, QString::fromStdString(text), ToStandard(button),
                    Owner());
    box.setObjectName("Information");
    box.exec();
}

TMsgButton TWindowMessages::Confirm(const std::string& text, int buttons) {
    QMessageBox box(QMessageBox::Question, kAppTitle, QString::fromStdString(text), QMessageBox::NoButton,
                    Owner());
    box.setObjectName("Confirmation");
    const TMsgButton order[] = {mbYes, mbNo, mbOK, mbCancel};
    TMsgButton escape = mbNone, first = mbNone;
    for (TMsgButton b : order) {
        if (!(buttons & b)) continue;
        box.addButton(ToStandard(b));
        if (first == mbNone) first = b;
    }
    if (first == mbNone) { // a question without buttons still needs a way out
        box.addButton(QMessageBox::Ok);
        first = mbOK;
    }
    box.setDefaultButton(ToStandard(first));
    // Escape and the close box answer Cancel where offered, else No.
    escape = (buttons & mbCancel) ? mbCancel : (buttons & mbNo) ? mbNo : first;
    box.setEscapeButton(box.button(ToStandard(escape)));
    box.exec();
    switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Yes:
        return mbYes;
    case QMessageBox::No:
        return mbNo;
    case QMessageBox::Ok:
        return mbOK;
    case QMessageBox::Cancel:
        return mbCancel;
    default:
        return escape;
    }
}

} // namespace tessora
