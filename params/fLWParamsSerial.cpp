// The parameters window's Serial tab: the project's serial number settings. They take no undo
// step; with serial numbers on, every change redraws the whole sheet.
#include "document/uCommon.h"
#include "document/uSerial.h"
#include "params/fLWParams.h"
#include "params/fSetSerial.h"
#include "sheetview/fraSheet.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace tessora {

namespace {

constexpr size_t kSerialCapacity = 15;

std::string Cut(const QString& s) {
    return s.left(int(kSerialCapacity)).toStdString();
}

} // namespace

void TfrmLWParams::BuildSerialTab() {
    auto* v = new QVBoxLayout(tsSerial);
    v->setContentsMargins(8, 6, 8, 0);
    v->setSpacing(5);
    auto* heading = new QLabel("Label Serial Number Utility", tsSerial);
    QFont hf = heading->font();
    hf.setBold(true);
    hf.setPixelSize(13);
    heading->setFont(hf);
    v->addWidget(heading);

    auto* top = new QHBoxLayout;
    lblLSerial2 = new QLabel(tsSerial);
    lblLSerial2->setObjectName("lblLSerial2");
    QFont sf("Arial");
    sf.setPixelSize(19);
    lblLSerial2->setFont(sf);
    lblLSerial2->setStyleSheet("background: #FDF8C8; padding: 2px 8px;");
    lblLSerial2->setMinimumWidth(250);
    top->addWidget(lblLSerial2);
    btnSetSerial = new QPushButton("Configure Serial Number", tsSerial);
    btnSetSerial->setObjectName("btnSetSerial");
    top->addWidget(btnSetSerial);
    top->addStretch();
    v->addLayout(top);

    auto* g = new QGridLayout;
    g->setHorizontalSpacing(6);
    g->setVerticalSpacing(5);
    chbShowSerial = new QCheckBox("Serial Off", tsSerial);
    chbShowSerial->setObjectName("chbShowSerial");
    g->addWidget(chbShowSerial, 0, 0, 1, 2);

    g->addWidget(new QLabel("Page:", tsSerial), 1, 0);
    auto* pages = new QHBoxLayout;
    edtPgNum = new QSpinBox(tsSerial);
    edtPgNum->setObjectName("edtPgNum");
    edtPgNum->setRange(1, 1);
    edtPgNum->setKeyboardTracking(false);
    pages->addWidget(edtPgNum);
    pages->addWidget(new QLabel("/", tsSerial));
    edtPgCount = new QSpinBox(tsSerial);
    edtPgCount->setObjectName("edtPgCount");
    edtPgCount->setRange(1, 300);
    edtPgCount->setKeyboardTracking(false);
    pages->addWidget(edtPgCount);
    pages->addStretch();
    g->addLayout(pages, 1, 1, 1, 3);

    g->addWidget(new QLabel("Position:", tsSerial), 2, 0);
    auto* xy = new QHBoxLayout;
    xy->addWidget(new QLabel("X:", tsSerial));
    edtSrX = new TUnitSpinBox(-300, 300, 1, 1, tsSerial);
    edtSrX->setObjectName("edtSrX");
    xy->addWidget(edtSrX);
    xy->addSpacing(8);
    xy->addWidget(new QLabel("Y:", tsSerial));
    edtSrY = new TUnitSpinBox(-300, 300, 1, 1, tsSerial);
    edtSrY->setObjectName("edtSrY");
    xy->addWidget(edtSrY);
    g->addLayout(xy, 2, 1, 1, 3);

    g->addWidget(new QLabel("Align:", tsSerial), 3, 0);
    lstSrAlignH = new QComboBox(tsSerial);
    lstSrAlignH->setObjectName("lstSrAlignH");
    lstSrAlignH->addItems({"-- None --", "Left", "Center", "Right"});
    lstSrAlignV = new QComboBox(tsSerial);
    lstSrAlignV->setObjectName("lstSrAlignV");
    lstSrAlignV->addItems({"-- None --", "Top", "Center", "Bottom"});
    auto* al = new QHBoxLayout;
    al->addWidget(lstSrAlignH);
    al->addWidget(lstSrAlignV);
    g->addLayout(al, 3, 1, 1, 3);
    edtPgNum->setFixedWidth(60);
    edtPgCount->setFixedWidth(60);
    edtSrX->setFixedWidth(82);
    edtSrY->setFixedWidth(82);
    lstSrAlignH->setFixedWidth(100);
    lstSrAlignV->setFixedWidth(100);
    xy->addStretch();
    al->addStretch();
    g->setColumnStretch(4, 1);
    v->addLayout(g);
    v->addStretch();

    auto* note = new QLabel("The Label number utility will enable you automatically insert\n"
                            "serial numbers into the labels space on any of our label templates",
                            tsSerial);
    note->setStyleSheet("background: #FDF8C8; padding: 3px 6px;");
    v->addWidget(note);

    connect(btnSetSerial, &QPushButton::clicked, this, [this] { btnSetSerialClick(); });
    connect(chbShowSerial, &QCheckBox::toggled, this, [this](bool on) {
        chbShowSerial->setText(on ? "Serial On" : "Serial Off");
        if (LoadingSerial) return;
        Sheet().Settings.SerialOn = on;
        if (Hooks.EnableSave) Hooks.EnableSave();
        SerialRedraw();
    });
    connect(edtPgNum, &QSpinBox::valueChanged, this, [this] { SerialChange(); });
    connect(edtPgCount, &QSpinBox::valueChanged, this, [this] { edtPgCountChange(); });
    connect(edtSrX, &QDoubleSpinBox::valueChanged, this, [this] { SerialChange(); });
    connect(edtSrY, &QDoubleSpinBox::valueChanged, this, [this] { SerialChange(); });
    connect(lstSrAlignH, &QComboBox::currentIndexChanged, this, [this] { SerialChange(); });
    connect(lstSrAlignV, &QComboBox::currentIndexChanged, this, [this] { SerialChange(); });
}

