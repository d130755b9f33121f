// The parameters window's Control, Barcode, Outline and Settings tabs, and the colour picker's
// targets in this window.
#include "barcode/Barcode.h"
#include "params/fClone.h"
#include "params/fColorPicker.h"
#include "params/fLWParams.h"
#include "params/uParamsWidgets.h"
#include "platform/uColor.h"
#include "platform/uSettings.h"
#include "sheetview/fraSheet.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

namespace tessora {

namespace {

QFont Bold(QFont f, int px = 0) {
    f.setBold(true);
    if (px) f.setPixelSize(px);
    return f;
}

QComboBox* List(const char* name, const QStringList& items, QWidget* parent) {
    auto* l = new QComboBox(parent);
    l->setObjectName(name);
    l->addItems(items);
    return l;
}

QDoubleSpinBox* MmEdit(const char* name, double lo, double hi, double step, QWidget* parent) {
    auto* e = new QDoubleSpinBox(parent);
    e->setObjectName(name);
    e->setRange(lo, hi);
    e->setDecimals(1);
    e->setSingleStep(step);
    e->setSuffix(" mm");
    e->setKeyboardTracking(false);
    return e;
}

// A rounded rectangle standing for a label with its printed outline.
class TOutlineShape : public QFrame {
public:
    TOutlineShape(TColorButton* color, QSpinBox* thick, QWidget* parent)
        : QFrame(parent), Color(color), Thick(thick) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const int t = Thick->value();
        p.setPen(QPen(ToQColor(Color->Color()), t));
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRectF(rect()).adjusted(t / 2.0 + 1, t / 2.0 + 1, -t / 2.0 - 1, -t / 2.0 - 1), 10,
                          10);
    }

private:
    TColorButton* Color;
    QSpinBox* Thick;
};

// The glyph of a workspace mode button: a label space in white or in the workspace colour.
QIcon SpaceGlyph(QColor fill) {
    QPixmap pm(20, 14);
    pm.fill(QColor(0xC8, 0xF8, 0xFD).darker(105));
    QPainter p(&pm);
    p.setPen(Qt::darkGray);
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(3.5, 2.5, 13, 9), 2, 2);
    return QIcon(pm);
}

} // namespace

// ---------------------------------------------------------------- Control tab

void TfrmLWParams::BuildControlTab() {
    auto* g = new QGridLayout(tsControl);
    g->setContentsMargins(10, 8, 10, 6);
    g->setHorizontalSpacing(10);
    g->setVerticalSpacing(8);

    btnClone = new QPushButton("Clone Label", tsControl);
    btnClone->setObjectName("btnClone");
    btnClone->setToolTip(" Clone current label ");
    g->addWidget(btnClone, 0, 0, Qt::AlignLeft);

    auto* grpVis = new QGroupBox(tsControl);
    auto* v = new QHBoxLayout(grpVis);
    chbVis = new TOnOffCheckBox(grpVis);
    chbVis->setObjectName("chbVis");
    chbVis->setFont(Bold(chbVis->font()));
    chbVis->setFixedWidth(50);
    v->addWidget(chbVis);
    v->addWidget(new QLabel("Turn current Label On/Off\nfor printing to save on Ink and Paper", grpVis), 1);
    g->addWidget(grpVis, 1, 0, 1, 3);

    auto* grpColor = new QGroupBox(tsControl);
    auto* c = new QHBoxLayout(grpColor);
    chbBGColor = new TOnOffCheckBox(grpColor);
    chbBGColor->setObjectName("chbBGColor");
    chbBGColor->setFont(Bold(chbBGColor->font()));
    chbBGColor->setFixedWidth(50);
    c->addWidget(chbBGColor);
    c->addWidget(new QLabel("Select Label Background Color\nto Print\nor turn Label Color On/Off", grpColor),
                 1);
    shpLblColor = new TColorSwatch(grpColor);
    shpLblColor->setObjectName("shpLblColor");
    shpLblColor->setFixedSize(40, 30);
    c->addWidget(shpLblColor);
    btnColor = new QPushButton("Label Color", grpColor);
    btnColor->setObjectName("btnColor");
    btnColor->setToolTip(" Set label color ");
    c->addWidget(btnColor);
    g->addWidget(grpColor, 2, 0, 1, 3);
    g->setRowStretch(3, 1);
    g->setColumnStretch(2, 1);

    connect(btnClone, &QPushButton::clicked, this, [this] { CloneLabel(Sheet().CurLabel); });
    connect(chbVis, &QCheckBox::toggled, this, [this] { ApplyOutline(); });
    connect(btnColor, &QPushButton::clicked, this, [this] { OpenPicker(ptLabelColor); });
    connect(shpLblColor, &TColorSwatch::clicked, this, [this] { OpenPicker(ptLabelColor); });
    connect(chbBGColor, &QCheckBox::toggled, this, [this] { ApplyLabelColor(); });
}

