#include "params/fLWParams.h"

#include "barcode/Barcode.h"
#include "document/uCommon.h"
#include "document/uMessages.h"
#include "params/fAbout.h"
#include "platform/uShell.h"
#include "sheetview/fraSheet.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace tessora {

namespace {

// Tab positions in pgcParams.
enum { tiInfo, tiSerial, tiControl, tiGraphic, tiFilter, tiText, tiBarcode, tiOutline, tiSettings };

constexpr int kBorder = 1;

QLabel* Caption(const QString& text, QWidget* parent) {
    return new QLabel(text, parent);
}

// The two small glyphs of btnClose: a triangle pointing down (collapse) or up (expand).
QIcon StripGlyph(bool down) {
    QPixmap pm(11, 11);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    const QPolygonF tri = down ? QPolygonF({QPointF(1.5, 3), QPointF(9.5, 3), QPointF(5.5, 8)})
                               : QPolygonF({QPointF(1.5, 8), QPointF(9.5, 8), QPointF(5.5, 3)});
    p.drawPolygon(tri);
    return QIcon(pm);
}

} // namespace

TfrmLWParams::TfrmLWParams(TfrSheet* frame, QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::FramelessWindowHint), Frame(frame),
      MainWindow(mainWindow) {
    setObjectName("frmLWParams");
    setWindowTitle("Parameters");
    // A tool window's small type, so that nine tabs and the undo panel share one row.
    QFont small("Tahoma");
    small.setPixelSize(11);
    setFont(small);
    BuildFrame();
    BuildInfoTab();
    BuildSerialTab();
    BuildControlTab();
    BuildGraphicTab();
    BuildFilterTab();
    BuildTextTab();
    BuildBarcodeTab();
    BuildOutlineTab();
    BuildSettingsTab();
    LoadGuiSettings();
    SetLabelTabsVisible(false);
    pgcParams->setCurrentWidget(tsInfo);
    connect(pgcParams, &QTabWidget::currentChanged, this, [this] { pgcParamsChange(); });
    connect(this, &QWidget::windowTitleChanged, lblCaption, &QLabel::setText);
    lblCaption->setText(windowTitle());
    resize(ExpandedWidth, ExpandedHeight);
}

TfrmLWParams::~TfrmLWParams() = default;

TSheet& TfrmLWParams::Sheet() const {
    return Frame->Sheet;
}

bool TfrmLWParams::HaveCurrentFace() const {
    const TSheet& s = Frame->Sheet;
    return s.CurLabel >= 0 && size_t(s.CurLabel) < s.Labels.size() && s.CurFace >= 0 &&
           size_t(s.CurFace) < s.Labels[size_t(s.CurLabel)]->Faces.size();
}

// ---------------------------------------------------------------- frame

