#pragma once
// TfrmLWParams: the tool window in which the selected label is edited. It holds no document
// data: it reads the selected label of the sheet into its controls and writes every change
// straight back (undo snapshot, model, redraw of the label, hooks for the main window).
#include "params/uUnitSpinBox.h"

#include <QPoint>
#include <QWidget>
#include <functional>

class QAction;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLineEdit;
class QSlider;
class QSpinBox;
class QStackedLayout;
class QStackedWidget;
class QFrame;
class QGroupBox;
class QLabel;
class QListWidget;
class QTabWidget;
class QToolButton;
class QPushButton;

namespace tessora {

class TfrSheet;
class TSheet;
class TfrmColorPicker;
class TOnOffCheckBox;
class TColorSwatch;
class TColorButton;

// The main window's state of a mouse drag on the selection rectangle.
struct TDragGesture {
    bool Active = false;    // a press on the selection rectangle is in progress
    bool Guard = false;     // less than 200 ms since that press
    bool UndoTaken = false; // the gesture has moved an object and recorded its undo step
    QPoint Last;            // last mouse position, view pixels
};

// What the window asks of the main window; every hook may be left empty.
struct TParamsHooks {
    std::function<void()> EnableUndo;      // an undo step was recorded: enable actUndo
    std::function<void()> EnableSave;      // enable actSaveProject
    std::function<void()> Refresh3D;       // the main window refreshes the 3D preview if it is open
    std::function<void(int)> LabelRedrawn; // after each redraw of a label by this window
};

// ActiveKind values: the object the shown tab edits.
enum TParamsKind { pkNone = 0, pkControl = 1, pkGraphic = 2, pkText = 3, pkBarcode = 4, pkOutline = 5 };

class TfrmLWParams : public QWidget {
    Q_OBJECT
public:
    static constexpr int StripHeight = 17;
    static constexpr int ExpandedWidth = 526, ExpandedHeight = 298, CollapsedWidth = 123;

    // frame: the main window's sheet view; mainWindow: the window it stays on top of and is
    // placed against (may be null, e.g. in tests).
    TfrmLWParams(TfrSheet* frame, QWidget* mainWindow = nullptr);
    ~TfrmLWParams() override;

    TParamsHooks Hooks;
    // The drag state the position edits consult; the main window points this at its own
    // (never null).
    TDragGesture* Drag = &OwnDrag;

    // btnUndo and btnRedo trigger these actions and follow their enabled state.
    void BindUndoRedo(QAction* undo, QAction* redo);

    // ---- operations other windows call
    // Fills the Info tab from the sheet, loads the Serial tab and shows the window.
    void ShowInfo();
    // Fills every label-dependent control from label and face, changing nothing; they are
    // the sheet's CurLabel and CurFace, which the edits write to.
    void LoadLabelParams(int label, int face);
    // What the main window's SelectHotLabel does here: with a label (the sheet's CurLabel
    // and CurFace set) the label tabs are shown, the label loaded and the Info tab left for
    // Graphic; with -1 the label tabs are hidden, the caption reset and Info shown.
    void ShowLabel(int label);
    bool LabelShown() const { return HasLabel; }
    // 0 none, 1 Control, 2 Graphic or Filters, 3 Text, 4 Barcode, 5 Outline.
    int ActiveKind() const;
    // Sets the sheet's SelKind and SelIndex from the active tab.
    void SyncSelection();
    void SelectImage(int i);
    void SelectText(int i);
    // Collapses to the strip or expands, at the main window's right edge, 12 pixels in.
    void ToggleCollapsed();
    // The main window's first showing puts the window at its bottom right.
    void PlaceAtMainWindow();
    // The window shows only its strip.
    bool Collapsed() const;
    // Makes the tab with this caption active ("Control", "Graphic", ...); false when the tab
    // is not shown.
    bool ShowTab(const QString& caption);

    // A drag movement (mm) through the position edits of the shown tab's object: images on
    // their unaligned axes, texts, barcodes with a type. True when an edit changed.
    bool DragObject(double dxMm, double dyMm);
    // A Ctrl+arrow nudge (mm): images on both axes, barcodes with a type, a selected text.
    bool NudgeObject(double dxMm, double dyMm);

    // ---- apply operations
    void ApplyImage(bool rebuild, bool refresh);
    void ApplyTextGeometry(bool refresh);
    void ApplyBarcode(bool refresh);

    // ---- Control, Graphic, Filters, Barcode, Outline, Settings and Serial tabs
    void ApplyLabelColor();
    void ApplyOutline();
    // Workspace colour from shpGUIBGColor: panel colour, layout, ini file.
    void ApplyGuiColor();
    void LoadGuiSettings();
    void SaveGuiSettings();
    // The picture open dialog of the main window: the chosen file, empty when cancelled.
    std::function<QString()> OpenPictureDialog;
    void InsertImage();
    void RemoveImage();
    void MoveImage(int from, int to);
    // Opens the clone dialog for the label and clones onto the checked labels; false when
    // cancelled.
    bool CloneLabel(int source);
    // Shows the current label's ON and "Print Outline" states again (after the model changed
    // them from outside), without applying anything.
    void RefreshLabelState();
    // Every Graphic control but "Insert Image", until the next image list fill decides again.
    void EnableImageControls(bool enabled);
    // The picker shown for a target (ptLabelColor, ptOutlineColor, ptShadowColor, ptGuiColor).
    void OpenPicker(int target);
    // The picker the window uses: the one created at start-up, else one of its own.
    TfrmColorPicker* Picker();
    // The filter list text of the Filters tab's controls; the controls from a text.
    std::string EncodeFilterControls() const;
    void DecodeFilterControls(const std::string& text);

