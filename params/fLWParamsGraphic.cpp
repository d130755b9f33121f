// The parameters window's Graphic and Filters tabs: the image list of the face, inserting,
// removing and reordering images, and the image's position, size, angle, flip and filters.
#include "document/uCommon.h"
#include "document/uFilterList.h"
#include "document/uMessages.h"
#include "params/fLWParams.h"
#include "params/uParamsWidgets.h"
#include "sheetview/fraSheet.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <limits>

namespace tessora {

namespace {

enum { fiFade = 0, fiBrightness = 1, fiSharp = 2, fiBlur = 3, fiGrey = 4, fiNegative = 5 };

QSpinBox* IntEdit(int lo, int hi, int step, QWidget* parent) {
    auto* e = new QSpinBox(parent);
    e->setRange(lo, hi);
    e->setSingleStep(step);
    e->setKeyboardTracking(false);
    return e;
}

} // namespace

// ---------------------------------------------------------------- Graphic tab

void TfrmLWParams::BuildGraphicTab() {
    auto* g = new QGridLayout(tsGraphic);
    g->setContentsMargins(6, 6, 6, 4);
    g->setHorizontalSpacing(6);
    g->setVerticalSpacing(4);

    btnBGFile = new QPushButton("Insert Image", tsGraphic);
    btnBGFile->setObjectName("btnBGFile");
    btnClear = new QPushButton("Remove Image", tsGraphic);
    btnClear->setObjectName("btnClear");
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(4);
    buttons->addWidget(btnBGFile);
    buttons->addWidget(btnClear);
    buttons->addStretch();
    g->addLayout(buttons, 0, 0, 1, 2);

    auto* list = new TDragOrderList(tsGraphic);
    lstBGFiles = list;
    lstBGFiles->setObjectName("lstBGFiles");
    lstBGFiles->setFixedWidth(130);
    g->addWidget(lstBGFiles, 1, 0, 5, 1);
    auto* hint = new QLabel("Select an Image from the list above before using the controls below", tsGraphic);
    hint->setWordWrap(true);
    hint->setFixedWidth(130);
    g->addWidget(hint, 6, 0, 2, 1, Qt::AlignTop);

    btnImgUp = new QToolButton(tsGraphic);
    btnImgUp->setObjectName("btnImgUp");
    btnImgUp->setArrowType(Qt::UpArrow);
    btnImgUp->setToolTip(" Bring image forward ");
    btnImgDown = new QToolButton(tsGraphic);
    btnImgDown->setObjectName("btnImgDown");
    btnImgDown->setArrowType(Qt::DownArrow);
    btnImgDown->setToolTip(" Send image backward ");
    auto* order = new QVBoxLayout;
    order->setSpacing(2);
    order->addWidget(btnImgUp);
    order->addWidget(btnImgDown);
    auto* dragHint = new QLabel("Drag and drop\nname in list\nto move image\nto front/back", tsGraphic);
    dragHint->setMinimumWidth(dragHint->sizeHint().width());
    dragHint->setStyleSheet("color: #606060;");
    order->addWidget(dragHint);
    order->addStretch();
    g->addLayout(order, 1, 1, 5, 1);

    auto caption = [this](const char* text) { return new QLabel(text, tsGraphic); };
    g->addWidget(caption("Image Position:"), 1, 2);
    edtBGX = new TUnitSpinBox(-300, 300, 1, 1, tsGraphic);
    edtBGY = new TUnitSpinBox(-300, 300, 1, 1, tsGraphic);
    edtBGX->setObjectName("edtBGX");
    edtBGY->setObjectName("edtBGY");
    g->addWidget(edtBGX, 1, 3);
    g->addWidget(edtBGY, 1, 4);
    g->addWidget(caption("Auto Alignment:"), 2, 2);
    lstAlign = new QComboBox(tsGraphic);
    lstAlign->setObjectName("lstAlign");
    lstAlign->addItems({"-- None --", "Left", "Center", "Right"});
    lstAlign2 = new QComboBox(tsGraphic);
    lstAlign2->setObjectName("lstAlign2");
    lstAlign2->addItems({"-- None --", "Top", "Center", "Bottom"});
    g->addWidget(lstAlign, 2, 3);
    g->addWidget(lstAlign2, 2, 4);
    g->addWidget(caption("Image Size:"), 3, 2);
    edtScale = IntEdit(0, 200, 10, tsGraphic);
    edtScale->setObjectName("edtScale");
    edtScale->setSuffix(" %");
    g->addWidget(edtScale, 3, 3);
    g->addWidget(caption("Rotate Image:"), 4, 2);
    edtAngle = IntEdit(-360, 360, 1, tsGraphic);
    edtAngle->setObjectName("edtAngle");
    g->addWidget(edtAngle, 4, 3);
    g->addWidget(caption("Flip Image:"), 5, 2);
    lstFlip = new QComboBox(tsGraphic);
    lstFlip->setObjectName("lstFlip");
    lstFlip->addItems({"<none>", "Horizontal", "Vertical"});
    g->addWidget(lstFlip, 5, 3);
    for (QWidget* w : std::initializer_list<QWidget*>{edtBGX, edtBGY, edtScale, edtAngle})
        w->setFixedWidth(82);
    for (QComboBox* c : {lstAlign, lstAlign2, lstFlip})
        c->setFixedWidth(90);
    g->setRowStretch(7, 1);
    g->setColumnStretch(5, 1);

    connect(btnBGFile, &QPushButton::clicked, this, [this] { InsertImage(); });
    connect(btnClear, &QPushButton::clicked, this, [this] { RemoveImage(); });
    connect(btnImgUp, &QToolButton::clicked, this, [this] {
        const int i = lstBGFiles->currentRow();
        if (i > 0) MoveImage(i, i - 1);
    });
    connect(btnImgDown, &QToolButton::clicked, this, [this] {
        const int i = lstBGFiles->currentRow();
        if (i >= 0 && i < lstBGFiles->count() - 1) MoveImage(i, i + 1);
    });
    connect(list, &TDragOrderList::moveRequested, this, [this](int from, int to) { MoveImage(from, to); });
    connect(edtBGX, &QDoubleSpinBox::valueChanged, this, [this] { edtBGXChange(); });
    connect(edtBGY, &QDoubleSpinBox::valueChanged, this, [this] { edtBGXChange(); });
    connect(lstAlign, &QComboBox::currentIndexChanged, this, [this] { lstAlignChange(); });
    connect(lstAlign2, &QComboBox::currentIndexChanged, this, [this] { lstAlignChange(); });
    auto rebuild = [this] {
        if (Loading || LoadingGraphic) return;
        ApplyImage(true, true);
    };
    connect(edtScale, &QSpinBox::valueChanged, this, rebuild);
    connect(edtAngle, &QSpinBox::valueChanged, this, rebuild);
    connect(lstFlip, &QComboBox::currentIndexChanged, this, rebuild);
    connect(lstBGFiles, &QListWidget::itemClicked, this, [this] { lstBGFilesClick(); });
    UpdateImageControls();
}

void TfrmLWParams::EnableImageControls(bool enabled) {
    for (QWidget* w :
         std::initializer_list<QWidget*>{btnClear, btnImgUp, btnImgDown, lstBGFiles, edtBGX, edtBGY, lstAlign,
                                         lstAlign2, edtScale, edtAngle, lstFlip})
        w->setEnabled(enabled);
}

void TfrmLWParams::UpdateImageControls() {
    const bool any = lstBGFiles->count() > 0;
    EnableImageControls(any);
    pgcParams->setTabVisible(pgcParams->indexOf(tsFilter), HasLabel && any);
}

void TfrmLWParams::FillImageList(int selected) {
    lstBGFiles->clear();
    LoadedImage = -1;
    if (HaveCurrentFace()) {
        TSheet& s = Sheet();
        const int n = int(s.Face(-1, 0).Images.size());
        for (int i = 0; i < n; ++i)
            lstBGFiles->addItem(
                QString::fromStdString(ExtractFileName(s.ImageFileName(s.CurLabel, s.CurFace, i))));
    }
    UpdateImageControls();
    if (lstBGFiles->count() > 0) SelectImage(std::clamp(selected, 0, lstBGFiles->count() - 1));
}

void TfrmLWParams::SelectImage(int i) {
    Sheet().SelIndex = i;
    LoadedImage = i;
    if (i < 0 || i >= lstBGFiles->count()) return;
    lstBGFiles->setCurrentRow(i);
    LoadImage();
}

void TfrmLWParams::LoadImage() {
    if (!HaveCurrentFace()) return;
    TLabelFace& f = Sheet().Face(-1, 0);
    const int i = lstBGFiles->currentRow();
    if (i < 0 || size_t(i) >= f.Images.size()) return;
    const TLabelImage& im = f.Image(i);
    LoadingGraphic = true;
    lstAlign->setCurrentIndex(std::min<int>(im.AlignH, 3));
    lstAlign2->setCurrentIndex(std::min<int>(im.AlignV, 3));
    edtBGX->SetMm(im.X);
    edtBGY->SetMm(im.Y);
    edtAngle->setValue(im.Angle);
    lstFlip->setCurrentIndex(std::min<int>(im.Flip, 2));
    edtFade->setValue(im.Fade);
    edtScale->setValue(im.Scale);
    DecodeFilterControls(im.Filters);
    LoadingGraphic = false;
}

void TfrmLWParams::lstBGFilesClick() {
    const int i = lstBGFiles->currentRow();
    if (i == LoadedImage) return;
    SelectImage(i);
    Redraw(false);
}

void TfrmLWParams::edtBGXChange() {
    if (Loading || LoadingGraphic) return;
    // A drag recorded its undo step at its first movement and refreshes the preview on release.
    if (Drag->Active) Drag->UndoTaken = true;
    ApplyImage(false, !Drag->Active);
}

void TfrmLWParams::lstAlignChange() {
    if (Loading || LoadingGraphic) return;
    ApplyImage(false, true);
}

void TfrmLWParams::ApplyImage(bool rebuild, bool refresh) {
    if (Loading || LoadingGraphic || lstBGFiles->count() == 0 || !HaveCurrentFace()) return;
    TLabelFace& f = Sheet().Face(-1, 0);
    const int i = lstBGFiles->currentRow();
    if (i < 0 || size_t(i) >= f.Images.size()) return;
    if (!Drag->UndoTaken) Snapshot();
    TLabelImage& im = f.Image(i);
    im.AlignH = uint8_t(lstAlign->currentIndex());
    im.AlignV = uint8_t(lstAlign2->currentIndex());
    if (im.AlignH == 0) im.X = edtBGX->Mm();
    if (im.AlignV == 0) im.Y = edtBGY->Mm();
    im.Angle = int16_t(edtAngle->value());
    im.Fade = uint8_t(edtFade->value());
    im.Flip = uint8_t(std::max(0, lstFlip->currentIndex()));
    im.Scale = uint8_t(edtScale->value());
    im.Filters = EncodeFilterControls();
    Redraw(rebuild);
    if (Hooks.EnableSave) Hooks.EnableSave();
    if (refresh) Refresh();
    // An aligned axis shows where the drawing put the image.
    LoadingGraphic = true;
    if (im.AlignH != 0) edtBGX->SetMm(im.X);
    if (im.AlignV != 0) edtBGY->SetMm(im.Y);
    LoadingGraphic = false;
}

void TfrmLWParams::InsertImage() {
    if (!HaveCurrentFace() || !OpenPictureDialog) return;
    const QString chosen = OpenPictureDialog();
    if (chosen.isEmpty()) return;
    const std::string target = CopyIntoFolder(chosen.toStdString(), ProgramSubfolder("Import Images"));
    TSheet& s = Sheet();
    const int index = s.FindOrLoad(target);
    if (index < 0) {
        // Nothing added: the list keeps matching the face's images.
        FillImageList(lstBGFiles->currentRow());
        return;
    }
    auto im = std::make_unique<TLabelImage>();
    im->BGIndex = index;
    auto& images = s.Face(-1, 0).Images;
    images.insert(images.begin(), std::move(im));
    FillImageList(0);
    if (Hooks.EnableSave) Hooks.EnableSave();
    Redraw(true);
    Refresh();
}

void TfrmLWParams::RemoveImage() {
    if (!HaveCurrentFace()) return;
    auto& images = Sheet().Face(-1, 0).Images;
    const int i = lstBGFiles->currentRow();
    if (i < 0 || size_t(i) >= images.size()) return;
    const std::string name = lstBGFiles->item(i)->text().toStdString();
    if (Confirm("Remove " + name + " Image from current label?", mbYes | mbNo) != mbYes) return;
    Snapshot();
    images.erase(images.begin() + i);
    const int next = std::min(i, int(images.size()) - 1);
    FillImageList(next);
    if (next < 0) SelectImage(-1);
    if (Hooks.EnableSave) Hooks.EnableSave();
    Redraw(false);
    Refresh();
}

void TfrmLWParams::MoveImage(int from, int to) {
    if (!HaveCurrentFace()) return;
    auto& images = Sheet().Face(-1, 0).Images;
    const int n = int(images.size());
    if (from < 0 || from >= n || to < 0 || to >= n || from == to) return;
    Snapshot();
    auto moved = std::move(images[size_t(from)]);
    images.erase(images.begin() + from);
    images.insert(images.begin() + to, std::move(moved));
    FillImageList(to);
    Sheet().SelIndex = to;
    if (Hooks.EnableSave) Hooks.EnableSave();
    Redraw(false);
    Refresh();
}

// ---------------------------------------------------------------- Filters tab

void TfrmLWParams::BuildFilterTab() {
    auto* g = new QGridLayout(tsFilter);
    g->setContentsMargins(6, 4, 6, 4);
    auto* heading = new QLabel("Image Filter Utility", tsFilter);
    QFont hf = heading->font();
    hf.setBold(true);
    hf.setPixelSize(13);
    heading->setFont(hf);
    g->addWidget(heading, 0, 0, 1, 2);

    lstFilters = new QListWidget(tsFilter);
    lstFilters->setObjectName("lstFilters");
    lstFilters->setFixedWidth(170);
    for (const char* name : kFilterNames) {
        auto* item = new QListWidgetItem(name, lstFilters);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
        item->setSizeHint(QSize(0, 22));
    }
    lstFilters->setFixedHeight(22 * int(kFilterNames.size()) + 2 * lstFilters->frameWidth() + 2);
    g->addWidget(lstFilters, 1, 0, Qt::AlignTop);

    pgcFilter = new QStackedWidget(tsFilter);
    pgcFilter->setObjectName("pgcFilter");
    auto page = [this](auto fill) {
        auto* w = new QWidget(pgcFilter);
        auto* lay = new QGridLayout(w);
        lay->setContentsMargins(8, 4, 4, 4);
        fill(w, lay);
        lay->setRowStretch(lay->rowCount(), 1);
        lay->setColumnStretch(2, 1);
        pgcFilter->addWidget(w);
    };
    page([this](QWidget* w, QGridLayout* lay) {
        lay->addWidget(new QLabel("Fade Out Image:", w), 0, 0);
        edtFade = IntEdit(0, 100, 1, w);
        edtFade->setObjectName("edtFade");
        edtFade->setSuffix(" %");
        lay->addWidget(edtFade, 0, 1);
    });
    page([this](QWidget* w, QGridLayout* lay) {
        auto bar = [w](const char* name) {
            auto* b = new QSlider(Qt::Horizontal, w);
            b->setObjectName(name);
            b->setRange(-150, 150);
            b->setTickPosition(QSlider::NoTicks);
            b->setMinimumWidth(200);
            return b;
        };
        lay->addWidget(new QLabel("Brightness:", w), 0, 0);
        barBrightness = bar("barBrightness");
        lay->addWidget(barBrightness, 0, 1, 1, 2);
        lay->addWidget(new QLabel("Contrast:", w), 1, 0);
        barContrast = bar("barContrast");
        lay->addWidget(barContrast, 1, 1, 1, 2);
    });
    page([this](QWidget* w, QGridLayout* lay) {
        lay->addWidget(new QLabel("Sharp:", w), 0, 0);
        edtSharp = IntEdit(std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), 1, w);
        edtSharp->setObjectName("edtSharp");
        lay->addWidget(edtSharp, 0, 1);
    });
    page([this](QWidget* w, QGridLayout* lay) {
        lay->addWidget(new QLabel("Blur:", w), 0, 0);
        edtBlur = new QDoubleSpinBox(w);
        edtBlur->setObjectName("edtBlur");
        edtBlur->setRange(0, 100);
        edtBlur->setDecimals(1);
        edtBlur->setSingleStep(1);
        edtBlur->setKeyboardTracking(false);
        lay->addWidget(edtBlur, 0, 1);
    });
    page([this](QWidget* w, QGridLayout* lay) {
        chbGrey = new QCheckBox("Grey", w);
        chbGrey->setObjectName("chbGrey");
        lay->addWidget(chbGrey, 0, 0);
    });
    page([this](QWidget* w, QGridLayout* lay) {
        chbNegative = new QCheckBox("Negative:", w);
        chbNegative->setObjectName("chbNegative");
        chbNegative->setLayoutDirection(Qt::RightToLeft);
        lay->addWidget(chbNegative, 0, 0);
    });
    g->addWidget(pgcFilter, 1, 1);
    g->setRowStretch(2, 1);
    g->setColumnStretch(1, 1);

