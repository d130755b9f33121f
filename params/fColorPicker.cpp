#include "params/fColorPicker.h"

#include "params/uHueRing.h"
#include "sheetview/fraSheet.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

namespace tessora {

namespace {
TfrmColorPicker* gPicker = nullptr;
}

TfrmColorPicker::TfrmColorPicker(QWidget* mainWindow) : QDialog(mainWindow), MainWindow(mainWindow) {
    setObjectName("frmColorPicker");
    setWindowTitle("Color Picker");
    // A tool window over the main window that stays in front while the user works on the sheet.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::WindowStaysOnTopHint);
    if (!gPicker) gPicker = this;

    auto* h = new QHBoxLayout(this);
    h->setContentsMargins(8, 8, 8, 8);
    h->setSpacing(10);
    clrPicker2 = new THueRing(this);
    clrPicker2->setObjectName("clrPicker2");
    h->addWidget(clrPicker2, 0, Qt::AlignTop);
    connect(clrPicker2, &THueRing::colorChanged, this, &TfrmColorPicker::clrPicker2Change);

    auto* right = new QVBoxLayout;
    right->setSpacing(8);
    h->addLayout(right);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(10);
    right->addLayout(grid);
    const int valueWidth = fontMetrics().horizontalAdvance(QStringLiteral("888")) + 4;
    auto bar = [&](int row, QScrollBar*& s, QLabel*& l, const char* caption, const char* name,
                   const char* label) {
        grid->addWidget(new QLabel(caption, this), row, 0);
        s = new QScrollBar(Qt::Horizontal, this);
        s->setObjectName(name);
        s->setRange(0, 255);
        s->setPageStep(16);
        s->setMinimumWidth(160);
        grid->addWidget(s, row, 1);
        l = new QLabel("0", this);
        l->setObjectName(label);
        l->setMinimumWidth(valueWidth);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(l, row, 2);
        connect(s, &QScrollBar::valueChanged, this, &TfrmColorPicker::scbChange);
    };
    bar(0, scbR, lblR2, "Red:", "scbR", "lblR2");
    bar(1, scbG, lblG2, "Green:", "scbG", "lblG2");
    bar(2, scbB, lblB2, "Blue:", "scbB", "lblB2");

    shpColor = new QLabel(this);
    shpColor->setObjectName("shpColor");
    shpColor->setFrameStyle(QFrame::Box | QFrame::Plain);
    shpColor->setAutoFillBackground(true);
    shpColor->setMinimumHeight(90);
    right->addWidget(shpColor, 1);

    btnOK = new QPushButton("OK", this);
    btnOK->setObjectName("btnOK");
    btnOK->setDefault(true);
    btnOK->setMinimumWidth(90);
    right->addWidget(btnOK, 0, Qt::AlignRight);
    connect(btnOK, &QPushButton::clicked, this, &TfrmColorPicker::btnOKClick);

    tmrSample = new QTimer(this);
    tmrSample->setSingleShot(true);
    tmrSample->setInterval(1);
    connect(tmrSample, &QTimer::timeout, this, &TfrmColorPicker::tmrSampleTimer);

    h->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize(); // the size is known before the first placing
    ShowColor(Qt::black, true);
}

TfrmColorPicker::~TfrmColorPicker() {
    SetSheetFrame(nullptr);
    if (gPicker == this) gPicker = nullptr;
}

TfrmColorPicker* TfrmColorPicker::Instance() {
    return gPicker;
}

QColor TfrmColorPicker::Color() const {
    return Current;
}

void TfrmColorPicker::ShowColor(QColor color, bool updateWheel) {
    // Everything is shown as plain RGB, whatever colour model the colour came in.
    const QColor c = color.isValid() ? color.toRgb() : QColor(Qt::black);
    Current = QColor(c.red(), c.green(), c.blue());
    Loading = true;
    if (updateWheel) clrPicker2->SetColor(Current);
    for (auto [s, l, v] : {std::tuple{scbR, lblR2, Current.red()}, std::tuple{scbG, lblG2, Current.green()},
                           std::tuple{scbB, lblB2, Current.blue()}}) {
        const QSignalBlocker block(s);
        s->setValue(v);
        l->setNum(v);
    }
    Loading = false;
    QPalette pal = shpColor->palette();
    pal.setColor(QPalette::Window, Current);
    shpColor->setPalette(pal);
}

void TfrmColorPicker::clrPicker2Change(QColor color) {
    if (!Loading) ShowColor(color, false);
}

void TfrmColorPicker::scbChange() {
    if (!Loading) ShowColor(QColor(scbR->value(), scbG->value(), scbB->value()), true);
}

void TfrmColorPicker::PlaceAtMainWindow() {
    if (!MainWindow) return;
    const QRect m = MainWindow->frameGeometry();
    int w = frameGeometry().width();
    // Before its first showing the window has no frame yet: expect one like the main window's.
    if (w == width()) w += m.width() - MainWindow->width();
    move(m.left() + m.width() - w, m.top() + 10);
}

void TfrmColorPicker::SetSheetFrame(TfrSheet* frame) {
    if (Frame) {
        Frame->PressInterceptor = nullptr;
        Frame->InterceptActive = nullptr;
    }
    Frame = frame;
    if (!Frame) return;
    Frame->PressInterceptor = [this](QPoint global) { return SampleAt(global); };
    Frame->InterceptActive = [this] { return isVisible(); };
}

void TfrmColorPicker::OpenFor(int target, QColor preset) {
    Target = target;
    PlaceAtMainWindow();
    ShowColor(preset, true);
    if (Frame) {
        if (!CursorsSet) ViewCursor = Frame->imgMain->cursor();
        CursorsSet = true;
        Frame->imgMain->setCursor(PickCursor);
        Frame->SelectShape->setCursor(PickCursor);
    }
    show();
    raise();
}

bool TfrmColorPicker::PickModal(QColor preset, QColor& result) {
    Target = ptModal;
    // Modality only takes when the window is shown anew.
    if (isVisible()) hide();
    PlaceAtMainWindow();
    ShowColor(preset, true);
    if (exec() != QDialog::Accepted) return false;
    result = Current;
    return true;
}

void TfrmColorPicker::RestoreCursors() {
    if (!CursorsSet) return;
    CursorsSet = false;
    if (!Frame) return;
    Frame->imgMain->setCursor(ViewCursor);
    Frame->SelectShape->setCursor(Qt::PointingHandCursor);
}

void TfrmColorPicker::hideEvent(QHideEvent* e) {
    // Hidden by OK or the close box, not with a minimised main window.
    if (!e->spontaneous()) {
        tmrSample->stop();
        RestoreCursors();
    }
    QDialog::hideEvent(e);
}

bool TfrmColorPicker::SampleAt(QPoint globalPos) {
    if (!isVisible()) return false;
    SamplePos = globalPos;
    tmrSample->start();
    return true;
}

void TfrmColorPicker::tmrSampleTimer() {
    const QColor c = ScreenPixel(SamplePos);
    if (c.isValid()) ShowColor(c, true);
}

QColor TfrmColorPicker::ScreenPixel(QPoint global) {
    if (QScreen* screen = QGuiApplication::screenAt(global)) {
        const QPoint at = global - screen->geometry().topLeft();
        const QImage img = screen->grabWindow(0, at.x(), at.y(), 1, 1).toImage();
        if (!img.isNull()) return QColor(img.pixel(0, 0));
    }
    // No screen grab here: our own windows can still be read, which covers the sheet view.
    if (QWidget* w = QApplication::widgetAt(global)) {
        QWidget* top = w->window();
        const QImage img = top->grab(QRect(top->mapFromGlobal(global), QSize(1, 1))).toImage();
        if (!img.isNull()) return QColor(img.pixel(0, 0));
    }
    return {};
}

void TfrmColorPicker::btnOKClick() {
    if (Target == ptModal) {
        accept();
        return;
    }
    hide();
    if (OnOK) OnOK(Target, Current);
}

} // namespace tessora
