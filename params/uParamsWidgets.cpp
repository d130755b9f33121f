#include "params/uParamsWidgets.h"

#include "platform/uColor.h"

#include <QColorDialog>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

namespace tessora {

TOnOffCheckBox::TOnOffCheckBox(QWidget* parent) : QCheckBox("OFF", parent) {}

void TOnOffCheckBox::checkStateSet() {
    QCheckBox::checkStateSet();
    setText(isChecked() ? "ON" : "OFF");
}

void TOnOffCheckBox::nextCheckState() {
    QCheckBox::nextCheckState();
    setText(isChecked() ? "ON" : "OFF");
}

TColorSwatch::TColorSwatch(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setCursor(Qt::PointingHandCursor);
}

void TColorSwatch::SetColor(uint32_t c) {
    Value = c & 0xFFFFFF;
    update();
}

void TColorSwatch::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) Q_EMIT clicked();
    QFrame::mouseReleaseEvent(e);
}

void TColorSwatch::paintEvent(QPaintEvent* e) {
    QPainter p(this);
    p.fillRect(contentsRect(), ToQColor(Value));
    p.end();
    QFrame::paintEvent(e);
}

namespace {

// The standard colours of the drop-down, 0x00BBGGRR.
struct TNamedColor {
    const char* Name;
    uint32_t Value;
};
constexpr TNamedColor kStandardColors[] = {
    {"Black", 0x000000},  {"Maroon", 0x000080},  {"Green", 0x008000}, {"Olive", 0x008080},
    {"Navy", 0x800000},   {"Purple", 0x800080},  {"Teal", 0x808000},  {"Gray", 0x808080},
    {"Silver", 0xC0C0C0}, {"Red", 0x0000FF},     {"Lime", 0x00FF00},  {"Yellow", 0x00FFFF},
    {"Blue", 0xFF0000},   {"Fuchsia", 0xFF00FF}, {"Aqua", 0xFFFF00},  {"White", 0xFFFFFF},
};

QIcon ColorIcon(uint32_t c, QSize size) {
    QPixmap pm(size);
    pm.fill(ToQColor(c));
    QPainter p(&pm);
    p.setPen(Qt::darkGray);
    p.drawRect(0, 0, size.width() - 1, size.height() - 1);
    return QIcon(pm);
}

} // namespace

TColorButton::TColorButton(QWidget* parent) : QToolButton(parent) {
    setPopupMode(QToolButton::InstantPopup);
    setIconSize(QSize(34, 12));
    auto* menu = new QMenu(this);
    for (const TNamedColor& c : kStandardColors)
        menu->addAction(ColorIcon(c.Value, QSize(16, 12)), c.Name, this, [this, v = c.Value] { Pick(v); });
    menu->addSeparator();
    menu->addAction("More...", this, [this] {
        const QColor c = QColorDialog::getColor(ToQColor(Value), this);
        if (c.isValid()) Pick(FromQColor(c));
    });
    setMenu(menu);
    UpdateIcon();
}

void TColorButton::SetColor(uint32_t c) {
    Value = c & 0xFFFFFF;
    UpdateIcon();
}

void TColorButton::Pick(uint32_t c) {
    SetColor(c);
    Q_EMIT colorPicked(Value);
}

void TColorButton::UpdateIcon() {
    setIcon(ColorIcon(Value, iconSize()));
}

} // namespace tessora

#include <QDropEvent>
#include <QMimeData>

namespace tessora {

TDragOrderList::TDragOrderList(QWidget* parent) : QListWidget(parent) {
    setDragEnabled(true);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::CopyAction);
    setDropIndicatorShown(true);
}

bool TDragOrderList::OwnItems(const QDropEvent* e) const {
    // Items of this list (a drag from here, or the same list format dropped from outside,
    // which reorders nothing but the dragged row).
    const QStringList types = model()->mimeTypes();
    return e->source() == this ||
           (!e->source() && !types.isEmpty() && e->mimeData()->hasFormat(types.first()));
}

void TDragOrderList::dragMoveEvent(QDragMoveEvent* e) {
    if (!OwnItems(e)) {
        e->ignore();
        return;
    }
    QListWidget::dragMoveEvent(e);
    e->setDropAction(Qt::CopyAction);
    e->accept();
}

void TDragOrderList::dropEvent(QDropEvent* e) {
    if (!OwnItems(e)) {
        e->ignore();
        return;
    }
    const int from = currentRow();
    const QModelIndex at = indexAt(e->position().toPoint());
    // Copy, not move: the view must not remove the dragged item itself.
    e->setDropAction(Qt::CopyAction);
    e->accept();
    if (from >= 0 && at.isValid() && at.row() != from) Q_EMIT moveRequested(from, at.row());
}

} // namespace tessora