    connect(lstFilters, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0) pgcFilter->setCurrentIndex(row);
    });
    connect(lstFilters, &QListWidget::itemChanged, this,
            [this](QListWidgetItem* item) { lstFiltersItemChanged(lstFilters->row(item)); });
    connect(edtFade, &QSpinBox::valueChanged, this, [this] { FilterSettingChange(); });
    connect(barBrightness, &QSlider::valueChanged, this, [this] { FilterSettingChange(); });
    connect(barContrast, &QSlider::valueChanged, this, [this] { FilterSettingChange(); });
    connect(edtSharp, &QSpinBox::valueChanged, this, [this] { FilterSettingChange(); });
    connect(edtBlur, &QDoubleSpinBox::valueChanged, this, [this] { FilterSettingChange(); });
    connect(chbGrey, &QCheckBox::toggled, this, [this] { FilterSettingChange(); });
    connect(chbNegative, &QCheckBox::toggled, this, [this] { FilterSettingChange(); });
}

std::string TfrmLWParams::EncodeFilterControls() const {
    TFilterList list;
    for (int row = fiBrightness; row <= fiNegative; ++row) {
        if (lstFilters->item(row)->checkState() != Qt::Checked) continue;
        TImageFilter f;
        f.Code = row;
        if (row == fiBrightness) {
            f.Brightness = barBrightness->value();
            f.Contrast = barContrast->value();
        } else if (row == fiSharp) {
            f.Sharp = edtSharp->value();
        } else if (row == fiBlur) {
            f.Blur = edtBlur->value();
        }
        list.push_back(f);
    }
    return EncodeFilters(list);
}