void TfrmLWParams::BuildFrame() {
    // The thin border of a window without a caption bar.
    setStyleSheet("#frmLWParams { border: 1px solid #404040; }");
    setAttribute(Qt::WA_StyledBackground);
    auto* all = new QVBoxLayout(this);
    all->setContentsMargins(kBorder, kBorder, kBorder, kBorder);
    all->setSpacing(0);
    // Sizes are set by collapsing and expanding, not by the contents.
    all->setSizeConstraint(QLayout::SetNoConstraint);

    pnlTop = new QFrame(this);
    pnlTop->setObjectName("pnlTop");
    pnlTop->setFixedHeight(StripHeight);
    pnlTop->setStyleSheet("#pnlTop { background: #000080; }");
    pnlTop->setCursor(Qt::SizeAllCursor);
    auto* strip = new QHBoxLayout(pnlTop);
    strip->setContentsMargins(4, 0, 1, 0);
    strip->setSpacing(2);
    lblCaption = new QLabel(pnlTop);
    QFont cf = lblCaption->font();
    cf.setBold(true);
    cf.setPixelSize(11);
    lblCaption->setFont(cf);
    lblCaption->setStyleSheet("color: white;");
    strip->addWidget(lblCaption, 1);
    btnClose = new QToolButton(pnlTop);
    btnClose->setToolTip(" Show/Hide Parameters ");
    btnClose->setFixedSize(15, 13);
    btnClose->setIconSize(QSize(11, 11));
    btnClose->setIcon(StripGlyph(true));
    btnClose->setStyleSheet("QToolButton { background: #d4d0c8; border: 1px solid #808080; }");
    connect(btnClose, &QToolButton::clicked, this, [this] { ToggleCollapsed(); });
    strip->addWidget(btnClose);
    pnlTop->installEventFilter(this);
    lblCaption->installEventFilter(this);
    all->addWidget(pnlTop);

    pgcParams = new QTabWidget(this);
    pgcParams->setObjectName("pgcParams");
    // Compact tabs: all nine and the undo panel fit the window's width.
    pgcParams->setStyleSheet(
        "QTabBar::tab { font-size: 10px; background: #e4e4e4; border: 1px solid #a0a0a0; border-bottom: none;"
        " border-top-left-radius: 3px; border-top-right-radius: 3px; padding: 3px 3px; margin-right: 1px; }"
        "QTabBar::tab:selected { background: white; margin-top: -2px; }"
        "QTabBar::tab:!selected { margin-top: 1px; }"
        "QTabWidget::pane { border: 1px solid #a0a0a0; top: -1px; background: white; }");
    auto page = [this](const char* name, const char* caption) {
        auto* w = new QWidget(pgcParams);
        w->setObjectName(name);
        pgcParams->addTab(w, caption);
        return w;
    };
    tsInfo = page("tsInfo", "Info");
    tsSerial = page("tsSerial", "Serial");
    tsControl = page("tsControl", "Control");
    tsGraphic = page("tsGraphic", "Graphic");
    tsFilter = page("tsFilter", "Filters");
    tsText = page("tsText", "Text");
    tsBarcode = page("tsBarcode", "Barcode");
    tsOutline = page("tsOutline", "Outline");
    tsSettings = page("tsSettings", "Settings");
    all->addWidget(pgcParams, 1);

    pnlUndoRedo = new QFrame(pgcParams);
    auto* ur = new QHBoxLayout(pnlUndoRedo);
    ur->setContentsMargins(0, 0, 2, 0);
    ur->setSpacing(1);
    btnUndo = new QToolButton(pnlUndoRedo);
    btnUndo->setIcon(style()->standardIcon(QStyle::SP_ArrowBack));
    btnUndo->setToolTip(" Undo ");
    btnUndo->setAutoRaise(true);
    btnUndo->setEnabled(false);
    btnRedo = new QToolButton(pnlUndoRedo);
    btnRedo->setIcon(style()->standardIcon(QStyle::SP_ArrowForward));
    btnRedo->setToolTip(" Redo ");
    btnRedo->setAutoRaise(true);
    btnRedo->setEnabled(false);
    btnAbout = new QToolButton(pnlUndoRedo);
    btnAbout->setText("About");
    btnAbout->setAutoRaise(true);
    connect(btnAbout, &QToolButton::clicked, this, [this] { btnAboutClick(); });
    ur->addWidget(btnUndo);
    ur->addWidget(btnRedo);
    ur->addWidget(btnAbout);
    pgcParams->setCornerWidget(pnlUndoRedo, Qt::TopRightCorner);
}

void TfrmLWParams::BindUndoRedo(QAction* undo, QAction* redo) {
    auto bind = [this](QToolButton* b, QAction* a) {
        if (!a) return;
        b->setEnabled(a->isEnabled());
        connect(b, &QToolButton::clicked, a, &QAction::trigger);
        connect(a, &QAction::changed, b, [b, a] { b->setEnabled(a->isEnabled()); });
    };
    bind(btnUndo, undo);
    bind(btnRedo, redo);
}

