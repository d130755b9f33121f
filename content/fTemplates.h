#pragma once
// TfrmTemplates: the modal chooser of a sheet template for a new project, or of a saved
// project to open. It lists one kind of file from the program folder, previews the
// selected one in a sheet frame of its own and links to the order page and the online
// catalogue. The caller loads the chosen file itself.
//
//     TfrmTemplates dlg(this);
//     dlg.SetMode(cmTemplate);
//     if (dlg.exec() == QDialog::Accepted)
//         sheet.StartNewProject(dlg.SelectedPath(), dlg.Kind());
#include "platform/uSettings.h"

#include <QDialog>
#include <QFrame>
#include <array>
#include <functional>
#include <string>

class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTimer;

namespace tessora {

class TfrSheet;

// The numbers are the catalogue's and the download window's modes.
enum TChooserMode : int { cmTemplate = 1, cmProject = 2 };

// Kinds 1..4: names, panel captions and information texts.
inline constexpr std::array<const char*, 4> kKindNames = {"Regular Labels", "Corvane Labels", "Folding Boxes",
                                                          "Gallery Templates"};
// The shop that sells the label sheets the information texts refer to.
inline constexpr const char* kShopAddress = "www.corvane.example/shop";

// The maker's web site: the scheme, host and port of the server's base address.
QString MakerSiteUrl();
// The order page of a template file: <site>/order.php?tpl=<order key>.
QString OrderUrl(const std::string& templatePath);

// Opens the online catalogue modally in this mode over `parent`; true when something was
// downloaded. Without one, "Get more..." behaves as a catalogue with nothing new.
using TCatalogOpener = std::function<bool(QWidget* parent, TChooserMode mode)>;
void SetCatalogOpener(TCatalogOpener opener);

// A kind panel: a picture over a caption; a click anywhere on it selects its kind.
class TKindPanel : public QFrame {
    Q_OBJECT
public:
    TKindPanel(int tag, const QString& caption, QWidget* parent);
    int Tag;
    QLabel* img = nullptr;
    QLabel* lbl = nullptr;

Q_SIGNALS:
    void clicked(int tag);

protected:
    void mousePressEvent(QMouseEvent* e) override;
};

class TfrmTemplates : public QDialog {
    Q_OBJECT
public:
    explicit TfrmTemplates(QWidget* parent = nullptr);
    ~TfrmTemplates() override;

    // Set before showing.
    void SetMode(TChooserMode mode);
    TChooserMode Mode() const { return FMode; }
    // The preview's workspace and label-space colours, like the main view's.
    void SetGuiSettings(const TGuiSettings& gui);

    // The chosen kind 1..4 in template mode, 0 (the project extension's index) in project mode.
    int Kind() const { return FMode == cmProject ? 0 : FKind; }
    // The folder, "/", the selected file's name and its extension; empty with nothing selected.
    std::string SelectedPath() const;
    // The folder listed ("Templates" or "Label Projects" in the program folder), with '/'.
    std::string Folder() const;

    // ---- controls
    QLabel* lblHint = nullptr;  // "Select a Template" / "Select a Label"
    QLabel* lblHint2 = nullptr; // "from the list on the left"
    QFrame* pnlHint = nullptr;
    QFrame* pnlInfo = nullptr; // the tall hint box with the kind's information text
    QLabel* lblInfo = nullptr;
    std::array<TKindPanel*, 4> pnl{};
    QListWidget* lstTemplates = nullptr;
    QGroupBox* grpPreview = nullptr;
    QFrame* pnlPreview = nullptr;
    TfrSheet* frTemplates1 = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;
    QPushButton* btnOrder = nullptr;
    QPushButton* btnGetMore = nullptr;
    QTimer* tmrStart = nullptr;

    // ---- handlers
    // Runs once, 200 ms after the window is first shown: the mode's folder, the preview's
    // drawing and kind 1.
    void tmrStartTimer();
    bool Started() const { return FStarted; }
    // A click on a kind panel; ignored in project mode.
    void pnlClick(int kind);
    void SelectKind(int kind);
    void FillList();
    void PreviewEntry(int i);
    void lstTemplatesClick();
    void lstTemplatesDblClick();
    void btnOrderClick();
    void btnGetMoreClick();

    // The entry shown in the preview, -1 before the first.
    int LastPreviewed() const { return FLastPreviewed; }
    // How long the status pop-up stays after a preview has loaded.
    int PreviewPauseMs = 150;

protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void ApplyMode();
    void ClearPreview();
    QString EntryFile(int i) const;

    TChooserMode FMode = cmTemplate;
    int FKind = 1;
    int FLastPreviewed = -1;
    bool FStarted = false;
    bool FTimerStarted = false;
    bool FPreviewing = false;
};

} // namespace tessora