void TfrmLWParams::DecodeFilterControls(const std::string& text) {
    LoadingFilters = true;
    for (int row = 0; row < lstFilters->count(); ++row)
        lstFilters->item(row)->setCheckState(Qt::Unchecked);
    pgcFilter->setCurrentIndex(0);
    edtBlur->setValue(0);
    edtSharp->setValue(0);
    barBrightness->setValue(0);
    barContrast->setValue(0);
    lstFilters->setCurrentRow(0);
    chbNegative->setChecked(false);
    chbGrey->setChecked(false);
    // Entries the editor cannot show (other codes, unreadable ones) are dropped by the decoder.
    for (const TImageFilter& f : DecodeFilters(text)) {
        if (f.Code < fiBrightness || f.Code > fiNegative) continue;
        lstFilters->item(f.Code)->setCheckState(Qt::Checked);
        switch (f.Code) {
        case fiBrightness:
            barBrightness->setValue(f.Brightness);
            barContrast->setValue(f.Contrast);
            break;
        case fiSharp:
            edtSharp->setValue(f.Sharp);
            break;
        case fiBlur:
            edtBlur->setValue(f.Blur);
            break;
        case fiGrey:
            chbGrey->setChecked(true);
            break;
        case fiNegative:
            chbNegative->setChecked(true);
            break;
        default:
            break;
        }
    }
    LoadingFilters = false;
}

void TfrmLWParams::lstFiltersItemChanged(int row) {
    if (Loading || LoadingGraphic || LoadingFilters || row < 0) return;
    const bool on = lstFilters->item(row)->checkState() == Qt::Checked;
    if (row == fiFade && !on) {
        const QSignalBlocker block(edtFade);
        edtFade->setValue(0);
    } else if (row == fiGrey || row == fiNegative) {
        QCheckBox* box = row == fiGrey ? chbGrey : chbNegative;
        const QSignalBlocker block(box);
        box->setChecked(on);
    }
    ApplyImage(true, true);
}

void TfrmLWParams::FilterSettingChange() {
    if (Loading || LoadingGraphic || LoadingFilters) return;
    const int row = lstFilters->currentRow();
    if (row == fiGrey || row == fiNegative) {
        const bool on = (row == fiGrey ? chbGrey : chbNegative)->isChecked();
        const QSignalBlocker block(lstFilters);
        lstFilters->item(row)->setCheckState(on ? Qt::Checked : Qt::Unchecked);
    }
    ApplyImage(true, true);
}

} // namespace tessora