void TfrmLWParams::LoadControlTab(int label, int face) {
    TSheetLabel& l = Sheet().Label(label);
    const TLabelFace& f = l.Face(face);
    chbVis->setChecked(l.Vis);
    chbVisFr->setChecked(l.VisFr);
    chbBGColor->setChecked(f.BGColorOn);
    shpLblColor->SetColor(f.BGColor);
}

void TfrmLWParams::ApplyLabelColor() {
    if (Loading || !HaveCurrentFace()) return;
    Snapshot();
    TLabelFace& f = Sheet().Face(-1, 0);
    f.BGColor = shpLblColor->Color();
    f.BGColorOn = chbBGColor->isChecked();
    Redraw(false);
    if (Hooks.EnableSave) Hooks.EnableSave();
    Refresh();
}

bool TfrmLWParams::CloneLabel(int source) {
    TSheet& s = Sheet();
    if (source < 0 || size_t(source) >= s.Labels.size()) return false;
    TfrmClone dlg(source, int(s.Labels.size()), MainWindow ? MainWindow : this);
    if (dlg.exec() != QDialog::Accepted) return false;
    s.Record(false);
    if (Hooks.EnableUndo) Hooks.EnableUndo();
    CloneLabelOnto(s, source, dlg.Targets());
    Frame->Changed();
    if (Hooks.EnableSave) Hooks.EnableSave();
    RefreshLabelState();
    return true;
}

void TfrmLWParams::RefreshLabelState() {
    TSheet& s = Sheet();
    if (!HasLabel || s.CurLabel < 0 || size_t(s.CurLabel) >= s.Labels.size()) return;
    // Under the loading state the mirrored buttons and captions follow, nothing is applied.
    Loading = true;
    chbVis->setChecked(s.Label(s.CurLabel).Vis);
    chbVisFr->setChecked(s.Label(s.CurLabel).VisFr);
    Loading = false;
}

// ---------------------------------------------------------------- Barcode tab

