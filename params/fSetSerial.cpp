#include "params/fSetSerial.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tessora {

TfrmSetSerial::TfrmSetSerial(QWidget* parent) : QDialog(parent) {
    setObjectName("frmSetSerial");
    setWindowTitle("Set Serial");
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    auto* v = new QVBoxLayout(this);
    auto* group = new QGroupBox(this);
    auto* h = new QHBoxLayout(group);
    h->addWidget(new QLabel("Serial:", group));
    edtPrefix = new QLineEdit(group);
    edtPrefix->setObjectName("edtPrefix");
    h->addWidget(edtPrefix);
    auto* mid = new QLabel("- XXXX -", group);
    QFont bold = mid->font();
    bold.setBold(true);
    mid->setFont(bold);
    h->addWidget(mid);
    edtSuffix = new QLineEdit(group);
    edtSuffix->setObjectName("edtSuffix");
    h->addWidget(edtSuffix);
    v->addWidget(group);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    btnOK = new QPushButton("OK", this);
    btnOK->setDefault(true);
    btnCancel = new QPushButton("Cancel", this);
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    v->addLayout(buttons);
    setFixedSize(sizeHint());

    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

} // namespace tessora
