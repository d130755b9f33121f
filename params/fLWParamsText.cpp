// The Text tab of the parameters window: the face's text objects, their geometry and order,
// the text dialog, and the path panel on which a text's path points are edited.
#include "params/fLWParams.h"
#include "params/uParamsWidgets.h"

#include "document/uCommon.h"
#include "document/uMessages.h"
#include "document/uTextPoints.h"
#include "params/fEditText.h"
#include "platform/uColor.h"
#include "sheetview/fraSheet.h"

#include <QComboBox>
#include <QDropEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedLayout>
#include <QToolButton>
#include <QVBoxLayout>

namespace tessora {

namespace {

// Small painted glyphs for the tab's tool buttons.
QIcon Glyph(char kind) {
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    auto pen = [&p](QColor c, double w) { p.setPen(QPen(c, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin)); };
    switch (kind) {
    case '+': // add
        pen(QColor(0, 128, 0), 2.5);
        p.drawLine(QPointF(8, 3), QPointF(8, 13));
        p.drawLine(QPointF(3, 8), QPointF(13, 8));
        break;
    case 'e': // edit: a pencil
        pen(QColor(0, 0, 160), 2);
        p.drawLine(QPointF(4, 12), QPointF(12, 4));
        pen(QColor(0, 0, 160), 1);
        p.drawLine(QPointF(3, 13), QPointF(5.5, 12.5));
        break;
    case 'x': // delete
        pen(QColor(192, 0, 0), 2.5);
        p.drawLine(QPointF(4, 4), QPointF(12, 12));
        p.drawLine(QPointF(12, 4), QPointF(4, 12));
        break;
    case 'h': // centre across: a bar between two arrows
    case 'v': {
        if (kind == 'v') {
            p.translate(8, 8);
            p.rotate(90);
            p.translate(-8, -8);
        }
        pen(Qt::black, 1);
        p.drawLine(QPointF(8, 2), QPointF(8, 14));
        p.setBrush(Qt::black);
        p.drawPolygon(QPolygonF({QPointF(1, 8), QPointF(5, 5), QPointF(5, 11)}));
        p.drawPolygon(QPolygonF({QPointF(15, 8), QPointF(11, 5), QPointF(11, 11)}));
        break;
    }
    default: { // arrows: U D L R
        const int turns = kind == 'U' ? 0 : kind == 'R' ? 1 : kind == 'D' ? 2 : 3;
        p.translate(8, 8);
        p.rotate(90 * turns);
        p.translate(-8, -8);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        p.drawPolygon(QPolygonF({QPointF(8, 3), QPointF(14, 11), QPointF(2, 11)}));
        break;
    }
    }
    return QIcon(pm);
}

QToolButton* ToolButton(QWidget* parent, const char* name, char glyph, const QString& hint) {
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setIcon(Glyph(glyph));
    b->setIconSize(QSize(16, 16));
    b->setToolTip(hint);
    return b;
}

// The first n characters (code points, one byte each on disk) of a UTF-8 text.
std::string FirstChars(const std::string& utf8, qsizetype n) {
    const QList<uint> cps = QString::fromStdString(utf8).toUcs4();
    if (cps.size() <= n) return utf8;
    return QString::fromUcs4(reinterpret_cast<const char32_t*>(cps.constData()), n).toStdString();
}

} // namespace

// ---------------------------------------------------------------- building

void TfrmLWParams::BuildTextTab() {
    auto* tab = new QVBoxLayout(tsText);
    tab->setContentsMargins(6, 6, 6, 4);
    tab->setSpacing(4);
    stkText = new QStackedLayout;
    tab->addLayout(stkText, 1);

    auto* page = new QWidget(tsText);
    page->setObjectName("pnlTextObjects");
    auto* h = new QHBoxLayout(page);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(8);

    auto* left = new QVBoxLayout;
    left->setSpacing(2);
    left->addWidget(new QLabel("Select Text Block To Edit:", page));
    auto* list = new TDragOrderList(page);
    connect(list, &TDragOrderList::moveRequested, this, [this](int from, int to) { MoveText(from, to); });
    lstTObjs = list;
    lstTObjs->setObjectName("lstTObjs");
    lstTObjs->setToolTip(" Drag and drop a text to change the drawing order ");
    left->addWidget(lstTObjs, 1);
    h->addLayout(left, 5);

    auto* buttons = new QGridLayout;
    buttons->setVerticalSpacing(4);
    btnAdd = ToolButton(page, "btnAdd", '+', " Add Text ");
    btnEdit = ToolButton(page, "btnEdit", 'e', " Edit Text ");
    btnDel = ToolButton(page, "btnDel", 'x', " Delete Text ");
    int row = 0;
    buttons->setRowMinimumHeight(row++, 14);
    for (auto [caption, b] : {std::pair{"Add Text:", btnAdd}, std::pair{"Edit Text:", btnEdit},
                              std::pair{"Delete Text:", btnDel}}) {
        buttons->addWidget(new QLabel(caption, page), row, 0);
        buttons->addWidget(b, row++, 1);
    }
    buttons->setRowStretch(row, 1);
    h->addLayout(buttons);

    auto* geo = new QGridLayout;
    geo->setHorizontalSpacing(4);
    geo->setVerticalSpacing(3);
    edtX = new TUnitSpinBox(-300, 300, 1, 1, page);
    edtY = new TUnitSpinBox(-300, 300, 1, 1, page);
    edtWidth = new TUnitSpinBox(-300, 300, 1, 1, page);
    edtX->setObjectName("edtX");
    edtY->setObjectName("edtY");
    edtWidth->setObjectName("edtWidth");
    lstAlignTxt = new QComboBox(page);
    lstAlignTxt->setObjectName("lstAlignTxt");
    lstAlignTxt->addItems({"Left", "Center", "Right"});
    lstFlip2 = new QComboBox(page);
    lstFlip2->setObjectName("lstFlip2");
    lstFlip2->addItems({"<none>", "Hor.", "Ver."});
    edtAngle2 = new QSpinBox(page);
    edtAngle2->setObjectName("edtAngle2");
    edtAngle2->setRange(-360, 360);
    edtAngle2->setKeyboardTracking(false);
    edtPath = new QSpinBox(page);
    edtPath->setObjectName("edtPath");
    edtPath->setEnabled(false);
    btnAlnHoriz = ToolButton(page, "btnAlnHoriz", 'h', " Horizontal Align ");
    btnAlnVert = ToolButton(page, "btnAlnVert", 'v', " Vertical Align ");
    row = 0;
    geo->addWidget(new QLabel("X (mm):", page), row, 0);
    geo->addWidget(edtX, row, 1);
    geo->addWidget(btnAlnHoriz, row++, 2);
    geo->addWidget(new QLabel("Y (mm):", page), row, 0);
    geo->addWidget(edtY, row, 1);
    geo->addWidget(btnAlnVert, row++, 2);
    geo->addWidget(new QLabel("Width (mm):", page), row, 0);
    geo->addWidget(edtWidth, row++, 1);
    geo->addWidget(new QLabel("Align:", page), row, 0);
    geo->addWidget(lstAlignTxt, row++, 1);
    geo->addWidget(new QLabel("Flip:", page), row, 0);
    geo->addWidget(lstFlip2, row++, 1);
    geo->addWidget(new QLabel("Angle:", page), row, 0);
    geo->addWidget(edtAngle2, row++, 1);
    geo->addWidget(new QLabel("Path Height:", page), row, 0);
    geo->addWidget(edtPath, row++, 1);
    geo->setRowStretch(row, 1);
    geo->setColumnMinimumWidth(1, 80);
    h->addLayout(geo, 3);
    stkText->addWidget(page);

    BuildPathPanel(tsText);
    stkText->addWidget(pnlPath);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    btnDrawPath = new QPushButton("Draw Path", tsText);
    btnDrawPath->setObjectName("btnDrawPath");
    btnDrawPath->setCheckable(true);
    btnDrawPath->setMinimumWidth(90);
    bottom->addWidget(btnDrawPath);
    tab->addLayout(bottom);

    connect(btnAdd, &QToolButton::clicked, this, [this] { AddOrEditText(true); });
    connect(btnEdit, &QToolButton::clicked, this, [this] { AddOrEditText(false); });
    connect(btnDel, &QToolButton::clicked, this, [this] { DeleteText(); });
    connect(btnAlnHoriz, &QToolButton::clicked, this, [this] { AlignTextBox(true); });
    connect(btnAlnVert, &QToolButton::clicked, this, [this] { AlignTextBox(false); });
    connect(edtX, &QDoubleSpinBox::valueChanged, this, [this] { edtXChange(); });
    connect(edtY, &QDoubleSpinBox::valueChanged, this, [this] { edtXChange(); });
    auto geometry = [this] {
        if (Loading || LoadingText) return;
        ApplyTextGeometry(true);
    };
    connect(edtWidth, &QDoubleSpinBox::valueChanged, this, geometry);
    connect(edtAngle2, &QSpinBox::valueChanged, this, geometry);
    connect(lstAlignTxt, &QComboBox::currentIndexChanged, this, geometry);
    connect(lstFlip2, &QComboBox::currentIndexChanged, this, geometry);
    connect(lstTObjs, &QListWidget::itemClicked, this, [this] { lstTObjsClick(); });
    connect(btnDrawPath, &QPushButton::clicked, this, [this] { btnDrawPathClick(); });

    // Presses on the label while Draw Path is down become path points.
    Frame->OnPathPoint = [this](double x, double y) {
        if (DrawPathOn()) AddPoint(x, y);
    };
    UpdateTextControls();
    UpdatePathControls();
}

void TfrmLWParams::BuildPathPanel(QWidget* parent) {
    pnlPath = new QFrame(parent);
    pnlPath->setObjectName("pnlPath");
    auto* h = new QHBoxLayout(pnlPath);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(10);

    auto* left = new QVBoxLayout;
    left->setSpacing(2);
    left->addWidget(new QLabel("Path Points:", pnlPath));
    lstPoints = new QListWidget(pnlPath);
    lstPoints->setObjectName("lstPoints");
    left->addWidget(lstPoints, 1);
    auto* hint = new QLabel("Click on the label to add a point", pnlPath);
    hint->setStyleSheet("color: #505050;");
    left->addWidget(hint);
    h->addLayout(left, 4);

    auto* pos = new QGridLayout;
    pos->setHorizontalSpacing(4);
    pos->setVerticalSpacing(3);
    auto spin = [this](const char* name) {
        auto* e = new QDoubleSpinBox(pnlPath);
        e->setObjectName(name);
        e->setRange(-300, 300);
        e->setDecimals(1);
        e->setKeyboardTracking(false);
        e->setMinimumWidth(80);
        return e;
    };
    edtPosPX = spin("edtPosPX");
    edtPosPY = spin("edtPosPY");
    pos->setRowMinimumHeight(0, 14);
    pos->addWidget(new QLabel("X (mm):", pnlPath), 1, 0);
    pos->addWidget(edtPosPX, 1, 1);
    pos->addWidget(new QLabel("Y (mm):", pnlPath), 2, 0);
    pos->addWidget(edtPosPY, 2, 1);
    auto* arrows = new QGridLayout;
    arrows->setSpacing(1);
    btnPathUp = ToolButton(pnlPath, "btnPathUp", 'U', " Move Path Up ");
    btnPathDown = ToolButton(pnlPath, "btnPathDown", 'D', " Move Path Down ");
    btnPathLeft = ToolButton(pnlPath, "btnPathLeft", 'L', " Move Path Left ");
    btnPathRight = ToolButton(pnlPath, "btnPathRight", 'R', " Move Path Right ");
    arrows->addWidget(btnPathUp, 0, 1);
    arrows->addWidget(btnPathLeft, 1, 0);
    arrows->addWidget(btnPathRight, 1, 2);
    arrows->addWidget(btnPathDown, 2, 1);
    pos->addWidget(new QLabel("Move Path:", pnlPath), 3, 0, 1, 2);
    pos->addLayout(arrows, 4, 0, 1, 2, Qt::AlignHCenter);
    pos->setRowStretch(5, 1);
    h->addLayout(pos, 3);

    auto* cmds = new QVBoxLayout;
    cmds->setSpacing(4);
    cmds->addSpacing(14);
    btnAddPoint = new QPushButton("Add Point", pnlPath);
    btnDelPoint = new QPushButton("Delete Point", pnlPath);
    btnClearPoints = new QPushButton("Clear Points", pnlPath);
    btnAddPoint->setObjectName("btnAddPoint");
    btnDelPoint->setObjectName("btnDelPoint");
    btnClearPoints->setObjectName("btnClearPoints");
    for (QPushButton* b : {btnAddPoint, btnDelPoint, btnClearPoints})
        cmds->addWidget(b);
    cmds->addStretch();
    h->addLayout(cmds, 2);

    connect(lstPoints, &QListWidget::itemClicked, this, [this] { lstPointsClick(); });
    connect(edtPosPX, &QDoubleSpinBox::valueChanged, this, [this] { edtPosPXChange(); });
    connect(edtPosPY, &QDoubleSpinBox::valueChanged, this, [this] { edtPosPXChange(); });
    connect(btnPathUp, &QToolButton::clicked, this, [this] { MovePoints(0, -0.5); });
    connect(btnPathDown, &QToolButton::clicked, this, [this] { MovePoints(0, 0.5); });
    connect(btnPathLeft, &QToolButton::clicked, this, [this] { MovePoints(-0.5, 0); });
    connect(btnPathRight, &QToolButton::clicked, this, [this] { MovePoints(0.5, 0); });
    connect(btnAddPoint, &QPushButton::clicked, this, [this] { AddPoint(0, 0); });
    connect(btnDelPoint, &QPushButton::clicked, this, [this] { DeletePoint(); });
    connect(btnClearPoints, &QPushButton::clicked, this, [this] { ClearPoints(); });
}

// ---------------------------------------------------------------- the text list

void TfrmLWParams::UpdateTextControls() {
    const bool any = lstTObjs->count() > 0;
    for (QWidget* w :
         std::initializer_list<QWidget*>{lstTObjs, btnEdit, btnDel, btnAlnHoriz, btnAlnVert, edtX, edtY,
                                         edtWidth, lstAlignTxt, lstFlip2, edtAngle2, btnDrawPath})
        w->setEnabled(any);
    // Without texts there is no path to draw.
    if (!any && DrawPathOn()) SetDrawPath(false);
}

void TfrmLWParams::FillTextList() {
    lstTObjs->clear();
    LoadedText = -1;
    if (HaveCurrentFace())
        for (const auto& t : Sheet().Face(-1, 0).Texts)
            lstTObjs->addItem(QString::fromStdString(t->Text));
    UpdateTextControls();
    if (lstTObjs->count() > 0)
        SelectText(0);
    else
        LoadTextPoints({});
}

void TfrmLWParams::SelectText(int i) {
    Sheet().SelIndex = i;
    LoadedText = i;
    if (i < 0 || i >= lstTObjs->count()) {
        LoadTextPoints({});
        return;
    }
    lstTObjs->setCurrentRow(i);
    LoadText();
}

void TfrmLWParams::LoadText() {
    if (!HaveCurrentFace()) return;
    TLabelFace& f = Sheet().Face(-1, 0);
    const int i = lstTObjs->currentRow();
    if (i < 0 || size_t(i) >= f.Texts.size()) return;
    const TLabelText& t = f.Text(i);
    LoadingText = true;
    edtX->SetMm(t.X);
    edtY->SetMm(t.Y);
    edtWidth->SetMm(t.Width);
    lstAlignTxt->setCurrentIndex(std::min<int>(t.AlignTxt, 2));
    edtAngle2->setValue(std::clamp<int32_t>(t.Angle, -360, 360));
    lstFlip2->setCurrentIndex(std::min<int>(t.Flip, 2));
    LoadingText = false;
    LoadTextPoints(t.Points);
}

void TfrmLWParams::LoadTextPoints(const std::string& points) {
    QStringList before, after;
    for (int i = 0; i < lstPoints->count(); ++i)
        before << lstPoints->item(i)->text();
    const int row = lstPoints->currentRow();
    for (const std::string& item : SplitTextPointItems(points))
        after << QString::fromStdString(item);
    LoadingText = true;
    lstPoints->clear();
    lstPoints->addItems(after);
    LoadingText = false;
    // The sheet view selects the text again at every press in Draw Path mode: the point
    // just added stays the selected one.
    if (lstPoints->count() > 0) SelectPoint(after == before && row >= 0 ? row : 0);
    UpdatePathControls();
}

void TfrmLWParams::lstTObjsClick() {
    const int i = lstTObjs->currentRow();
    if (i == LoadedText) return;
    SelectText(i);
    Redraw(false);
}

void TfrmLWParams::MoveText(int from, int to) {
    if (!HaveCurrentFace() || from == to) return;
    auto& texts = Sheet().Face(-1, 0).Texts;
    const int n = int(texts.size());
    if (from < 0 || to < 0 || from >= n || to >= n || lstTObjs->count() != n) return;
    auto moved = std::move(texts[size_t(from)]);
    texts.erase(texts.begin() + from);
    texts.insert(texts.begin() + to, std::move(moved));
    QListWidgetItem* item = lstTObjs->takeItem(from);
    lstTObjs->insertItem(to, item);
    lstTObjs->setCurrentRow(to);
    LoadedText = to;
    Sheet().SelIndex = to;
    Redraw(false);
    if (Hooks.EnableSave) Hooks.EnableSave();
    Refresh();
}

// ---------------------------------------------------------------- geometry

void TfrmLWParams::edtXChange() {
    if (Loading || LoadingText) return;
    // A drag recorded its undo step at its first movement and refreshes the preview on release.
    if (Drag->Active) Drag->UndoTaken = true;
    ApplyTextGeometry(!Drag->Active);
}

void TfrmLWParams::ApplyTextGeometry(bool refresh) {
    if (Loading || LoadingText || !HaveCurrentFace()) return;
    TLabelFace& f = Sheet().Face(-1, 0);
    const int i = lstTObjs->currentRow();
    if (i < 0 || size_t(i) >= f.Texts.size()) return;
    if (!Drag->UndoTaken) Snapshot();
    TLabelText& t = f.Text(i);
    t.X = edtX->Mm();
    t.Y = edtY->Mm();
    t.Width = edtWidth->Mm();
    t.AlignTxt = uint8_t(std::max(0, lstAlignTxt->currentIndex()));
    t.Angle = edtAngle2->value();
    t.Flip = uint8_t(std::max(0, lstFlip2->currentIndex()));
    Redraw(false);
    if (Hooks.EnableSave) Hooks.EnableSave();
    if (refresh) Refresh();
}

// Centres the selected text's drawn box across (horizontal) or down the label.
void TfrmLWParams::AlignTextBox(bool horizontal) {
    if (!HaveCurrentFace()) return;
    TLabelFace& f = Sheet().Face(-1, 0);
    const int i = lstTObjs->currentRow();
    if (i < 0 || size_t(i) >= f.Texts.size()) return;
    const TSheet& s = Sheet();
    const TRect& b = f.Text(i).Bounds;
    // On a box the text is centred on its panel, which is what its position is measured from.
    const bool box = s.Header.Shape == lsBox;
    LoadingText = true;
    if (horizontal) {
        const double across = box ? s.PxToMmX(s.FaceExtent().width()) : s.Header.LabelWidth;
        edtX->SetMm((across - s.PxToMmX(b.Right - b.Left - 1)) / 2);
    } else {
        const double down = box ? s.PxToMmY(s.FaceExtent().height()) : s.Header.LabelHeight;
        edtY->SetMm((down - s.PxToMmY(b.Bottom - b.Top - 1)) / 2);
    }
    LoadingText = false;
    ApplyTextGeometry(true);
}

// ---------------------------------------------------------------- add, edit, delete

void TfrmLWParams::AddOrEditText(bool add) {
    if (!HaveCurrentFace()) return;
    pgcParams->setCurrentWidget(tsText);
    const int sel = lstTObjs->currentRow();
    if (!add && (sel < 0 || size_t(sel) >= Sheet().Face(-1, 0).Texts.size())) return;
    TfrmEditText dlg(this, MainWindow);
    if (!add) {
        const TLabelText& t = Sheet().Face(-1, 0).Text(sel);
        dlg.Preset(t.Text, t.FontName, t.FontStyle, t.FontColor, t.FontSize);
    }
    if (dlg.exec() != QDialog::Accepted) return;
    // The dialog may have run a long time: the face is looked up again.
    if (!HaveCurrentFace()) return;
    Snapshot();
    TSheet& s = Sheet();
    TLabelFace& f = s.Face(-1, 0);
    const QString shown = QString::fromStdString(dlg.Text());
    int i = sel;
    if (add) {
        const bool box = s.Header.Shape == lsBox;
        f.Texts.push_back(std::make_unique<TLabelText>(
            box ? 0 : s.Header.LabelWidth / 2, box ? 0 : s.Header.LabelHeight / 2, s.Header.LabelWidth - 2));
        lstTObjs->addItem(shown);
        UpdateTextControls();
        i = lstTObjs->count() - 1;
        SelectText(i);
    } else {
        if (i < 0 || size_t(i) >= f.Texts.size()) return;
        lstTObjs->item(i)->setText(shown);
    }
    TLabelText& t = f.Text(i);
    t.Text = FirstChars(dlg.Text(), 255);
    t.FontName = FirstChars(dlg.FontName(), 50);
    t.FontSize = uint8_t(std::clamp(dlg.FontSize(), 1, 255));
    t.FontColor = dlg.FontColor();
    t.FontStyle = dlg.StyleFlags();
    Redraw(false);
    if (Hooks.EnableSave) Hooks.EnableSave();
    Refresh();
}

void TfrmLWParams::DeleteText() {
    if (!HaveCurrentFace()) return;
    auto& texts = Sheet().Face(-1, 0).Texts;
    const int i = lstTObjs->currentRow();
    if (i < 0 || size_t(i) >= texts.size()) return;
    if (Confirm("Delete Text?", mbYes | mbNo) != mbYes) return;
    Snapshot();
    texts.erase(texts.begin() + i);
    delete lstTObjs->takeItem(i);
    const int next = std::min(i, lstTObjs->count() - 1);
    UpdateTextControls();
    SelectText(next);
    Redraw(false);
    if (Hooks.EnableSave) Hooks.EnableSave();
    Refresh();
}

// ---------------------------------------------------------------- path panel

bool TfrmLWParams::DrawPathOn() const {
    return btnDrawPath && btnDrawPath->isChecked();
}

bool TfrmLWParams::PathPanelVisible() const {
    return stkText && stkText->currentWidget() == pnlPath;
}

void TfrmLWParams::SetDrawPath(bool on) {
    if (on == DrawPathOn() && on == PathPanelVisible()) return;
    btnDrawPath->setChecked(on);
    btnDrawPathClick();
}

void TfrmLWParams::btnDrawPathClick() {
    const bool on = btnDrawPath->isChecked();
    if (on) {
        stkText->setCurrentWidget(pnlPath);
        btnDrawPath->setText("Edit Text");
        Frame->SetZoom(true);
        Frame->SetPathMode(true);
    } else {
        stkText->setCurrentIndex(0);
        btnDrawPath->setText("Draw Path");
        Frame->SetPathMode(false);
        Frame->SetZoom(false);
    }
}

void TfrmLWParams::UpdatePathControls() {
    const bool any = lstPoints->count() > 0;
    for (QWidget* w : std::initializer_list<QWidget*>{lstPoints, edtPosPX, edtPosPY, btnPathUp, btnPathDown,
                                                      btnPathLeft, btnPathRight, btnDelPoint, btnClearPoints})
        w->setEnabled(any);
}

void TfrmLWParams::SelectPoint(int i) {
    if (i < 0 || i >= lstPoints->count()) return;
    LoadingText = true;
    lstPoints->setCurrentRow(i);
    TPointMM p{0, 0};
    ReadTextPointItem(lstPoints->item(i)->text().toStdString(), p);
    edtPosPX->setValue(p.X);
    edtPosPY->setValue(p.Y);
    LoadingText = false;
}

void TfrmLWParams::lstPointsClick() {
    SelectPoint(lstPoints->currentRow());
}

void TfrmLWParams::AddPoint(double x, double y) {
    if (!HaveCurrentFace() || lstTObjs->currentRow() < 0) return;
    lstPoints->addItem(QString::fromStdString(FormatTextPoint(x, y)));
    SelectPoint(lstPoints->count() - 1);
    PointsChanged();
}

void TfrmLWParams::edtPosPXChange() {
    if (Loading || LoadingText) return;
    QListWidgetItem* item = lstPoints->currentItem();
    if (!item) return;
    item->setText(QString::fromStdString(FormatTextPointShortest(edtPosPX->value(), edtPosPY->value())));
    PointsChanged();
}

void TfrmLWParams::MovePoints(double dx, double dy) {
    if (lstPoints->count() == 0) return;
    for (int i = 0; i < lstPoints->count(); ++i) {
        QListWidgetItem* item = lstPoints->item(i);
        TPointMM p;
        // An item that holds no point is left as it stands.
        if (ReadTextPointItem(item->text().toStdString(), p))
            item->setText(QString::fromStdString(FormatTextPointShortest(p.X + dx, p.Y + dy)));
    }
    SelectPoint(lstPoints->currentRow());
    PointsChanged();
}

void TfrmLWParams::DeletePoint() {
    const int i = lstPoints->currentRow();
    if (i < 0) return;
    if (Confirm("Delete Point", mbYes | mbNo) != mbYes) return;
    delete lstPoints->takeItem(i);
    SelectPoint(std::min(i, lstPoints->count() - 1));
    PointsChanged();
}

void TfrmLWParams::ClearPoints() {
    if (lstPoints->count() == 0) return;
    if (Confirm("Clear Points?", mbYes | mbNo) != mbYes) return;
    LoadingText = true;
    lstPoints->clear();
    LoadingText = false;
    PointsChanged();
}

void TfrmLWParams::PointsChanged() {
    UpdatePathControls();
    if (!HaveCurrentFace()) return;
    TLabelFace& f = Sheet().Face(-1, 0);
    const int i = lstTObjs->currentRow();
    if (i < 0 || size_t(i) >= f.Texts.size()) return;
    std::vector<std::string> items;
    for (int k = 0; k < lstPoints->count(); ++k)
        items.push_back(lstPoints->item(k)->text().toStdString());
    // Points that no longer fit are left off whole, never stored as half a point.
    f.Text(i).Points = JoinTextPointItems(items);
    Redraw(false);
    if (Hooks.EnableSave) Hooks.EnableSave();
    Refresh();
}

} // namespace tessora
