#include "content/fEMail.h"

#include "document/uMessages.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tessora {

const char* const kSendMailQuestion =
    "This will send you PDF document via the internet to Ostrica for printing or price evaluation.\r\n"
    "Internet access is required. \r\n"
    "If you however intended to create PDF document for local printing select cancel and use the PDF "
    "Print function.\r\n"
    "Send E-Mail?";

TfrmEMail::TfrmEMail(QWidget* parent) : QDialog(parent) {
    setObjectName("frmEMail");
    setWindowTitle("Mail sender");
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* v = new QVBoxLayout(this);
    auto field = [&](QLabel*& label, const char* caption, QLineEdit*& edit, const char* name) {
        label = new QLabel(caption, this);
        edit = new QLineEdit(this);
        edit->setObjectName(name);
        label->setBuddy(edit);
        v->addWidget(label);
        v->addWidget(edit);
    };
    field(lblFrom, "From:", edtFrom, "edtFrom");
    field(lblSubj, "Subject:", edtSubjs, "edtSubjs");
    field(lblFile, "PDF File:", edtFile, "edtFile");
    edtFile->setReadOnly(true);

    grpMessage = new QGroupBox(" Message ", this);
    grpMessage->setObjectName("grpMessage");
    auto* g = new QVBoxLayout(grpMessage);
    memBody = new QPlainTextEdit(grpMessage);
    memBody->setObjectName("memBody");
    memBody->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    g->addWidget(memBody);
    v->addWidget(grpMessage, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    btnSend = new QPushButton("Send!", this);
    btnSend->setObjectName("btnSend");
    btnSend->setEnabled(false);
    btnSend->setDefault(true);
    btnCancel = new QPushButton("Cancel", this);
    btnCancel->setObjectName("btnCancel");
    buttons->addWidget(btnSend);
    buttons->addWidget(btnCancel);
    v->addLayout(buttons);
    resize(460, 400);

    connect(edtFrom, &QLineEdit::textChanged, this, &TfrmEMail::edtFromChange);
    connect(btnSend, &QPushButton::clicked, this, &TfrmEMail::btnSendClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    edtFrom->setFocus();
}

void TfrmEMail::edtFromChange() { btnSend->setEnabled(!edtFrom->text().trimmed().isEmpty()); }

void TfrmEMail::btnSendClick() {
    if (edtFrom->text().trimmed().isEmpty()) return; // Enter in a field while Send! is disabled
    if (Confirm(kSendMailQuestion, mbOK | mbCancel) == mbOK) accept();
}

} // namespace tessora