    // ---- controls
    QFrame* pnlTop = nullptr;
    QLabel* lblCaption = nullptr;
    QToolButton* btnClose = nullptr;
    QFrame* pnlUndoRedo = nullptr;
    QToolButton* btnUndo = nullptr;
    QToolButton* btnRedo = nullptr;
    QToolButton* btnAbout = nullptr;
    QTabWidget* pgcParams = nullptr;
    QWidget* tsInfo = nullptr;
    QWidget* tsSerial = nullptr;
    QWidget* tsControl = nullptr;
    QWidget* tsGraphic = nullptr;
    QWidget* tsFilter = nullptr;
    QWidget* tsText = nullptr;
    QWidget* tsBarcode = nullptr;
    QWidget* tsOutline = nullptr;
    QWidget* tsSettings = nullptr;

    // Info tab
    QGroupBox* grpTemplate = nullptr;
    QLabel* lblUnits2 = nullptr;
    QLabel* lblTSize2 = nullptr;
    QLabel* lblLSize2 = nullptr;
    QLabel* lblOrder2 = nullptr;
    QLabel* lblOrderWWW = nullptr;

    // Graphic tab
    QListWidget* lstBGFiles = nullptr;
    TUnitSpinBox* edtBGX = nullptr;
    TUnitSpinBox* edtBGY = nullptr;
    QComboBox* lstAlign = nullptr;
    QComboBox* lstAlign2 = nullptr;
    QPushButton* btnBGFile = nullptr;
    QPushButton* btnClear = nullptr;
    QToolButton* btnImgUp = nullptr;
    QToolButton* btnImgDown = nullptr;
    QSpinBox* edtScale = nullptr;
    QSpinBox* edtAngle = nullptr;
    QComboBox* lstFlip = nullptr;

    // Control tab
    QPushButton* btnClone = nullptr;
    TOnOffCheckBox* chbVis = nullptr;
    QPushButton* btnColor = nullptr;
    TColorSwatch* shpLblColor = nullptr;
    TOnOffCheckBox* chbBGColor = nullptr;

    // Filters tab; list rows are the filter codes, row 0 the fade
    QListWidget* lstFilters = nullptr;
    QStackedWidget* pgcFilter = nullptr;
    QSpinBox* edtFade = nullptr;
    QSlider* barBrightness = nullptr;
    QSlider* barContrast = nullptr;
    QSpinBox* edtSharp = nullptr;
    QDoubleSpinBox* edtBlur = nullptr;
    QCheckBox* chbGrey = nullptr;
    QCheckBox* chbNegative = nullptr;

    // Outline tab
    QToolButton* btnVisFr = nullptr;
    TOnOffCheckBox* chbVisFr = nullptr;
    TColorButton* pckOLColor = nullptr;
    QPushButton* btnOLColor = nullptr;
    QSpinBox* edtOLThick = nullptr;
    TColorButton* pckOLShColor = nullptr;
    QPushButton* btnOLShColor = nullptr;
    QToolButton* btnOLShadow = nullptr;
    TOnOffCheckBox* chbOLShadow = nullptr;
    QFrame* shpOutline = nullptr;

    // Settings tab
    TColorSwatch* shpGUIBGColor = nullptr;
    QToolButton* btnWSpace1 = nullptr;
    QToolButton* btnWSpace2 = nullptr;
    QLabel* lblSettingsNote = nullptr;

    // Serial tab
    QLabel* lblLSerial2 = nullptr;
    QPushButton* btnSetSerial = nullptr;
    QCheckBox* chbShowSerial = nullptr;
    QSpinBox* edtPgNum = nullptr;
    QSpinBox* edtPgCount = nullptr;
    TUnitSpinBox* edtSrX = nullptr;
    TUnitSpinBox* edtSrY = nullptr;
    QComboBox* lstSrAlignH = nullptr;
    QComboBox* lstSrAlignV = nullptr;