void TfrmLWParams::LoadSerial() {
    const TProjectSettings& st = Sheet().Settings;
    const double f = UnitFactor(Sheet().Header.Units);
    const QString unit = Sheet().Header.Units == 1 ? " in" : " mm";
    LoadingSerial = true;
    for (TUnitSpinBox* e : {edtSrX, edtSrY}) {
        e->SetUnitFactor(f);
        e->setSuffix(unit);
    }
    edtPgCount->setValue(st.PageCount);
    edtPgNum->setMaximum(edtPgCount->value());
    edtPgNum->setValue(st.PageNum);
    chbShowSerial->setChecked(st.SerialOn);
    lstSrAlignH->setCurrentIndex(std::min<int>(st.SerialAlignH, 3));
    lstSrAlignV->setCurrentIndex(std::min<int>(st.SerialAlignV, 3));
    lblLSerial2->setText(QString::fromStdString(SerialText(st, 0)));
    edtSrX->SetMm(st.SerialX);
    edtSrY->SetMm(st.SerialY);
    LoadingSerial = false;
}

void TfrmLWParams::SerialChange() {
    if (LoadingSerial) return;
    TProjectSettings& st = Sheet().Settings;
    st.PageNum = edtPgNum->value();
    st.SerialX = edtSrX->Mm();
    st.SerialY = edtSrY->Mm();
    st.SerialAlignH = uint8_t(std::max(0, lstSrAlignH->currentIndex()));
    st.SerialAlignV = uint8_t(std::max(0, lstSrAlignV->currentIndex()));
    // The settings are saved with the project.
    if (Hooks.EnableSave) Hooks.EnableSave();
    if (st.SerialOn) SerialRedraw();
}

void TfrmLWParams::edtPgCountChange() {
    if (LoadingSerial) return;
    Sheet().Settings.PageCount = edtPgCount->value();
    if (Hooks.EnableSave) Hooks.EnableSave();
    // A larger page number is lowered to the new count, which runs its own handler.
    edtPgNum->setMaximum(edtPgCount->value());
}

void TfrmLWParams::btnSetSerialClick() {
    TProjectSettings& st = Sheet().Settings;
    TfrmSetSerial dlg(MainWindow ? MainWindow : this);
    dlg.edtPrefix->setText(QString::fromStdString(st.SerialPrefix));
    dlg.edtSuffix->setText(QString::fromStdString(st.SerialSuffix));
    if (dlg.exec() != QDialog::Accepted) return;
    st.SerialPrefix = Cut(dlg.edtPrefix->text());
    st.SerialSuffix = Cut(dlg.edtSuffix->text());
    lblLSerial2->setText(QString::fromStdString(SerialText(st, 0)));
    if (Hooks.EnableSave) Hooks.EnableSave();
    if (st.SerialOn) SerialRedraw();
}

void TfrmLWParams::SerialRedraw() {
    Sheet().RedrawSheet(true, true);
    Frame->Changed();
}

} // namespace tessora