bool TfrmLWParams::eventFilter(QObject* o, QEvent* e) {
    if (o == lblOrderWWW && e->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) {
        lblOrderWWWClick();
        return true;
    }
    if (o == pnlTop || o == lblCaption) {
        // The strip is the window's caption: it moves the window.
        switch (e->type()) {
        case QEvent::MouseButtonPress: {
            auto* m = static_cast<QMouseEvent*>(e);
            if (m->button() == Qt::LeftButton) {
                StripDragging = true;
                DragOffset = m->globalPosition().toPoint() - pos();
                return true;
            }
            break;
        }
        case QEvent::MouseMove:
            if (StripDragging) {
                move(static_cast<QMouseEvent*>(e)->globalPosition().toPoint() - DragOffset);
                return true;
            }
            break;
        case QEvent::MouseButtonRelease:
            if (StripDragging && static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) {
                StripDragging = false;
                return true;
            }
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(o, e);
}

QRect TfrmLWParams::MainRect() const {
    if (MainWindow) return MainWindow->geometry();
    return screen() ? screen()->availableGeometry() : QRect(0, 0, 1024, 768);
}

void TfrmLWParams::PlaceAtMainWindow() {
    const QRect main = MainRect();
    move(main.left() + main.width() - width() - 12, main.top() + main.height() - height() - 32);
}

void TfrmLWParams::ToggleCollapsed() {
    const QRect main = MainRect();
    const int strip = StripHeight + 2 * kBorder;
    int w, h, top;
    if (Collapsed()) {
        w = ExpandedWidth;
        h = ExpandedHeight;
        top = main.top() + main.height() - ExpandedHeight - 32;
        btnClose->setIcon(StripGlyph(true));
        pgcParams->show();
    } else {
        w = CollapsedWidth;
        h = strip;
        top = main.top() + main.height() - strip - 30;
        btnClose->setIcon(StripGlyph(false));
        pgcParams->hide();
    }
    setGeometry(main.left() + main.width() - w - 12, top, w, h);
}

bool TfrmLWParams::Collapsed() const {
    return height() <= StripHeight + 2 * kBorder;
}

void TfrmLWParams::showEvent(QShowEvent* e) {
    grpTemplate->setStyleSheet("QGroupBox { background: white; }");
    QWidget::showEvent(e);
}

void TfrmLWParams::btnAboutClick() {
    TfrmAbout about(this);
    about.exec();
}

// ---------------------------------------------------------------- tabs and captions

void TfrmLWParams::SetLabelTabsVisible(bool visible) {
    for (int i : {tiControl, tiGraphic, tiText, tiBarcode, tiOutline})
        pgcParams->setTabVisible(i, visible);
    pgcParams->setTabVisible(tiFilter, visible && lstBGFiles->count() > 0);
}

bool TfrmLWParams::ShowTab(const QString& caption) {
    for (int i = 0; i < pgcParams->count(); ++i)
        if (pgcParams->tabText(i) == caption && pgcParams->isTabVisible(i)) {
            pgcParams->setCurrentIndex(i);
            return true;
        }
    return false;
}

void TfrmLWParams::UpdateCaption() {
    const TSheet& s = Sheet();
    if (!HasLabel || s.CurLabel < 0) {
        setWindowTitle("Parameters");
        return;
    }
    const int cols = std::max(1, int(s.Header.Columns));
    setWindowTitle(
        QString::asprintf("Parameters. Label %d,%d", s.CurLabel / cols + 1, s.CurLabel % cols + 1));
}

int TfrmLWParams::ActiveKind() const {
    const QWidget* t = pgcParams->currentWidget();
    if (t == tsControl) return pkControl;
    if (t == tsGraphic || t == tsFilter) return pkGraphic;
    if (t == tsText) return pkText;
    if (t == tsBarcode) return pkBarcode;
    if (t == tsOutline) return pkOutline;
    return pkNone;
}

void TfrmLWParams::SyncSelection() {
    TSheet& s = Sheet();
    switch (ActiveKind()) {
    case pkGraphic:
        s.SelKind = 2;
        s.SelIndex = lstBGFiles->currentRow();
        break;
    case pkText:
        s.SelKind = 1;
        s.SelIndex = lstTObjs->currentRow();
        break;
    case pkBarcode:
        s.SelKind = 0;
        s.SelIndex = lstBCTypes->currentIndex();
        break;
    default:
        s.SelKind = 255;
        break;
    }
}

void TfrmLWParams::pgcParamsChange() {
    // Leaving the Text tab ends path drawing, also when the label was deselected.
    if (DrawPathOn()) SetDrawPath(false);
    if (!HasLabel || Loading || !HaveCurrentFace()) return;
    const uint8_t before = Sheet().SelKind;
    SyncSelection();
    // The dashed frame of the selected object follows the tab.
    if (Sheet().SelKind != before) Redraw(false);
}

// ---------------------------------------------------------------- Info tab

void TfrmLWParams::BuildInfoTab() {
    auto* lay = new QVBoxLayout(tsInfo);
    grpTemplate = new QGroupBox("Template", tsInfo);
    auto* g = new QGridLayout(grpTemplate);
    g->setColumnStretch(1, 1);
    lblUnits2 = new QLabel(grpTemplate);
    lblTSize2 = new QLabel(grpTemplate);
    lblLSize2 = new QLabel(grpTemplate);
    lblOrder2 = new QLabel(grpTemplate);
    QFont bold = lblOrder2->font();
    bold.setBold(true);
    for (QLabel* l : {lblUnits2, lblTSize2, lblLSize2, lblOrder2})
        l->setFont(bold);
    g->addWidget(Caption("Units:", grpTemplate), 0, 0);
    g->addWidget(lblUnits2, 0, 1);
    g->addWidget(Caption("Sheet Size:", grpTemplate), 1, 0);
    g->addWidget(lblTSize2, 1, 1);
    g->addWidget(Caption("Label Size:", grpTemplate), 2, 0);
    g->addWidget(lblLSize2, 2, 1);
    g->addWidget(Caption("Reorder label item number", grpTemplate), 3, 0);
    g->addWidget(lblOrder2, 3, 1);
    lay->addWidget(grpTemplate);

    auto* order = new QHBoxLayout;
    order->addWidget(Caption("Order on-line at", tsInfo));
    lblOrderWWW = new QLabel(kOrderWebAddress, tsInfo);
    lblOrderWWW->setStyleSheet("color: blue; text-decoration: underline;");
    lblOrderWWW->setCursor(Qt::PointingHandCursor);
    lblOrderWWW->installEventFilter(this);
    order->addWidget(lblOrderWWW);
    order->addStretch();
    lay->addLayout(order);
    lay->addStretch();
}

void TfrmLWParams::lblOrderWWWClick() {
    if (!ShellOpen(lblOrderWWW->text())) Information("Can't open " + lblOrderWWW->text().toStdString() + ".");
}

void TfrmLWParams::ShowInfo() {
    const TSheet& s = Sheet();
    const int units = s.Header.Units == 1 ? 1 : 0;
    const double f = tessora::UnitFactor(units);
    lblUnits2->setText(kUnitNames[size_t(units)]);
    lblTSize2->setText(QString::asprintf("%.2f x %.2f", s.ViewWidth / f, s.ViewHeight / f));
    lblLSize2->setText(QString::asprintf("%.2f x %.2f", s.Header.LabelWidth / f, s.Header.LabelHeight / f));
    lblOrder2->setText(QString::fromStdString(s.Header.OrderCode));
    ApplyUnits();
    LoadSerial();
    show();
}

void TfrmLWParams::ApplyUnits() {
    const double f = tessora::UnitFactor(Sheet().Header.Units);
    const QString unit = Sheet().Header.Units == 1 ? "in" : "mm";
    // The Text tab's edits stay in millimetres.
    for (TUnitSpinBox* e : {edtBGX, edtBGY, edtBCLeft, edtBCTop}) {
        e->SetUnitFactor(f);
        e->setSuffix(" " + unit);
    }
}

// ---------------------------------------------------------------- loading a label

void TfrmLWParams::ShowLabel(int label) {
    TSheet& s = Sheet();
    if (label >= 0 && size_t(label) < s.Labels.size()) {
        HasLabel = true;
        SetLabelTabsVisible(true);
        LoadLabelParams(label, s.CurFace);
        if (pgcParams->currentWidget() == tsInfo) pgcParams->setCurrentWidget(tsGraphic);
    } else {
        HasLabel = false;
        SetLabelTabsVisible(false);
        UpdateCaption();
        pgcParams->setCurrentWidget(tsInfo);
    }
}

void TfrmLWParams::LoadLabelParams(int label, int face) {
    TSheet& s = Sheet();
    if (label < 0 || size_t(label) >= s.Labels.size()) return;
    TSheetLabel& l = s.Label(label);
    if (face < 0 || size_t(face) >= l.Faces.size()) return;
    const QWidget* tab = pgcParams->currentWidget();
    Loading = true;
    HasLabel = true;
    ApplyUnits();
    UpdateCaption();
    LoadControlTab(label, face);
    LoadBarcodeTab(label, face);
    FillTextList();
    FillImageList(0);
    LoadOutlineTab(label);
    Loading = false;
    // Qt leaves a tab that was hidden (Filters of a face without images) for another one.
    if (pgcParams->currentWidget() != tab) pgcParamsChange();
}

// ---------------------------------------------------------------- moves from the sheet view

bool TfrmLWParams::DragObject(double dxMm, double dyMm) {
    bool moved = false;
    switch (ActiveKind()) {
    case pkGraphic:
        if (lstBGFiles->count() > 0) {
            if (lstAlign->currentIndex() == 0) moved |= edtBGX->AddMm(dxMm);
            if (lstAlign2->currentIndex() == 0) moved |= edtBGY->AddMm(dyMm);
        }
        break;
    case pkText:
        if (lstTObjs->count() > 0) {
            moved |= edtX->AddMm(dxMm);
            moved |= edtY->AddMm(dyMm);
        }
        break;
    case pkBarcode:
        if (lstBCTypes->currentIndex() > 0) {
            moved |= edtBCLeft->AddMm(dxMm);
            moved |= edtBCTop->AddMm(dyMm);
        }
        break;
    default:
        break;
    }
    return moved;
}

bool TfrmLWParams::NudgeObject(double dxMm, double dyMm) {
    bool moved = false;
    if (pgcParams->currentWidget() == tsGraphic && lstBGFiles->count() > 0) {
        moved |= edtBGX->AddMm(dxMm);
        moved |= edtBGY->AddMm(dyMm);
    } else if (pgcParams->currentWidget() == tsBarcode && lstBCTypes->currentIndex() > 0) {
        moved |= edtBCLeft->AddMm(dxMm);
        moved |= edtBCTop->AddMm(dyMm);
    } else if (pgcParams->currentWidget() == tsText && lstTObjs->currentRow() >= 0 && !PathPanelVisible()) {
        moved |= edtX->AddMm(dxMm);
        moved |= edtY->AddMm(dyMm);
    }
    return moved;
}

// ---------------------------------------------------------------- the edit cycle

void TfrmLWParams::Snapshot() {
    Sheet().Record(true);
    if (Hooks.EnableUndo) Hooks.EnableUndo();
}

void TfrmLWParams::Redraw(bool rebuild) {
    TSheet& s = Sheet();
    s.DrawLabel(s.CurLabel, -1, rebuild);
    if (Hooks.LabelRedrawn) Hooks.LabelRedrawn(s.CurLabel);
}

void TfrmLWParams::Refresh() {
    if (Hooks.Refresh3D) Hooks.Refresh3D();
}

} // namespace tessora