void TfrmLWParams::BuildBarcodeTab() {
    auto* g = new QGridLayout(tsBarcode);
    g->setContentsMargins(8, 6, 8, 4);
    g->setHorizontalSpacing(6);
    g->setVerticalSpacing(5);
    auto caption = [this](const char* text) { return new QLabel(text, tsBarcode); };

    g->addWidget(caption("Barcode Type:"), 0, 0);
    lstBCTypes = new QComboBox(tsBarcode);
    lstBCTypes->setObjectName("lstBCTypes");
    lstBCTypes->addItem("<Select Type>");
    for (int t = 0; t < kBarcodeTypeCount; ++t)
        lstBCTypes->addItem(BarcodeDisplayName(t));
    g->addWidget(lstBCTypes, 0, 1, 1, 2);
    btnDelBarcode = new QPushButton("Remove Barcode", tsBarcode);
    btnDelBarcode->setObjectName("btnDelBarcode");
    g->addWidget(btnDelBarcode, 0, 3);

    g->addWidget(caption("Barcode Data:"), 1, 0);
    edtBCText = new QLineEdit(tsBarcode);
    edtBCText->setObjectName("edtBCText");
    g->addWidget(edtBCText, 1, 1, 1, 3);

    g->addWidget(caption("Barcode Position X, Y:"), 2, 0);
    edtBCLeft = new TUnitSpinBox(0, 300, 1, 1, tsBarcode);
    edtBCTop = new TUnitSpinBox(0, 300, 1, 1, tsBarcode);
    edtBCLeft->setObjectName("edtBCLeft");
    edtBCTop->setObjectName("edtBCTop");
    g->addWidget(edtBCLeft, 2, 1);
    g->addWidget(edtBCTop, 2, 2);

    g->addWidget(caption("Barcode Width, Height:"), 3, 0);
    edtBCWidth = MmEdit("edtBCWidth", 0, 0.5, 0.1, tsBarcode);
    edtBCHeight = MmEdit("edtBCHeight", 0, 100, 1, tsBarcode);
    g->addWidget(edtBCWidth, 3, 1);
    g->addWidget(edtBCHeight, 3, 2);

    g->addWidget(caption("Display Style:"), 4, 0);
    lstBCOutput = List("lstBCOutput", {"None", "Code", "Type", "Both"}, tsBarcode);
    g->addWidget(lstBCOutput, 4, 1);
    g->addWidget(caption("Info Alignment:"), 4, 2);
    lstBCAlign = List("lstBCAlign",
                      {"Top-Left", "Top-Right", "Top-Center", "Bottom-Left", "Bottom-Right", "Bottom-Center"},
                      tsBarcode);
    g->addWidget(lstBCAlign, 4, 3);

    g->addWidget(caption("Angle:"), 5, 0);
    lstBCAngle = List("lstBCAngle", {"270", "180", "90", "0", "-90", "-180", "-270"}, tsBarcode);
    g->addWidget(lstBCAngle, 5, 1);
    g->addWidget(caption("Color:"), 5, 2);
    pckBCColor = new TColorButton(tsBarcode);
    pckBCColor->setObjectName("pckBCColor");
    g->addWidget(pckBCColor, 5, 3, Qt::AlignLeft);

    chbBCChSum = new QCheckBox("Check Sum", tsBarcode);
    chbBCChSum->setObjectName("chbBCChSum");
    g->addWidget(chbBCChSum, 6, 1);
    for (QWidget* w : std::initializer_list<QWidget*>{edtBCLeft, edtBCTop, edtBCWidth, edtBCHeight})
        w->setFixedWidth(82);
    lstBCOutput->setFixedWidth(82);
    lstBCAngle->setFixedWidth(82);
    lstBCAlign->setFixedWidth(112);
    g->setRowStretch(7, 1);
    g->setColumnStretch(4, 1);

    connect(lstBCTypes, &QComboBox::currentIndexChanged, this, [this] { lstBCTypesChange(); });
    for (QComboBox* l : {lstBCOutput, lstBCAlign, lstBCAngle})
        connect(l, &QComboBox::currentIndexChanged, this, [this] { lstBCTypesChange(); });
    for (QDoubleSpinBox* e : {edtBCWidth, edtBCHeight})
        connect(e, &QDoubleSpinBox::valueChanged, this, [this] { lstBCTypesChange(); });
    connect(chbBCChSum, &QCheckBox::toggled, this, [this] { lstBCTypesChange(); });
    connect(pckBCColor, &TColorButton::colorPicked, this, [this] { lstBCTypesChange(); });
    connect(edtBCLeft, &QDoubleSpinBox::valueChanged, this, [this] { edtBCLeftChange(); });
    connect(edtBCTop, &QDoubleSpinBox::valueChanged, this, [this] { edtBCLeftChange(); });
    connect(edtBCText, &QLineEdit::textChanged, this, [this] {
        if (!Loading) ApplyBarcode(true);
    });
    // The other fields keep their values, so choosing a type again brings the barcode back.
    connect(btnDelBarcode, &QPushButton::clicked, this, [this] { lstBCTypes->setCurrentIndex(0); });
}

void TfrmLWParams::LoadBarcodeTab(int label, int face) {
    const TLabelFace& f = Sheet().Label(label).Face(face);
    chbBCChSum->setChecked(f.BCChSum);
    lstBCAlign->setCurrentIndex(std::min<int>(f.BCAlign, lstBCAlign->count() - 1));
    const int angle = lstBCAngle->findText(QString::number(f.BCAngle));
    lstBCAngle->setCurrentIndex(angle < 0 ? 0 : angle);
    lstBCOutput->setCurrentIndex(std::min<int>(f.BCOutput, lstBCOutput->count() - 1));
    edtBCText->setText(QString::fromStdString(f.BCText));
    edtBCLeft->SetMm(f.BCLeft);
    edtBCTop->SetMm(f.BCTop);
    edtBCHeight->setValue(f.BCHeight);
    edtBCWidth->setValue(f.BCWidth);
    pckBCColor->SetColor(f.BCColor);
    lstBCTypes->setCurrentIndex(f.BCType <= kBarcodeTypeCount ? f.BCType : 0);
}