    // Text tab (all values in mm, whatever the display unit)
    QListWidget* lstTObjs = nullptr;
    QToolButton* btnAdd = nullptr;
    QToolButton* btnEdit = nullptr;
    QToolButton* btnDel = nullptr;
    QToolButton* btnAlnHoriz = nullptr;
    QToolButton* btnAlnVert = nullptr;
    TUnitSpinBox* edtX = nullptr;
    TUnitSpinBox* edtY = nullptr;
    TUnitSpinBox* edtWidth = nullptr;
    QComboBox* lstAlignTxt = nullptr;
    QComboBox* lstFlip2 = nullptr;
    QSpinBox* edtAngle2 = nullptr;
    QSpinBox* edtPath = nullptr; // "Path Height:", always disabled
    QPushButton* btnDrawPath = nullptr;
    // The path panel, covering the tab's text controls while Draw Path is down.
    QFrame* pnlPath = nullptr;
    QListWidget* lstPoints = nullptr;
    QDoubleSpinBox* edtPosPX = nullptr;
    QDoubleSpinBox* edtPosPY = nullptr;
    QToolButton* btnPathUp = nullptr;
    QToolButton* btnPathDown = nullptr;
    QToolButton* btnPathLeft = nullptr;
    QToolButton* btnPathRight = nullptr;
    QPushButton* btnAddPoint = nullptr;
    QPushButton* btnDelPoint = nullptr;
    QPushButton* btnClearPoints = nullptr;

    // Runs the text dialog for a new text (add) or the selected one; the Text tab becomes
    // the shown tab.
    void AddOrEditText(bool add);
    // Asks "Delete Text?" and removes the selected text.
    void DeleteText();
    // Moves a text in the face's drawing order (and the list); no undo step.
    void MoveText(int from, int to);
    // Appends a path point (mm from the face's top-left) to the selected text.
    void AddPoint(double x, double y);
    void SelectPoint(int i);
    // Shifts every path point by this many mm.
    void MovePoints(double dx, double dy);
    void DeletePoint();
    void ClearPoints();
    // Draw Path: whether its button is down, and whether the path panel shows.
    bool DrawPathOn() const;
    bool PathPanelVisible() const;
    // Presses or releases Draw Path as a click on its button does.
    void SetDrawPath(bool on);

    // Barcode tab
    QComboBox* lstBCTypes = nullptr;
    TUnitSpinBox* edtBCLeft = nullptr;
    TUnitSpinBox* edtBCTop = nullptr;
    QLineEdit* edtBCText = nullptr;
    QDoubleSpinBox* edtBCWidth = nullptr;
    QDoubleSpinBox* edtBCHeight = nullptr;
    QComboBox* lstBCOutput = nullptr;
    QComboBox* lstBCAlign = nullptr;
    QComboBox* lstBCAngle = nullptr;
    TColorButton* pckBCColor = nullptr;
    QCheckBox* chbBCChSum = nullptr;
    QPushButton* btnDelBarcode = nullptr;

    // Loading states: while set, the change handlers of that area return at once.
    bool Loading = false;
    bool LoadingText = false;
    bool LoadingGraphic = false;
    bool LoadingFilters = false;
    bool LoadingSerial = false;

    static constexpr const char* kOrderWebAddress = "http://www.corvane.example/shop";

protected:
    bool eventFilter(QObject* o, QEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    TfrSheet* Frame;
    QWidget* MainWindow;
    TDragGesture OwnDrag;
    bool HasLabel = false;
    int LoadedImage = -1, LoadedText = -1;
    QPoint DragOffset;
    bool StripDragging = false;

    TSheet& Sheet() const;
    QRect MainRect() const;
    bool HaveCurrentFace() const;
    void BuildFrame();
    void BuildInfoTab();
    void BuildGraphicTab();
    void BuildTextTab();
    void BuildPathPanel(QWidget* parent);
    void BuildBarcodeTab();
    // Control, Graphic, Filters, Barcode, Outline, Settings and Serial tabs
    TfrmColorPicker* OwnPicker = nullptr;
    void BuildControlTab();
    void BuildFilterTab();
    void BuildOutlineTab();
    void BuildSettingsTab();
    void BuildSerialTab();
    void LoadControlTab(int label, int face);
    void LoadBarcodeTab(int label, int face);
    void LoadOutlineTab(int label);
    void PickerOK(int target, uint32_t color);
    void WorkspaceModeClick(QToolButton* clicked);
    void lstFiltersItemChanged(int row);
    void FilterSettingChange();
    void SerialChange();
    void edtPgCountChange();
    void btnSetSerialClick();
    void SerialRedraw();
    void SetLabelTabsVisible(bool visible);
    void UpdateCaption();
    void UpdateImageControls();
    void UpdateTextControls();
    void FillImageList(int selected);
    void FillTextList();
    void LoadImage();
    void LoadText();
    void LoadSerial();
    void ApplyUnits();
    void Snapshot();
    void Redraw(bool rebuild);
    void Refresh();

    // handlers
    void pgcParamsChange();
    void edtBGXChange();
    void edtXChange();
    void edtBCLeftChange();
    void lstAlignChange();
    void lstBCTypesChange();
    void lstBGFilesClick();
    void lstTObjsClick();
    // Text tab
    QStackedLayout* stkText = nullptr;
    void UpdatePathControls();
    void PointsChanged();
    void LoadTextPoints(const std::string& points);
    void AlignTextBox(bool horizontal);
    void btnDrawPathClick();
    void edtPosPXChange();
    void lstPointsClick();
    void lblOrderWWWClick();
    void btnAboutClick();
};

} // namespace tessora
