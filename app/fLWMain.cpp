#include "app/fLWMain.h"

#include "app/fLabelInfo.h"
#include "app/uCursors.h"
#include "content/dTessora.h"
#include "content/fEMail.h"
#include "content/fGauge.h"
#include "content/uMail.h"
#include "content/fICatalog.h"
#include "content/uServer.h"
#include "document/uCommon.h"
#include "document/uMessages.h"
#include "platform/uShell.h"
#include "platform/uStatus.h"
#include "preview3d/f3DV.h"
#include "sheetview/fraSheet.h"
#include "app/uWindowMessages.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <memory>

namespace tessora {

namespace {

struct TToolDef {
    int Tag;
    const char* Name;
    const char* Caption;
    const char* Hint;
};
// Top to bottom; "Send PDF" has no tag.
constexpr std::array<TToolDef, 12> kTools = {{{0, "btnNewProject", "New Project", " New Project "},
                                              {1, "btnOpenProject", "Open Project", " Open Project "},
                                              {2, "btnSaveProject", "Save Project", " Save Project "},
                                              {3, "btnLabelControl", "Label Control", " Label Control "},
                                              {4, "btnGraphic", "Graphic", " Graphic Control "},
                                              {5, "btnText", "Add/Edit Text", " Add/Edit Label Text "},
                                              {6, "btnBarcode", "Barcode", " Barcode Control "},
                                              {7, "btnOutline", "Outline", "Outline Control "},
                                              {8, "btnZoomToLabel", "Zoom to Label", " Zoom to Label "},
                                              {9, "btnPrint", "Print / PDF", " Print/PDF "},
                                              {-1, "btnSendPDF", "Send PDF", " Send PDF "},
                                              {10, "btnExit", "Exit Tessora", " Exit Tessora "}}};

constexpr const char* kMakerSite = "http://www.corvane.example";

QToolButton* CloseButton(QWidget* parent, const char* name, const char* hint) {
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setText(QString::fromUtf8("\u00D7"));
    b->setToolTip(hint);
    b->setAutoRaise(true);
    b->setFixedSize(14, 12);
    return b;
}

QString WithExtension(QString name, const QString& ext) {
    if (!name.endsWith(ext, Qt::CaseInsensitive)) name += ext;
    return name;
}

} // namespace

TfrmLWMain::TfrmLWMain(TdmTessora* dm, QWidget* parent) : QMainWindow(parent), Database(dm) {
    setObjectName("frmLWMain");
    setWindowTitle(kAppTitle);
    setMinimumSize(808, 612);
    setStyleSheet("QMainWindow#frmLWMain { background: white; }");
    BuildLeftPanel();
    BuildMainPanel();
    BuildActions();
    BuildMenus();
    auto* bar = new QStatusBar(this);
    bar->setObjectName("barStatus");
    bar->setStyleSheet("background: white;");
    setStatusBar(bar);

    tmrInfo = new QTimer(this);
    tmrInfo->setInterval(4000);
    tmrHint = new QTimer(this);
    tmrHint->setInterval(4000);
    tmr3DV = new QTimer(this);
    tmr3DV->setInterval(100);
    tmrDClick = new QTimer(this);
    tmrDClick->setInterval(200);
    connect(tmrHint, &QTimer::timeout, this, [this] {
        pnlHint->hide();
        tmrHint->stop();
    });
    connect(tmrInfo, &QTimer::timeout, this, [this] {
        tmrInfo->stop();
        if (frmLabelInfo) frmLabelInfo->hide();
    });
    connect(tmrDClick, &QTimer::timeout, this, [this] {
        Drag.Guard = false;
        tmrDClick->stop();
    });
    connect(tmr3DV, &QTimer::timeout, this, &TfrmLWMain::tmr3DVTimer);
    tmr3DV->start();

    frmLabelInfo = new TfrmLabelInfo(this);
    frmLabelInfo->OnFirstLine = [this] {
        if (Sheet().HotLabel >= 0) SelectHotLabel();
    };
    frmLabelInfo->OnSecondLine = [this] {
        if (ProjectLoaded) mnuLabel->popup(frmLabelInfo->mapToGlobal(QPoint(0, frmLabelInfo->height())));
    };

    // The folders beside the program.
    for (const char* dir : {"Templates", "Label Projects", "Import Images", "PDF Label Sheets", "Vector Images"})
        ProgramSubfolder(dir);

    if (Database) {
        QImage adv;
        LoadAdvertPicture(adv, *Database);
        if (!adv.isNull())
            imgAdv->setPixmap(QPixmap::fromImage(adv.scaled(160, 220, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    }

    SetCatalogOpener(OpenCatalog); // "Get more..." in the chooser
    OnChoose = [this](TChooserMode mode, bool first, std::string& path, int& kind) {
        TfrmTemplates dlg(this);
        dlg.SetMode(mode);
        dlg.SetGuiSettings(Sheet().Gui);
        (void)first; // the chooser shows its start hint every time it opens
        if (dlg.exec() != QDialog::Accepted) return false;
        path = dlg.SelectedPath();
        kind = dlg.Kind();
        return !path.empty();
    };
    OnSaveDialog = [this](const QString& filter, const QString& proposed, const QString& folder) {
        return QFileDialog::getSaveFileName(this, QString(), proposed.isEmpty() ? folder : proposed, filter);
    };

    SetProjectCommands(false);
    actUndo->setEnabled(false);
    actRedo->setEnabled(false);
    resize(1000, 760);
}

TfrmLWMain::~TfrmLWMain() {
    Closing = true;
    if (Tfrm3DV* v = Tfrm3DV::Instance()) delete v;
}

TSheet& TfrmLWMain::Sheet() const {
    return frSheet->Sheet;
}

void TfrmLWMain::BuildLeftPanel() {
    auto* central = new QWidget(this);
    central->setObjectName("pnlClient");
    setCentralWidget(central);
    auto* row = new QHBoxLayout(central);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);

    pnlLeft = new QFrame(central);
    pnlLeft->setObjectName("pnlLeft");
    pnlLeft->setFixedWidth(223);
    pnlLeft->setAutoFillBackground(true);
    pnlLeft->setStyleSheet("QFrame#pnlLeft { background: white; }");
    row->addWidget(pnlLeft);
    auto* col = new QVBoxLayout(pnlLeft);
    col->setContentsMargins(0, 0, 0, 0);
    col->setSpacing(0);

    pnlTools = new QFrame(pnlLeft);
    pnlTools->setObjectName("pnlTools");
    pnlTools->setFixedHeight(12);
    auto* tl = new QHBoxLayout(pnlTools);
    tl->setContentsMargins(0, 0, 0, 0);
    tl->addStretch();
    SpeedButton1 = CloseButton(pnlTools, "SpeedButton1", " Close Tools Panel ");
    tl->addWidget(SpeedButton1);
    col->addWidget(pnlTools);

    imgLogo = new QLabel(pnlLeft);
    imgLogo->setObjectName("imgLogo");
    imgLogo->setFixedHeight(70);
    imgLogo->setText("<span style='font: bold 20px Arial; color:#1F4E8C'>Corvane<br>Tessora</span>");
    imgLogo->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    imgLogo->setContentsMargins(12, 0, 0, 0);
    btnClose = CloseButton(imgLogo, "btnClose", " Close Logo Panel ");
    btnClose->move(223 - 16, 2);
    lblVersion = new QLabel(imgLogo);
    lblVersion->setObjectName("lblVersion");
    lblVersion->setText("v " + ProgramVersion());
    lblVersion->setAlignment(Qt::AlignRight);
    lblVersion->setStyleSheet("color: grey; font-weight: bold;");
    lblVersion->setGeometry(100, 50, 113, 16);
    col->addWidget(imgLogo);

    scb = new QScrollArea(pnlLeft);
    scb->setObjectName("scb");
    scb->setFrameShape(QFrame::NoFrame);
    scb->setWidgetResizable(true);
    auto* inner = new QWidget(scb);
    inner->setStyleSheet("background: white;");
    auto* bl = new QVBoxLayout(inner);
    bl->setContentsMargins(20, 4, 0, 4);
    bl->setSpacing(2);
    QFont bold("Arial");
    bold.setBold(true);
    for (size_t i = 0; i < kTools.size(); ++i) {
        auto* b = new QToolButton(inner);
        b->setObjectName(kTools[i].Name);
        b->setText(kTools[i].Caption);
        b->setToolTip(kTools[i].Hint);
        b->setProperty("tag", kTools[i].Tag);
        b->setFixedSize(180, 35);
        b->setAutoRaise(true);
        b->setFont(bold);
        b->setCursor(Qt::PointingHandCursor);
        bl->addWidget(b);
        ToolButtons[i] = b;
    }
    btnSendPDF = ToolButtons[10];
    bl->addStretch();
    scb->setWidget(inner);
    col->addWidget(scb, 1);

    pnlHelp = new QFrame(pnlLeft);
    pnlHelp->setObjectName("pnlHelp");
    pnlHelp->setFixedHeight(255);
    auto* hl = new QVBoxLayout(pnlHelp);
    hl->setContentsMargins(20, 12, 4, 2);
    hl->setSpacing(2);
    btnClose2 = CloseButton(pnlHelp, "btnClose2", " Close Help Panel ");
    btnClose2->move(223 - 16, 0);
    imgAdv = new QLabel(pnlHelp);
    imgAdv->setObjectName("imgAdv");
    imgAdv->setFixedSize(160, 220);
    hl->addWidget(imgAdv);
    lblWWW = new QLabel(pnlHelp);
    lblWWW->setObjectName("lblWWW");
    lblWWW->setText(QString("<a href='%1'>www.corvane.example</a>").arg(kMakerSite));
    lblWWW->setCursor(Qt::PointingHandCursor);
    connect(lblWWW, &QLabel::linkActivated, this, [](const QString& url) { ShellOpen(url); });
    hl->addWidget(lblWWW);
    col->addWidget(pnlHelp);

    connect(SpeedButton1, &QToolButton::clicked, this, &TfrmLWMain::btnCloseTools);
    connect(btnClose, &QToolButton::clicked, this, &TfrmLWMain::btnCloseLogo);
    connect(btnClose2, &QToolButton::clicked, this, &TfrmLWMain::btnCloseHelp);
}

void TfrmLWMain::BuildMainPanel() {
    pnlMain = new QWidget(centralWidget());
    pnlMain->setObjectName("pnlMain");
    static_cast<QHBoxLayout*>(centralWidget()->layout())->addWidget(pnlMain, 1);
    frSheet = new TfrSheet(pnlMain);
    frSheet->setObjectName("frSheet");
    frSheet->PathCursor = ScreenCursor(crPath);
    frSheet->Sheet.Gui = TGuiSettings::Load();
    frSheet->ApplyColors();
    pnlMain->installEventFilter(this);

    pnlHint = new QFrame(this);
    pnlHint->setObjectName("pnlHint");
    pnlHint->setFixedSize(242, 43);
    pnlHint->setStyleSheet("QFrame#pnlHint { background: white; border-bottom: 8px solid #FDF8C8; }");
    lblHint = new QLabel(pnlHint);
    lblHint->setObjectName("lblHint");
    lblHint->setStyleSheet("color: red; font-weight: bold;");
    lblHint->setGeometry(8, 6, 230, 24);
    pnlHint->hide();

    auto restore = [this](const char* name, const char* hint) {
        auto* b = new QToolButton(pnlMain);
        b->setObjectName(name);
        b->setToolTip(hint);
        b->setText(">");
        b->setFixedSize(16, 16);
        b->hide();
        return b;
    };
    btnRestore0 = restore("btnRestore0", " Restore Tools Panel ");
    btnRestore1 = restore("btnRestore1", " Restore Logo Panel ");
    btnRestore2 = restore("btnRestore2", " Restore Help Panel ");
    connect(btnRestore0, &QToolButton::clicked, this, &TfrmLWMain::btnRestoreTools);
    connect(btnRestore1, &QToolButton::clicked, this, [this] {
        imgLogo->show();
        btnRestore1->hide();
    });
    connect(btnRestore2, &QToolButton::clicked, this, [this] {
        pnlHelp->show();
        btnRestore2->hide();
    });

    connect(frSheet, &TfrSheet::imgMainMouseMove, this,
            [this](Qt::MouseButtons b, Qt::KeyboardModifiers, QPoint p) { imgMainMouseMove(b, p); });
    connect(frSheet, &TfrSheet::imgMainMouseDown, this,
            [this](Qt::MouseButton b, Qt::KeyboardModifiers, QPoint p) { imgMainMouseDown(b, p); });
    connect(frSheet, &TfrSheet::imgMainDblClick, this,
            [this](Qt::MouseButton b, Qt::KeyboardModifiers, QPoint) { ViewDblClick(b); });
    connect(frSheet, &TfrSheet::SelectShapeMouseDown, this,
            [this](Qt::MouseButton b, Qt::KeyboardModifiers, QPoint p) { SelectShapeMouseDown(b, p); });
    connect(frSheet, &TfrSheet::SelectShapeMouseMove, this,
            [this](Qt::MouseButtons b, Qt::KeyboardModifiers, QPoint p) { SelectShapeMouseMove(b, p); });
    connect(frSheet, &TfrSheet::SelectShapeMouseUp, this,
            [this](Qt::MouseButton b, Qt::KeyboardModifiers, QPoint p) { SelectShapeMouseUp(b, p); });
    connect(frSheet, &TfrSheet::SelectShapeDblClick, this,
            [this](Qt::MouseButton b, Qt::KeyboardModifiers, QPoint) { ViewDblClick(b); });
    connect(frSheet, &TfrSheet::btnCloseClicked, this, [this] {
        // While "Draw Path" is down, this releases it (which zooms out).
        if (frmLWParams && frmLWParams->DrawPathOn())
            frmLWParams->SetDrawPath(false);
        else
            frSheet->SetZoom(false);
    });
    connect(frSheet, &TfrSheet::btn3DClicked, this, [this] {
        if (!Preview3DOpen) Open3DPreview();
    });
}

void TfrmLWMain::BuildActions() {
    auto make = [this](const char* name, const QString& text, QKeySequence key = {}) {
        auto* a = new QAction(text, this);
        a->setObjectName(name);
        if (!key.isEmpty()) a->setShortcut(key);
        a->setShortcutContext(Qt::WindowShortcut);
        addAction(a);
        return a;
    };
    actNewProject = make("actNewProject", "New Project", QKeySequence(Qt::CTRL | Qt::Key_N));
    actOpenProject = make("actOpenProject", "Open Project", QKeySequence(Qt::CTRL | Qt::Key_O));
    actSaveProject = make("actSaveProject", "Save Project", QKeySequence(Qt::CTRL | Qt::Key_S));
    actPrintProject = make("actPrintProject", "Print / PDF", QKeySequence(Qt::CTRL | Qt::Key_P));
    actSendPDF = make("actSendPDF", "Send PDF");
    actUndo = make("actUndo", "Undo", QKeySequence(Qt::CTRL | Qt::Key_Z));
    actRedo = make("actRedo", "Redo");
    actZoomIn = make("actZoomIn", "Zoom In", QKeySequence(QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_Plus)));
    actZoomOut = make("actZoomOut", "Zoom Out", QKeySequence(QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_Minus)));
    actExit = make("actExit", "Exit", QKeySequence(Qt::CTRL | Qt::Key_Q));
    actMoveLeft = make("actMoveLeft", "Move Left", QKeySequence(Qt::CTRL | Qt::Key_Left));
    actMoveRight = make("actMoveRight", "Move Right", QKeySequence(Qt::CTRL | Qt::Key_Right));
    actMoveUp = make("actMoveUp", "Move Up", QKeySequence(Qt::CTRL | Qt::Key_Up));
    actMoveDown = make("actMoveDown", "Move Down", QKeySequence(Qt::CTRL | Qt::Key_Down));
    actDelete = make("actDelete", "Delete", QKeySequence(Qt::Key_Delete));
    actClone = make("actClone", "Clone");

    connect(actNewProject, &QAction::triggered, this, &TfrmLWMain::actNewProjectExecute);
    connect(actOpenProject, &QAction::triggered, this, &TfrmLWMain::actOpenProjectExecute);
    connect(actSaveProject, &QAction::triggered, this, &TfrmLWMain::actSaveProjectExecute);
    connect(actPrintProject, &QAction::triggered, this, &TfrmLWMain::actPrintProjectExecute);
    connect(actUndo, &QAction::triggered, this, &TfrmLWMain::actUndoExecute);
    connect(actRedo, &QAction::triggered, this, &TfrmLWMain::actRedoExecute);
    connect(actZoomIn, &QAction::triggered, this, &TfrmLWMain::actZoomInExecute);
    connect(actZoomOut, &QAction::triggered, this, &TfrmLWMain::actZoomOutExecute);
    connect(actExit, &QAction::triggered, this, &QWidget::close);
    connect(actMoveLeft, &QAction::triggered, this, [this] { actMoveExecute(-1, 0); });
    connect(actMoveRight, &QAction::triggered, this, [this] { actMoveExecute(1, 0); });
    connect(actMoveUp, &QAction::triggered, this, [this] { actMoveExecute(0, -1); });
    connect(actMoveDown, &QAction::triggered, this, [this] { actMoveExecute(0, 1); });
    connect(actDelete, &QAction::triggered, this, &TfrmLWMain::actDeleteExecute);
    connect(actSendPDF, &QAction::triggered, this, &TfrmLWMain::actSendPDFExecute);
    actSendPDF->setEnabled(false); // until a project is loaded
    connect(actClone, &QAction::triggered, this, &TfrmLWMain::actCloneExecute);

    // The tool buttons.
    for (size_t i = 0; i < ToolButtons.size(); ++i) {
        QToolButton* b = ToolButtons[i];
        const int tag = b->property("tag").toInt();
        switch (tag) {
        case 0: b->setDefaultAction(actNewProject); break;
        case 1: b->setDefaultAction(actOpenProject); break;
        case 2: b->setDefaultAction(actSaveProject); break;
        case 9: b->setDefaultAction(actPrintProject); break;
        case -1: b->setDefaultAction(actSendPDF); break;
        case 10:
            connect(b, &QToolButton::clicked, this, &QWidget::close);
            break;
        default:
            connect(b, &QToolButton::clicked, this, [this, tag] { ToolButtonClick(tag); });
        }
        // setDefaultAction replaces the caption and hint: keep the button's own.
        b->setText(kTools[i].Caption);
        b->setToolTip(kTools[i].Hint);
    }
}

void TfrmLWMain::BuildMenus() {
    mnuLabel = new QMenu(this);
    mnuLabel->setObjectName("mnuLabel");
    mniZoom = mnuLabel->addAction("Zoom In");
    mniZoom->setObjectName("mniZoom");
    mni3DV = mnuLabel->addAction("3D Preview");
    mni3DV->setObjectName("mni3DV");
    mnuLabel->addSeparator();
    mniShow = mnuLabel->addAction("OFF (Turn Label OFF)");
    mniShow->setObjectName("mniShow");
    mniClone = mnuLabel->addAction("Clone");
    mniClone->setObjectName("mniClone");
    mniOutline = mnuLabel->addAction("Turn Print Outline ON");
    mniOutline->setObjectName("mniOutline");
    mniOutlineAll = mnuLabel->addMenu("Print Outline for All");
    mniOutlineAll->setObjectName("mniOutlineAll");
    QAction* on = mniOutlineAll->addAction("ON");
    QAction* off = mniOutlineAll->addAction("OFF");
    mniAddText = mnuLabel->addAction("Add Text");
    mniAddText->setObjectName("mniAddText");
    mniImport = mnuLabel->addMenu("Import Image from");
    mniImport->setObjectName("mniImport");
    QAction* importFile = mniImport->addAction("File");
    mniImageArrange = mnuLabel->addMenu("Arrange Image");
    mniImageArrange->setObjectName("mniImageArrange");
    QAction* toBack = mniImageArrange->addAction("Send to Back");
    QAction* toFront = mniImageArrange->addAction("Bring to Front");
    mniParams = mnuLabel->addAction("Label Parameters");
    mniParams->setObjectName("mniParams");

    connect(mnuLabel, &QMenu::aboutToShow, this, &TfrmLWMain::mnuLabelPopup);
    connect(mniZoom, &QAction::triggered, this, [this] { frSheet->SetZoom(!Sheet().Zoomed); });
    connect(mni3DV, &QAction::triggered, this, &TfrmLWMain::Open3DPreview);
    connect(mniShow, &QAction::triggered, this, &TfrmLWMain::mniShowClick);
    connect(mniClone, &QAction::triggered, actClone, &QAction::trigger);
    connect(mniOutline, &QAction::triggered, this, &TfrmLWMain::mniOutlineClick);
    connect(on, &QAction::triggered, this, [this] { mniOutlineAllClick(true); });
    connect(off, &QAction::triggered, this, [this] { mniOutlineAllClick(false); });
    connect(mniParams, &QAction::triggered, this, &TfrmLWMain::mniParamsClick);
    connect(importFile, &QAction::triggered, this, [this] {
        if (frmLWParams && Sheet().CurLabel >= 0) frmLWParams->InsertImage();
    });
    connect(toBack, &QAction::triggered, this, [this] { ArrangeImage(false); });
    connect(toFront, &QAction::triggered, this, [this] { ArrangeImage(true); });
    connect(mniAddText, &QAction::triggered, this, [this] {
        if (!frmLWParams) return;
        if (auto* b = frmLWParams->findChild<QAbstractButton*>("btnAdd"); b && b->isEnabled()) b->click();
    });

    mnuLabels = new QMenu(this);
    mnuLabels->setObjectName("mnuLabels");
    connect(mnuLabels, &QMenu::aboutToShow, this, [this] {
        mnuLabels->clear();
        const int n = Sheet().Header.Columns * Sheet().Header.Rows;
        for (int i = 1; i <= n; ++i) {
            QAction* a = mnuLabels->addAction(QString::number(i));
            const int tag = mnuLabelsTag;
            if (tag == 8) continue; // "Zoom to Label" offers the list only
            connect(a, &QAction::triggered, this, [this, i, tag] {
                Sheet().HotLabel = i - 1;
                SelectHotLabel();
                ToolButtonClick(tag);
            });
        }
    });
}

void TfrmLWMain::AttachParams(TfrmLWParams* params) {
    frmLWParams = params;
    if (!params) return;
    params->Drag = &Drag;
    params->BindUndoRedo(actUndo, actRedo);
    params->OpenPictureDialog = [this] {
        return QFileDialog::getOpenFileName(
            this, QString(), QString::fromStdString(ProgramSubfolder("Import Images")),
            "Pictures (*.jpg *.jpeg *.png *.bmp *.gif *.tif *.tiff *.webp *.ico *.svg);;All files (*)");
    };
    // Every edit of the parameters window is a change "Save changes?" protects.
    params->Hooks.EnableUndo = [this] {
        actUndo->setEnabled(true);
        Modified = true;
    };
    params->Hooks.EnableSave = [this] {
        if (ProjectLoaded) actSaveProject->setEnabled(true);
        Modified = true;
    };
    params->Hooks.Refresh3D = [this] {
        if (Preview3DOpen) Refresh3D();
    };
    params->Hooks.LabelRedrawn = [this](int) { frSheet->Changed(); };
}

QToolButton* TfrmLWMain::ToolButton(int tag) const {
    for (QToolButton* b : ToolButtons)
        if (b->property("tag").toInt() == tag) return b;
    return nullptr;
}

void TfrmLWMain::SetProjectCommands(bool enabled) {
    actSaveProject->setEnabled(enabled);
    actPrintProject->setEnabled(enabled);
    actSendPDF->setEnabled(enabled);
    for (int tag = 3; tag <= 8; ++tag) ToolButton(tag)->setEnabled(enabled);
    frSheet->setContextMenuPolicy(enabled ? Qt::CustomContextMenu : Qt::NoContextMenu);
}

// ---------------------------------------------------------------- the project

bool TfrmLWMain::CloseProject() {
    if (Modified) {
        const TMsgButton r = Confirm("Save changes?", mbYes | mbNo | mbCancel);
        if (r == mbCancel || r == mbNone) return false;
        if (r == mbYes && !SaveProjectFile(ProjectFile)) return false;
    }
    if (Sheet().Zoomed) frSheet->SetZoom(false);
    if (frmLWParams) frmLWParams->ShowLabel(-1);
    Sheet().CloseSelection();
    Sheet().ClearSheet();
    Sheet().ClearRedo();
    actUndo->setEnabled(false);
    actRedo->setEnabled(false);
    frSheet->Changed();
    Modified = false;
    return true;
}

void TfrmLWMain::ProjectOpened() {
    frSheet->setContextMenuPolicy(Qt::CustomContextMenu);
    ProjectLoaded = true;
    SetProjectCommands(true);
    if (frmLWParams) {
        frmLWParams->ShowInfo();
        // Outline sheets take no pictures of their own until a label load decides again.
        frmLWParams->EnableImageControls(Sheet().Header.Shape != lsVector);
    }
}

void TfrmLWMain::actNewProjectExecute() {
    std::string path;
    int kind = 0;
    const bool first = FirstTemplatePick;
    FirstTemplatePick = false;
    if (!OnChoose || !OnChoose(cmTemplate, first, path, kind)) return;
    if (!CloseProject()) return;
    if (!Sheet().StartNewProject(path, kind)) {
        // The sheet has said why; the old project is already closed.
        frSheet->LayOut();
        return;
    }
    frSheet->LayOut();
    if (Sheet().Header.OrderCode.empty()) Sheet().Header.OrderCode = ExtractFileStem(path);
    Modified = true;
    ProjectFile.clear();
    ProjectOpened();
}

void TfrmLWMain::actOpenProjectExecute() {
    std::string path;
    int kind = 0;
    const bool first = FirstProjectPick;
    FirstProjectPick = false;
    if (!OnChoose || !OnChoose(cmProject, first, path, kind)) return;
    repaint();
    if (!CloseProject()) return;
    bool opened;
    {
        TStatusScope status("Loading Project... Please Wait");
        Status().SetLine2("");
        opened = Sheet().OpenProjectFile(path);
        frSheet->LayOut();
    }
    if (!opened) return; // the sheet has shown why; no file name is taken on
    ProjectFile = QString::fromStdString(path);
    ProjectOpened();
}

bool TfrmLWMain::SaveProjectFile(const QString& fileName) {
    QString file = fileName;
    if (file.isEmpty()) {
        const QString proposed = QFileInfo(ProjectFile).isFile() ? ProjectFile : QString();
        const QString folder = QString::fromStdString(ProgramSubfolder("Label Projects"));
        file = OnSaveDialog ? OnSaveDialog("Sheet Labels (*.shl)", proposed, folder) : QString();
        if (file.isEmpty()) return false;
        file = WithExtension(file, ".shl");
    }
    if (QFileInfo::exists(file)) {
        const std::string q = "File " + QFileInfo(file).fileName().toStdString() + " already exists. Replace?";
        if (Confirm(q, mbYes | mbNo) != mbYes) return false;
    }
    if (!Sheet().SaveProject(file.toStdString())) return false;
    ProjectFile = file;
    Modified = false;
    return true;
}

void TfrmLWMain::actSaveProjectExecute() {
    SaveProjectFile(QString());
}

QString TfrmLWMain::WritePdf(bool show) {
    const QString folder = QString::fromStdString(ProgramSubfolder("PDF Label Sheets"));
    QString file = OnSaveDialog ? OnSaveDialog("PDF Files (*.pdf)", QString(), folder) : QString();
    if (file.isEmpty()) return {};
    file = WithExtension(file, ".pdf");
    // The old file stays until the new one is written over it: a failed run keeps it.
    if (QFileInfo::exists(file) &&
        Confirm("File " + file.toStdString() + " already exists. Replace?", mbYes | mbNo) != mbYes)
        return {};
    if (!Sheet().WriteSheetPdf(file.toStdString(), show)) return {};
    return file;
}

void TfrmLWMain::actPrintProjectExecute() {
    WritePdf(true);
}

void TfrmLWMain::actSendPDFExecute() {
    if (const QString lib = MissingTlsLibrary(); !lib.isEmpty()) {
        Information((lib + " file not found!").toStdString(), mbOK);
        return;
    }
    const QString pdf = WritePdf(false);
    if (pdf.isEmpty()) return;
    TfrmEMail frmEMail(this);
    frmEMail.edtFile->setText(pdf);
    frmEMail.edtSubjs->setText(frmLWParams ? frmLWParams->lblOrder2->text()
                                           : QString::fromStdString(Sheet().Header.OrderCode));
    if (frmEMail.exec() != QDialog::Accepted) return;
    // The shared pop-up installed at start-up; one of our own when there is none.
    std::unique_ptr<TfrmGauge> own;
    auto* gauge = dynamic_cast<TfrmGauge*>(&Status());
    if (!gauge) gauge = (own = std::make_unique<TfrmGauge>()).get();
    gauge->SendMail(frmEMail.edtFrom->text(), frmEMail.edtSubjs->text(), pdf, frmEMail.memBody->toPlainText());
}

// ---------------------------------------------------------------- undo, zoom, moves

void TfrmLWMain::AfterUndoRedo() {
    frSheet->Changed();
    if (frmLWParams && frmLWParams->LabelShown() && Sheet().CurLabel >= 0)
        frmLWParams->LoadLabelParams(Sheet().CurLabel, Sheet().CurFace);
    if (ProjectLoaded) actSaveProject->setEnabled(true);
    Modified = true;
    if (Preview3DOpen) Refresh3D();
}

void TfrmLWMain::actUndoExecute() {
    if (Sheet().UndoList.empty()) {
        actUndo->setEnabled(false);
        return;
    }
    actUndo->setEnabled(Sheet().Undo());
    actRedo->setEnabled(true);
    AfterUndoRedo();
}

void TfrmLWMain::actRedoExecute() {
    if (Sheet().RedoList.empty()) {
        actRedo->setEnabled(false);
        return;
    }
    actRedo->setEnabled(Sheet().Redo());
    actUndo->setEnabled(true);
    AfterUndoRedo();
}

void TfrmLWMain::actZoomInExecute() {
    if (Sheet().HasSelection()) frSheet->SetZoom(true);
}

void TfrmLWMain::actZoomOutExecute() {
    if (Sheet().HasSelection()) frSheet->SetZoom(false);
}

void TfrmLWMain::actMoveExecute(int dx, int dy) {
    if (!frmLWParams || !frmLWParams->isVisible()) return;
    frmLWParams->NudgeObject(dx, dy);
}

void TfrmLWMain::actCloneExecute() {
    if (!frmLWParams || Sheet().CurLabel < 0) return;
    if (frmLWParams->CloneLabel(Sheet().CurLabel)) LabelChanged(Sheet().CurLabel);
}

void TfrmLWMain::ArrangeImage(bool toFront) {
    if (!frmLWParams || Sheet().CurLabel < 0) return;
    const int n = frmLWParams->lstBGFiles->count();
    const int i = frmLWParams->lstBGFiles->currentRow();
    if (i < 0 || n < 2) return;
    const int to = toFront ? 0 : n - 1;
    if (i != to) frmLWParams->MoveImage(i, to);
}

void TfrmLWMain::actDeleteExecute() {
    // The remove buttons belong to the parameters window's pages.
    if (!frmLWParams) return;
    const char* name = nullptr;
    switch (frmLWParams->ActiveKind()) {
    case pkGraphic: name = "btnClear"; break;
    case pkText: name = "btnDel"; break;
    case pkBarcode: name = "btnDelBarcode"; break;
    default: return;
    }
    if (auto* b = frmLWParams->findChild<QAbstractButton*>(name); b && b->isEnabled() && b->isVisible()) b->click();
}

void TfrmLWMain::ZoomToLabel() {
    if (Sheet().HasSelection())
        frSheet->SetZoom(true);
    else
        ShowLabelList(8);
}

// ---------------------------------------------------------------- tool buttons

void TfrmLWMain::ShowLabelList(int tag) {
    mnuLabelsTag = tag;
    QToolButton* b = ToolButton(tag);
    mnuLabels->popup(b ? b->mapToGlobal(QPoint(b->width(), 0)) : QCursor::pos());
}

void TfrmLWMain::ShowHint(const QString& text) {
    tmrHint->stop();
    lblHint->setText(text);
    if (frmLWParams) {
        const QPoint g(frmLWParams->frameGeometry().left(), frmLWParams->frameGeometry().top() - 30 - pnlHint->height());
        QPoint p = mapFromGlobal(g);
        p.setX(std::clamp(p.x(), 0, std::max(0, width() - pnlHint->width())));
        p.setY(std::clamp(p.y(), 0, std::max(0, height() - pnlHint->height())));
        pnlHint->move(p);
    }
    pnlHint->raise();
    pnlHint->show();
    tmrHint->start();
}

void TfrmLWMain::ToolButtonClick(int tag) {
    if (tag == 8) {
        ZoomToLabel();
        return;
    }
    if (tag < 3 || tag > 7) return;
    if (!Sheet().HasSelection()) {
        ShowLabelList(tag);
        return;
    }
    const QString n = kTabNames[size_t(tag - 3)];
    if (frmLWParams && frmLWParams->Collapsed()) frmLWParams->ToggleCollapsed();
    ShowHint(QString("%1 Tab Activated...").arg(n));
    if (!frmLWParams) return;
    frmLWParams->show();
    frmLWParams->ShowTab(n);
    if (n == QLatin1String("Text")) {
        if (auto* b = frmLWParams->findChild<QAbstractButton*>("btnAdd"); b && b->isEnabled()) b->click();
    } else if (n == QLatin1String("Barcode") && frmLWParams->lstBCTypes && frmLWParams->lstBCTypes->currentIndex() <= 0 &&
               frmLWParams->lstBCTypes->count() > 1) {
        frmLWParams->lstBCTypes->setCurrentIndex(1);
    }
}

// ---------------------------------------------------------------- selection

void TfrmLWMain::SelectHotLabel() {
    Sheet().SelectHotLabel();
    if (frmLWParams) frmLWParams->ShowLabel(Sheet().HotLabel >= 0 ? Sheet().CurLabel : -1);
    frSheet->Changed();
}

void TfrmLWMain::LoadLabelParams(int label, int face) {
    if (frmLWParams) frmLWParams->LoadLabelParams(label, face);
}

void TfrmLWMain::LabelChanged(int label) {
    if (frmLWParams && frmLWParams->LabelShown() && Sheet().CurLabel == label) frmLWParams->RefreshLabelState();
    Modified = true;
}

void TfrmLWMain::ShowLabelInfo(int label) {
    tmrInfo->stop();
    frmLabelInfo->SetLabel(label);
    frmLabelInfo->move(mapToGlobal(QPoint(pnlLeft->isVisible() ? pnlLeft->width() + 4 : 4, 35)));
    frmLabelInfo->show();
    tmrInfo->start();
}

void TfrmLWMain::Hover(QPoint pos) {
    if (Sheet().Labels.empty()) return;
    if (Sheet().HoverAt(pos)) ShowLabelInfo(Sheet().HotLabel);
    frSheet->imgMain->setCursor(Sheet().HotLabel >= 0 ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void TfrmLWMain::imgMainMouseMove(Qt::MouseButtons, QPoint pos) {
    if (!Sheet().Zoomed) Hover(pos);
}

void TfrmLWMain::imgMainMouseDown(Qt::MouseButton button, QPoint pos) {
    if (Sheet().Labels.empty()) return;
    Hover(pos);
    if (!Sheet().Zoomed) {
        if (Sheet().HasSelection() && Sheet().SelIndex >= 0) {
            Sheet().SelIndex = -1;
            if (Sheet().HotLabel < 0) Sheet().SelKind = 255;
            Sheet().DrawLabel(Sheet().CurLabel, -1, false);
        }
        SelectHotLabel();
    }
    if (button == Qt::RightButton && ProjectLoaded) mnuLabel->popup(QCursor::pos());
}

void TfrmLWMain::SelectShapeMouseDown(Qt::MouseButton button, QPoint pos) {
    tmrDClick->start();
    Drag.Guard = true;
    TSheet& s = Sheet();
    if (s.Header.Shape == lsBox && s.CurLabel >= 0) {
        const bool changed = s.SelectFaceAtPoint(pos);
        LoadLabelParams(s.CurLabel, s.CurFace);
        if (frmLWParams) frmLWParams->SyncSelection();
        if (changed) s.DrawLabel(s.CurLabel, -1, false);
    }
    if (frmLWParams) {
        const int kind = frmLWParams->ActiveKind();
        const int before = s.SelIndex;
        if (kind == pkGraphic) {
            s.ImageAtPoint(pos, before);
            if (s.SelIndex != before) s.DrawLabel(s.CurLabel, -1, false);
            frmLWParams->SelectImage(s.SelIndex);
        } else if (kind == pkText) {
            s.TextAtPoint(pos, before);
            if (s.SelIndex != before) s.DrawLabel(s.CurLabel, -1, false);
            frmLWParams->SelectText(s.SelIndex);
        }
    }
    frSheet->Changed();
    s.HotLabel = frSheet->SelectShape->Tag;
    Drag.Last = pos;
    Drag.Active = true;
    Drag.UndoTaken = false;
    if (button == Qt::RightButton && ProjectLoaded) mnuLabel->popup(QCursor::pos());
}

void TfrmLWMain::SelectShapeMouseMove(Qt::MouseButtons, QPoint pos) {
    if (!Drag.Active || Drag.Guard || !frmLWParams) return;
    TSheet& s = Sheet();
    const double dx = s.PxToMmX(pos.x() - Drag.Last.x()), dy = s.PxToMmY(pos.y() - Drag.Last.y());
    if (!Drag.UndoTaken) {
        // One undo step for the whole gesture, taken before its first movement.
        s.Record(true);
        actUndo->setEnabled(true);
        Drag.UndoTaken = true;
    }
    if (frmLWParams->DragObject(dx, dy)) Modified = true;
    Drag.Last = pos;
}

void TfrmLWMain::SelectShapeMouseUp(Qt::MouseButton, QPoint) {
    Drag.Active = false;
    if (Preview3DOpen && Drag.UndoTaken) Refresh3D();
    Drag.UndoTaken = false;
}

void TfrmLWMain::ViewDblClick(Qt::MouseButton button) {
    if (button != Qt::LeftButton) return;
    Drag.Active = false;
    Drag.Guard = false;
    if (Sheet().HasSelection()) frSheet->SetZoom(!Sheet().Zoomed);
}

// ---------------------------------------------------------------- the label menu

void TfrmLWMain::mnuLabelPopup() {
    TSheet& s = Sheet();
    const int hot = s.HotLabel;
    const bool onLabel = hot >= 0 && hot < int(s.Labels.size());
    mniZoom->setVisible(onLabel && s.Label(hot).Vis);
    mniZoom->setText(s.Zoomed ? "Zoom Out" : "Zoom In");
    mni3DV->setVisible(onLabel && !Preview3DOpen && s.Header.Shape == lsBox);
    mniShow->setVisible(onLabel);
    mniClone->setVisible(onLabel);
    mniOutline->setVisible(onLabel);
    mniAddText->setVisible(onLabel);
    mniImport->menuAction()->setVisible(onLabel);
    mniParams->setVisible(onLabel);
    bool arrange = false;
    if (onLabel) {
        mniShow->setText(s.Label(hot).Vis ? "OFF (Turn Label OFF)" : "ON (Turn Label ON)");
        mniOutline->setText(s.Label(hot).VisFr ? "Turn Print Outline OFF" : "Turn Print Outline ON");
        arrange = s.CurLabel >= 0 && s.Face(-1, 0).Images.size() > 1;
    }
    mniImageArrange->menuAction()->setVisible(onLabel && arrange);
}

void TfrmLWMain::mniShowClick() {
    const int hot = Sheet().HotLabel;
    if (hot < 0) return;
    Sheet().SetLabelVis(hot, !Sheet().Label(hot).Vis);
    frSheet->Changed();
    LabelChanged(hot);
}

void TfrmLWMain::mniOutlineClick() {
    const int hot = Sheet().HotLabel;
    if (hot < 0) return;
    Sheet().Label(hot).VisFr = !Sheet().Label(hot).VisFr;
    LabelChanged(hot);
}

void TfrmLWMain::mniOutlineAllClick(bool on) {
    for (auto& l : Sheet().Labels) l->VisFr = on;
    if (Sheet().HotLabel >= 0) LabelChanged(Sheet().HotLabel);
}

void TfrmLWMain::mniParamsClick() {
    if (!frmLWParams) return;
    QWidget* shape = frSheet->SelectShape;
    const QPoint inMain = frSheet->mapTo(this, shape->geometry().topLeft());
    QPoint g = mapToGlobal(QPoint(inMain.x(), inMain.y() + shape->height() + 30));
    const QRect screen = this->screen() ? this->screen()->geometry() : QRect(0, 0, 1920, 1080);
    if (g.y() + frmLWParams->height() > screen.bottom() - 35) g.setY(screen.bottom() - 35 - frmLWParams->height());
    frmLWParams->move(g);
    frmLWParams->show();
}

// ---------------------------------------------------------------- the 3D preview

void TfrmLWMain::Open3DPreview() {
    TSheet& s = Sheet();
    if (Preview3DOpen || s.CurLabel < 0 || s.Header.Shape != lsBox) return;
    Tfrm3DV* v = Tfrm3DV::Open(s, s.CurLabel, this);
    if (!v) return;
    v->OnRefresh = [this] { Refresh3D(); };
    Preview3DOpen = true;
    Refresh3D();
    v->show();
}

void TfrmLWMain::Refresh3D() {
    if (Tfrm3DV* v = Tfrm3DV::Instance(); v && Sheet().CurLabel >= 0) v->Refresh(Sheet().CurLabel);
}

void TfrmLWMain::tmr3DVTimer() {
    if (Preview3DOpen && Tfrm3DV::DestroyIfClosed()) Preview3DOpen = false;
    if (Preview3DOpen && !Tfrm3DV::Instance()) Preview3DOpen = false;
}

// ---------------------------------------------------------------- panels

void TfrmLWMain::btnCloseTools() {
    pnlLeft->hide();
    btnRestore1->hide();
    btnRestore2->hide();
    btnRestore0->move(2, 2);
    btnRestore0->show();
    btnRestore0->raise();
}

void TfrmLWMain::btnRestoreTools() {
    pnlLeft->show();
    btnRestore0->hide();
    btnRestore1->setVisible(imgLogo->isHidden());
    btnRestore2->setVisible(pnlHelp->isHidden());
}

void TfrmLWMain::btnCloseLogo() {
    imgLogo->hide();
    btnRestore1->move(2, 2);
    btnRestore1->show();
    btnRestore1->raise();
}

void TfrmLWMain::btnCloseHelp() {
    pnlHelp->hide();
    btnRestore2->move(2, pnlMain->height() - btnRestore2->height() - 4);
    btnRestore2->show();
    btnRestore2->raise();
}

// ---------------------------------------------------------------- window events

void TfrmLWMain::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    if (!FirstShow) return;
    FirstShow = false;
    frSheet->Sheet.FullRedraw = true;
    frSheet->btnClose->raise();
    frSheet->btn3D->raise();
    frSheet->LayOut();
    if (frmLWParams) frmLWParams->PlaceAtMainWindow();
}

bool TfrmLWMain::eventFilter(QObject* o, QEvent* e) {
    if (o == pnlMain && e->type() == QEvent::Resize && !Closing) {
        frSheet->LayOut();
        if (btnRestore2->isVisible()) btnRestore2->move(2, pnlMain->height() - btnRestore2->height() - 4);
    }
    return QMainWindow::eventFilter(o, e);
}

void TfrmLWMain::changeEvent(QEvent* e) {
    if (e->type() == QEvent::WindowStateChange && frmLWParams && ProjectLoaded) {
        if (isMinimized())
            frmLWParams->hide();
        else
            frmLWParams->show();
    }
    QMainWindow::changeEvent(e);
}

void TfrmLWMain::closeEvent(QCloseEvent* e) {
    if (!CloseProject()) {
        e->ignore();
        return;
    }
    Closing = true;
    e->accept();
}

} // namespace tessora