void TfrmLWParams::lstBCTypesChange() {
    if (Loading) return;
    Sheet().SelIndex = lstBCTypes->currentIndex();
    ApplyBarcode(true);
}

void TfrmLWParams::edtBCLeftChange() {
    if (Loading) return;
    Sheet().SelIndex = lstBCTypes->currentIndex();
    if (Drag->Active) Drag->UndoTaken = true;
    ApplyBarcode(!Drag->Active);
}

void TfrmLWParams::ApplyBarcode(bool refresh) {
    if (Loading || !HaveCurrentFace()) return;
    if (!Drag->UndoTaken) Snapshot();
    TLabelFace& f = Sheet().Face(-1, 0);
    f.BCType = uint8_t(std::max(0, lstBCTypes->currentIndex()));
    f.BCText = edtBCText->text().toStdString();
    f.BCLeft = edtBCLeft->Mm();
    f.BCTop = edtBCTop->Mm();
    f.BCWidth = edtBCWidth->value();
    f.BCHeight = edtBCHeight->value();
    f.BCOutput = uint8_t(std::max(0, lstBCOutput->currentIndex()));
    f.BCAlign = uint8_t(std::max(0, lstBCAlign->currentIndex()));
    f.BCAngle = int16_t(lstBCAngle->currentText().toInt());
    f.BCColor = pckBCColor->Color();
    f.BCChSum = chbBCChSum->isChecked();
    Redraw(false);
    if (Hooks.EnableSave) Hooks.EnableSave();
    if (refresh) Refresh();
}

// ---------------------------------------------------------------- Outline tab

void TfrmLWParams::BuildOutlineTab() {
    auto* h = new QHBoxLayout(tsOutline);
    h->setContentsMargins(8, 6, 8, 4);
    h->setSpacing(10);
    auto* g = new QGridLayout;
    g->setHorizontalSpacing(6);
    g->setVerticalSpacing(6);

    auto toggle = [this](const char* name, const char* text) {
        auto* b = new QToolButton(tsOutline);
        b->setObjectName(name);
        b->setText(text);
        b->setCheckable(true);
        b->setMinimumWidth(90);
        return b;
    };
    btnVisFr = toggle("btnVisFr", "Print Outline");
    chbVisFr = new TOnOffCheckBox(tsOutline);
    chbVisFr->setObjectName("chbVisFr");
    g->addWidget(btnVisFr, 0, 0);
    g->addWidget(chbVisFr, 0, 1);

    btnOLColor = new QPushButton("Outline Color", tsOutline);
    btnOLColor->setObjectName("btnOLColor");
    pckOLColor = new TColorButton(tsOutline);
    pckOLColor->setObjectName("pckOLColor");
    g->addWidget(btnOLColor, 1, 0);
    g->addWidget(pckOLColor, 1, 1);

    g->addWidget(new QLabel("Line Thickness:", tsOutline), 2, 0);
    edtOLThick = new QSpinBox(tsOutline);
    edtOLThick->setObjectName("edtOLThick");
    edtOLThick->setRange(1, 10);
    edtOLThick->setKeyboardTracking(false);
    g->addWidget(edtOLThick, 2, 1);

    btnOLShadow = toggle("btnOLShadow", "Shadow");
    chbOLShadow = new TOnOffCheckBox(tsOutline);
    chbOLShadow->setObjectName("chbOLShadow");
    g->addWidget(btnOLShadow, 3, 0);
    g->addWidget(chbOLShadow, 3, 1);

    btnOLShColor = new QPushButton("Shadow Color", tsOutline);
    btnOLShColor->setObjectName("btnOLShColor");
    pckOLShColor = new TColorButton(tsOutline);
    pckOLShColor->setObjectName("pckOLShColor");
    g->addWidget(btnOLShColor, 4, 0);
    g->addWidget(pckOLShColor, 4, 1);
    g->setRowStretch(5, 1);
    h->addLayout(g);

    auto* why = new QVBoxLayout;
    auto* heading = new QLabel("Why Outline Printing?", tsOutline);
    heading->setFont(Bold(heading->font(), 13));
    why->addWidget(heading);
    auto* text = new QLabel("Printing the outline helps you cut labels out of a whole label sheet "
                            "that is not die-cut: the line shows where each label ends. On die-cut "
                            "sheets leave it off.",
                            tsOutline);
    text->setWordWrap(true);
    why->addWidget(text);
    shpOutline = new TOutlineShape(pckOLColor, edtOLThick, tsOutline);
    shpOutline->setObjectName("shpOutline");
    shpOutline->setFixedSize(120, 70);
    why->addWidget(shpOutline, 0, Qt::AlignHCenter);
    why->addStretch();
    h->addLayout(why, 1);

    connect(btnVisFr, &QToolButton::clicked, this, [this] { chbVisFr->setChecked(btnVisFr->isChecked()); });
    connect(btnOLShadow, &QToolButton::clicked, this,
            [this] { chbOLShadow->setChecked(btnOLShadow->isChecked()); });
    connect(chbVisFr, &QCheckBox::toggled, this, [this](bool on) {
        btnVisFr->setChecked(on);
        if (Loading || !HasLabel) return;
        TSheet& s = Sheet();
        if (s.CurLabel < 0 || size_t(s.CurLabel) >= s.Labels.size()) return;
        // The outline on screen does not depend on it: no redraw, no undo step.
        s.Label(s.CurLabel).VisFr = on;
        if (Hooks.EnableSave) Hooks.EnableSave();
    });
    connect(chbOLShadow, &QCheckBox::toggled, this, [this](bool on) {
        btnOLShadow->setChecked(on);
        ApplyOutline();
    });
    connect(pckOLColor, &TColorButton::colorPicked, this, [this] { ApplyOutline(); });
    connect(pckOLShColor, &TColorButton::colorPicked, this, [this] { ApplyOutline(); });
    connect(edtOLThick, &QSpinBox::valueChanged, this, [this] {
        shpOutline->update();
        ApplyOutline();
    });
    connect(btnOLColor, &QPushButton::clicked, this, [this] { OpenPicker(ptOutlineColor); });
    connect(btnOLShColor, &QPushButton::clicked, this, [this] { OpenPicker(ptShadowColor); });
}

