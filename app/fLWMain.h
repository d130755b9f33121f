#pragma once
// TfrmLWMain: the designer's main window. It hosts the sheet view and the tool panel, starts
// every project command and keeps the modified state behind "Save changes?".
#include "content/fTemplates.h"
#include "params/fLWParams.h"

#include <QMainWindow>
#include <QString>
#include <array>
#include <functional>
#include <string>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QScrollArea;
class QTimer;
class QToolButton;

namespace tessora {

class TdmTessora;
class TfrSheet;
class TfrmLabelInfo;

class TfrmLWMain : public QMainWindow {
    Q_OBJECT
public:
    // dm: the local database for the advertising picture (may be null).
    explicit TfrmLWMain(TdmTessora* dm = nullptr, QWidget* parent = nullptr);
    ~TfrmLWMain() override;

    // The parameters window, made after this window; not owned (it is a child window).
    void AttachParams(TfrmLWParams* params);
    TfrmLWParams* frmLWParams = nullptr;

    // ---- state
    QString ProjectFile;
    bool Modified = false;
    bool FirstTemplatePick = true, FirstProjectPick = true;
    bool Preview3DOpen = false;
    bool ProjectLoaded = false;
    TDragGesture Drag;

    // ---- the dialogs, replaceable for tests
    // The chooser: true when confirmed, with the chosen file and its kind.
    std::function<bool(TChooserMode mode, bool first, std::string& path, int& kind)> OnChoose;
    // A save dialog: the chosen path, empty when cancelled.
    std::function<QString(const QString& filter, const QString& proposed, const QString& folder)> OnSaveDialog;

    // ---- commands
    bool CloseProject();
    bool SaveProjectFile(const QString& fileName);
    // The written PDF, empty when none was chosen or it could not be written.
    QString WritePdf(bool show);
    void SelectHotLabel();
    void LoadLabelParams(int label, int face);
    void LabelChanged(int label);
    void Refresh3D();
    void ToolButtonClick(int tag);
    void ShowLabelList(int tag);
    void ShowHint(const QString& text);
    void ShowLabelInfo(int label);

    // ---- controls
    QFrame* pnlLeft = nullptr;
    QFrame* pnlTools = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QLabel* imgLogo = nullptr;
    QToolButton* btnClose = nullptr;
    QLabel* lblVersion = nullptr;
    QScrollArea* scb = nullptr;
    // Top to bottom: tags 0..9, "Send PDF", 10.
    std::array<QToolButton*, 12> ToolButtons{};
    QToolButton* ToolButton(int tag) const;
    QToolButton* btnSendPDF = nullptr;
    QFrame* pnlHelp = nullptr;
    QLabel* imgAdv = nullptr;
    QLabel* lblWWW = nullptr;
    QToolButton* btnClose2 = nullptr;
    QWidget* pnlMain = nullptr;
    TfrSheet* frSheet = nullptr;
    QFrame* pnlHint = nullptr;
    QLabel* lblHint = nullptr;
    QToolButton* btnRestore0 = nullptr;
    QToolButton* btnRestore1 = nullptr;
    QToolButton* btnRestore2 = nullptr;
    QMenu* mnuLabel = nullptr;
    QMenu* mnuLabels = nullptr;
    int mnuLabelsTag = -1;
    TfrmLabelInfo* frmLabelInfo = nullptr;

    QAction *actNewProject, *actOpenProject, *actSaveProject, *actPrintProject, *actSendPDF;
    QAction *actUndo, *actRedo, *actZoomIn, *actZoomOut, *actExit;
    QAction *actMoveLeft, *actMoveRight, *actMoveUp, *actMoveDown, *actDelete, *actClone;

    QAction *mniZoom, *mni3DV, *mniShow, *mniClone, *mniOutline, *mniAddText, *mniParams;
    QMenu *mniOutlineAll, *mniImport, *mniImageArrange;

    QTimer *tmrInfo, *tmrHint, *tmr3DV, *tmrDClick;

    // ---- handlers
    void actNewProjectExecute();
    void actOpenProjectExecute();
    void actSaveProjectExecute();
    void actPrintProjectExecute();
    void actSendPDFExecute();
    void actUndoExecute();
    void actRedoExecute();
    void actZoomInExecute();
    void actZoomOutExecute();
    void actMoveExecute(int dx, int dy);
    void actDeleteExecute();
    void actCloneExecute();
    // "Bring to Front" (true) or "Send to Back" for the image selected in the parameters window.
    void ArrangeImage(bool toFront);
    void mnuLabelPopup();
    void mniShowClick();
    void mniOutlineClick();
    void mniOutlineAllClick(bool on);
    void mniParamsClick();
    void Open3DPreview();
    void tmr3DVTimer();
    void btnCloseTools();
    void btnRestoreTools();
    void btnCloseLogo();
    void btnCloseHelp();

    // the view's mouse
    void imgMainMouseMove(Qt::MouseButtons buttons, QPoint pos);
    void imgMainMouseDown(Qt::MouseButton button, QPoint pos);
    void SelectShapeMouseDown(Qt::MouseButton button, QPoint pos);
    void SelectShapeMouseMove(Qt::MouseButtons buttons, QPoint pos);
    void SelectShapeMouseUp(Qt::MouseButton button, QPoint pos);
    void ViewDblClick(Qt::MouseButton button);
    // Updates the label under the mouse, the information box and the cursor.
    void Hover(QPoint pos);

protected:
    void closeEvent(QCloseEvent* e) override;
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    TdmTessora* Database;
    bool FirstShow = true;
    bool Closing = false;
    void BuildLeftPanel();
    void BuildMainPanel();
    void BuildActions();
    void BuildMenus();
    void SetProjectCommands(bool enabled);
    void ProjectOpened();
    void AfterUndoRedo();
    void ZoomToLabel();
    TSheet& Sheet() const;
};

} // namespace tessora
