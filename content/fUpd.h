#pragma once
// TfrmUpd: downloads catalogue files, one after the other, into the program folder,
// together with the pictures each downloaded file names. Shown modally; afterwards
// BtnTag() tells the outcome.
//
//     TfrmUpd dlg(this);
//     dlg.SetUp(1, {"Round Label.tpr"});
//     dlg.exec();
//     if (dlg.BtnTag() != 2) ...
#include "content/uServer.h"

#include <QDialog>
#include <QStringList>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace tessora {

// Stores a downloaded body as `name` in the temporary folder and, unless it is a ".zip",
// in `targetFolder` (created when missing) as well, replacing what was there. Both are
// written to a temporary file beside the final one and renamed, so a failure leaves no
// partial file and the old file intact. False for a name that is not a bare file name.
bool StoreDownload(const QByteArray& body, const QString& name, const QString& targetFolder);

class TfrmUpd : public QDialog {
    Q_OBJECT
public:
    explicit TfrmUpd(QWidget* parent = nullptr);
    ~TfrmUpd() override;

    // Mode 1 templates, 2 label projects; the names as the catalogue lists them.
    void SetUp(int mode, const QStringList& files);
    // The same with the names one a line.
    void SetUp(int mode, const QString& files);

    // 0 while working, 1 completed, 2 cancelled.
    int BtnTag() const { return FBtnTag; }
    // The listed files that were downloaded and stored.
    const QStringList& Downloaded() const { return FDownloaded; }

    // ---- controls
    QLabel* imgLogo = nullptr;
    QLabel* lblInfo = nullptr;
    QLabel* lblInfo2 = nullptr;
    QProgressBar* bar = nullptr;
    QPushButton* btnUpdate = nullptr;
    QTimer* tmrStart = nullptr;

    // ---- handlers
    // Runs once, 100 ms after the window is first shown: every download.
    void tmrStartTimer();
    void btnUpdateClick();

protected:
    void showEvent(QShowEvent* e) override;
    void reject() override;

private:
    bool DownloadFile(const QString& source, const QString& folder, const QString& name);

    int FMode = 1;
    QStringList FFiles;
    QStringList FDownloaded;
    int FBtnTag = 0;
    bool FTimerStarted = false;
    bool FStarted = false;
    bool FCloseWhenDone = false;
    TTransfer FClient;
};

} // namespace tessora