void TfrmLWParams::LoadOutlineTab(int label) {
    const TSheetLabel& l = Sheet().Label(label);
    pckOLColor->SetColor(l.OLColor);
    pckOLShColor->SetColor(l.OLShColor);
    chbOLShadow->setChecked(l.OLShadow);
    edtOLThick->setValue(l.OLThick);
    shpOutline->update();
}

void TfrmLWParams::ApplyOutline() {
    if (Loading || !HaveCurrentFace()) return;
    Snapshot();
    TSheetLabel& l = Sheet().Label(Sheet().CurLabel);
    l.OLColor = pckOLColor->Color();
    l.OLShColor = pckOLShColor->Color();
    l.OLShadow = chbOLShadow->isChecked();
    l.OLThick = uint8_t(edtOLThick->value());
    l.Vis = chbVis->isChecked();
    shpOutline->update();
    Redraw(false);
    if (Hooks.EnableSave) Hooks.EnableSave();
    Refresh();
}

// ---------------------------------------------------------------- Settings tab

void TfrmLWParams::BuildSettingsTab() {
    auto* g = new QGridLayout(tsSettings);
    g->setContentsMargins(10, 8, 10, 6);
    g->setHorizontalSpacing(10);
    g->setVerticalSpacing(6);

    auto* grpGui = new QGroupBox("Interface Color", tsSettings);
    auto* gg = new QHBoxLayout(grpGui);
    shpGUIBGColor = new TColorSwatch(grpGui);
    shpGUIBGColor->setObjectName("shpGUIBGColor");
    shpGUIBGColor->setFixedSize(60, 36);
    gg->addWidget(shpGUIBGColor);
    gg->addWidget(new QLabel("Select Color", grpGui), 1);
    g->addWidget(grpGui, 0, 0);

    auto* grpSpace = new QGroupBox("Label Work-Space Color", tsSettings);
    auto* gs = new QVBoxLayout(grpSpace);
    auto mode = [grpSpace](const char* name, const char* text, QColor glyph) {
        auto* b = new QToolButton(grpSpace);
        b->setObjectName(name);
        b->setText(text);
        b->setIcon(SpaceGlyph(glyph));
        b->setIconSize(QSize(20, 14));
        b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        b->setCheckable(true);
        b->setMinimumWidth(140);
        return b;
    };
    btnWSpace1 = mode("btnWSpace1", "White Label Spaces", Qt::white);
    btnWSpace2 = mode("btnWSpace2", "Use GUI Color", QColor(0xFD, 0xF8, 0xC8));
    gs->addWidget(btnWSpace1);
    gs->addWidget(btnWSpace2);
    g->addWidget(grpSpace, 0, 1);

    lblSettingsNote = new QLabel("Work space color will NOT be printed.\nSelect print color by right "
                                 "clicking\non label space or from Parameter box",
                                 tsSettings);
    lblSettingsNote->setFixedWidth(281);
    lblSettingsNote->setStyleSheet("color: #800000;");
    g->addWidget(lblSettingsNote, 1, 0, 1, 2);
    g->setRowStretch(2, 1);
    g->setColumnStretch(2, 1);

    connect(shpGUIBGColor, &TColorSwatch::clicked, this, [this] { OpenPicker(ptGuiColor); });
    connect(btnWSpace1, &QToolButton::clicked, this, [this] { WorkspaceModeClick(btnWSpace1); });
    connect(btnWSpace2, &QToolButton::clicked, this, [this] { WorkspaceModeClick(btnWSpace2); });
}

