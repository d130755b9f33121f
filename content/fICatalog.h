#pragma once
// TfrmICatalog: the online catalogue. Lists the templates or label projects on the
// download server that are not installed yet, previews them and downloads the selected
// one through TfrmUpd. Tag() is 1 afterwards when something was downloaded.
#include "content/fTemplates.h"

#include <QDialog>
#include <QImage>

class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTimer;

namespace tessora {

// The catalogue modally over `parent`; true when something was downloaded. This is what
// the designer hands the template chooser (SetCatalogOpener).
bool OpenCatalog(QWidget* parent, TChooserMode mode);

class TfrmICatalog : public QDialog {
    Q_OBJECT
public:
    explicit TfrmICatalog(TChooserMode mode, QWidget* parent = nullptr);
    ~TfrmICatalog() override;

    TChooserMode Mode() const { return FMode; }
    int Tag() const { return FTag; }
    // The entry previewed last: -1 at first, -2 right after a download.
    int ListTag() const { return FListTag; }
    // The preview picture as the server sent it (shown scaled down to fit).
    const QImage& PreviewPicture() const { return FPicture; }

    // ---- controls
    QListWidget* lstTemplates = nullptr;
    QGroupBox* grpPreview = nullptr;
    QLabel* imgTemplate = nullptr;
    QPushButton* btnDone = nullptr;
    QPushButton* btnCancel = nullptr;
    QPushButton* btnDownload = nullptr;
    QTimer* tmrStart = nullptr;

    // ---- handlers
    // Runs once, 200 ms after the window is first shown: the server's list.
    void tmrStartTimer();
    void PreviewEntry(int i);
    void lstTemplatesClick();
    void btnDownloadClick();

protected:
    void showEvent(QShowEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    // Enables Download; closes with "Updates list is empty..." when nothing is left.
    // False when it closed.
    bool CheckList();
    QString LocalFolder() const;
    void FitPicture();

    TChooserMode FMode;
    QImage FPicture;
    int FTag = 0;
    int FListTag = -1;
    bool FTimerStarted = false;
    bool FStarted = false;
    bool FBusy = false;
};

} // namespace tessora
