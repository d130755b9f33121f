#pragma once
// TfrmColorPicker: the one colour chooser of the label editor. It lives for the whole run and
// is either hidden, shown without blocking (the user may also sample a colour from the sheet
// view), or shown modally for the text dialog. What its OK does depends on the target code
// of the last opening; the parameters window installs those actions through OnOK.
#include <QColor>
#include <QCursor>
#include <QDialog>
#include <QPointer>
#include <functional>

class QLabel;
class QPushButton;
class QScrollBar;
class QTimer;

namespace tessora {

class TfrSheet;
class THueRing;

// Target codes: what OK does with the colour.
enum TPickTarget { ptModal = -1, ptLabelColor = 0, ptOutlineColor = 2, ptShadowColor = 3, ptGuiColor = 4 };

class TfrmColorPicker : public QDialog {
    Q_OBJECT
public:
    explicit TfrmColorPicker(QWidget* mainWindow = nullptr);
    ~TfrmColorPicker() override;

    // The picker created at start-up (null before). The first picker constructed becomes it.
    static TfrmColorPicker* Instance();

    int Target = ptLabelColor;
    // Called after OK for targets other than ptModal, with the target code and the colour.
    std::function<void(int target, QColor color)> OnOK;

    // The swatch colour.
    QColor Color() const;
    // Sets the ring (when updateWheel), the bars, the value labels and the swatch.
    void ShowColor(QColor color, bool updateWheel);

    // Shown without blocking for a target (0, 2, 3, 4), placed at the main window's top right,
    // preset to the colour; the sheet view's pointer becomes the eyedropper.
    void OpenFor(int target, QColor preset);
    // Modal use (target -1): true and the colour after OK, false when the window was closed.
    bool PickModal(QColor preset, QColor& result);

    // The sheet view whose presses sample a colour while the picker is visible.
    void SetSheetFrame(TfrSheet* frame);
    // A press on the sheet view while the picker is visible: samples the screen pixel under
    // the pointer at the next timer tick. False when the picker is not visible (the press is
    // the sheet's).
    bool SampleAt(QPoint globalPos);

    // ---- controls
    THueRing* clrPicker2 = nullptr;
    QScrollBar* scbR = nullptr;
    QScrollBar* scbG = nullptr;
    QScrollBar* scbB = nullptr;
    QLabel* lblR2 = nullptr;
    QLabel* lblG2 = nullptr;
    QLabel* lblB2 = nullptr;
    QLabel* shpColor = nullptr;
    QPushButton* btnOK = nullptr;

    void btnOKClick();

    // The eyedropper pointer the sheet view shows while the picker is open; the program
    // sets its own PICK cursor here at start-up.
    QCursor PickCursor{Qt::CrossCursor};
    // The screen-colour sampler: single shot, 1 ms, running only between a press and its sample.
    QTimer* tmrSample = nullptr;
    // The colour of one screen pixel: grabbed from the screen, or where the screen cannot be
    // read (Wayland), from the program's own window at that point. Invalid when
    // neither has it.
    static QColor ScreenPixel(QPoint global);

protected:
    void hideEvent(QHideEvent* e) override;

private:
    void PlaceAtMainWindow();
    void clrPicker2Change(QColor color);
    void scbChange();
    void tmrSampleTimer();
    void RestoreCursors();

    QWidget* MainWindow;
    QPointer<TfrSheet> Frame;
    QColor Current = Qt::black;
    bool Loading = false;    // ShowColor is setting the controls
    bool CursorsSet = false; // the sheet view shows PickCursor
    QCursor ViewCursor;      // the view image's pointer before
    QPoint SamplePos;
};

} // namespace tessora