void TfrmLWParams::WorkspaceModeClick(QToolButton* clicked) {
    // At most one of the two is down; both may be up.
    if (clicked->isChecked()) (clicked == btnWSpace1 ? btnWSpace2 : btnWSpace1)->setChecked(false);
    // The mode is what the ini file will say, also when the clicked button went up.
    Sheet().Gui.LSpaceMode = btnWSpace2->isChecked() ? 1 : 0;
    if (Sheet().Header.Shape != lsVector) Frame->LayOut();
    SaveGuiSettings();
}

void TfrmLWParams::ApplyGuiColor() {
    Sheet().Gui.BgColor = shpGUIBGColor->Color();
    Frame->ApplyColors();
    Frame->LayOut();
    SaveGuiSettings();
}

void TfrmLWParams::LoadGuiSettings() {
    const TGuiSettings g = TGuiSettings::Load();
    shpGUIBGColor->SetColor(g.BgColor);
    Sheet().Gui.BgColor = g.BgColor;
    Sheet().Gui.LSpaceMode = g.LSpaceMode;
    btnWSpace2->setChecked(g.LSpaceMode == 1);
    Frame->ApplyColors();
}

void TfrmLWParams::SaveGuiSettings() {
    TGuiSettings g;
    g.BgColor = shpGUIBGColor->Color();
    g.LSpaceMode = btnWSpace2->isChecked() ? 1 : 0;
    g.Save();
}

// ---------------------------------------------------------------- colour picker targets

TfrmColorPicker* TfrmLWParams::Picker() {
    if (TfrmColorPicker* p = TfrmColorPicker::Instance()) return p;
    if (!OwnPicker) {
        OwnPicker = new TfrmColorPicker(MainWindow ? MainWindow : this);
        OwnPicker->SetSheetFrame(Frame);
    }
    return OwnPicker;
}

void TfrmLWParams::OpenPicker(int target) {
    uint32_t preset = 0;
    switch (target) {
    case ptLabelColor:
        preset = shpLblColor->Color();
        break;
    case ptOutlineColor:
        preset = pckOLColor->Color();
        break;
    case ptShadowColor:
        preset = pckOLShColor->Color();
        break;
    case ptGuiColor:
        preset = shpGUIBGColor->Color();
        break;
    default:
        return;
    }
    TfrmColorPicker* p = Picker();
    p->OnOK = [this](int t, QColor c) { PickerOK(t, FromQColor(c)); };
    p->OpenFor(target, ToQColor(preset));
}

void TfrmLWParams::PickerOK(int target, uint32_t color) {
    switch (target) {
    case ptLabelColor:
        shpLblColor->SetColor(color);
        if (chbBGColor->isChecked())
            ApplyLabelColor();
        else
            chbBGColor->setChecked(true); // its handler applies
        break;
    case ptOutlineColor:
        pckOLColor->SetColor(color);
        ApplyOutline();
        break;
    case ptShadowColor:
        pckOLShColor->SetColor(color);
        ApplyOutline();
        break;
    case ptGuiColor:
        shpGUIBGColor->SetColor(color);
        ApplyGuiColor();
        break;
    default:
        break;
    }
}

} // namespace tessora
