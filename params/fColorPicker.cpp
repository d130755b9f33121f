// Placeholder picker: swatch, three bars and OK, enough for the windows that open it.
#include "params/fColorPicker.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace tessora {

namespace {
TfrmColorPicker* gPicker = nullptr;
}

TfrmColorPicker::TfrmColorPicker(QWidget* mainWindow) : QDialog(mainWindow), MainWindow(mainWindow) {
    setObjectName("frmColorPicker");
    setWindowTitle("Color Picker");
    if (!gPicker)
        gPicker = this;
    auto* v = new QVBoxLayout(this);
    auto bar = [&](QScrollBar*& s, QLabel*& l, const char* name) {
        auto* h = new QHBoxLayout;
        h->addWidget(new QLabel(name, this));
        s = new QScrollBar(Qt::Horizontal, this);
        s->setRange(0, 255);
        h->addWidget(s, 1);
        l = new QLabel("0", this);
        h->addWidget(l);
        v->addLayout(h);
        connect(s, &QScrollBar::valueChanged, this,
                [this] { ShowColor(QColor(scbR->value(), scbG->value(), scbB->value()), true); });
    };
    bar(scbR, lblR2, "Red:");
    bar(scbG, lblG2, "Green:");
    bar(scbB, lblB2, "Blue:");
    shpColor = new QLabel(this);
    shpColor->setFixedSize(40, 40);
    v->addWidget(shpColor);
    btnOK = new QPushButton("OK", this);
    v->addWidget(btnOK);
    connect(btnOK, &QPushButton::clicked, this, &TfrmColorPicker::btnOKClick);
}

TfrmColorPicker::~TfrmColorPicker() {
    if (gPicker == this)
        gPicker = nullptr;
}

TfrmColorPicker* TfrmColorPicker::Instance() { return gPicker; }

QColor TfrmColorPicker::Color() const { return Current; }

void TfrmColorPicker::ShowColor(QColor color, bool) {
    Current = color;
    for (auto [s, l, v] : {std::tuple{scbR, lblR2, color.red()}, std::tuple{scbG, lblG2, color.green()},
                           std::tuple{scbB, lblB2, color.blue()}}) {
        const QSignalBlocker block(s);
        s->setValue(v);
        l->setNum(v);
    }
    shpColor->setStyleSheet(QString("background:%1").arg(color.name()));
}

void TfrmColorPicker::OpenFor(int target, QColor preset) {
    Target = target;
    ShowColor(preset, true);
    show();
}

bool TfrmColorPicker::PickModal(QColor preset, QColor& result) {
    Target = ptModal;
    ShowColor(preset, true);
    if (exec() != QDialog::Accepted)
        return false;
    result = Current;
    return true;
}

bool TfrmColorPicker::SampleAt(QPoint) { return false; }

void TfrmColorPicker::btnOKClick() {
    if (Target == ptModal) {
        accept();
        return;
    }
    hide();
    if (OnOK)
        OnOK(Target, Current);
}

} // namespace tessora
