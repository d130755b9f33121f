#include "app/uStartup.h"

#include "app/fLWMain.h"
#include "app/fMessage.h"
#include "app/fSplash.h"
#include "app/uCursors.h"
#include "content/dTessora.h"
#include "content/fGauge.h"
#include "content/uServer.h"
#include "params/fColorPicker.h"
#include "document/uMessages.h"
#include "platform/uProgramFolder.h"
#include "platform/uSettings.h"
#include "platform/uShell.h"
#include "platform/uSingleInstance.h"
#include "sheetview/fraSheet.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QFileInfo>
#include <QLabel>
#include <QTimer>
#include <exception>

namespace tessora {

QString UpdaterMissingMessage() {
    return QString("%1 file not found!\nPlease Install the application correctly!").arg(kUpdaterName);
}

// ---- the start-up sequence

TStartup::TStartup(TStartupOptions options) : Options(std::move(options)) {}

TStartup::~TStartup() = default;

void TStartup::Step(const QString& name) const {
    if (Options.OnStep) Options.OnStep(name);
}

void TStartup::Pause(int ms) const {
    // Waits with the events running, so the splash paints and a second start is heard.
    if (ms <= 0) return;
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

bool TStartup::CheckInstallation() const {
    if (!QFileInfo(Folder + kUpdaterFile).isFile()) {
        Information(UpdaterMissingMessage().toStdString(), mbOK);
        return false;
    }
    if (!QFileInfo(Folder + kDatabaseFile).isFile()) {
        Information(kDatMissingMessage, mbOK);
        return false;
    }
    return true;
}

std::unique_ptr<TfrmSplash> TStartup::RunSplash() {
    auto splash = std::make_unique<TfrmSplash>();
    splash->Tag = 1;
    splash->show();
    Step("splash");
    splash->SetStatus("Please wait. Checking for Update...");
    Step("checking");
    const QString version = CheckForNewVersion();
    if (!version.isEmpty()) {
        splash->SetStatus("New version is available...");
        Step("new-version");
        TfrmMessage frmMessage(NewVersionQuestion(version));
        frmMessage.move(splash->x() + 10, splash->y() + splash->lblLicence->y());
        QTimer::singleShot(0, &frmMessage, [this] { Step("question"); });
        if (frmMessage.exec() == QDialog::Accepted) {
            splash->Tag = 0;
            // Not started is no reason to stay: the user chose to update.
            ShellOpen(Folder + kUpdaterFile, {"-s"});
            Step("updater");
        }
    }
    splash->SetStatus("Please wait. Loading...");
    Step("loading");
    if (splash->Tag == 1) {
        Step("pause");
        Pause(Options.PauseMs);
    }
    return splash;
}

bool TStartup::CreateObjects() {
    try {
        Database = std::make_unique<TdmTessora>(Folder);
        Step("database");
        // The main window first: the parameters window is placed against it and owned by it.
        auto main = std::make_unique<TfrmLWMain>(Database.get());
        main->AttachParams(new TfrmLWParams(main->frSheet, main.get()));
        // The one colour picker of the run; its eyedropper samples the main sheet view.
        auto* picker = new TfrmColorPicker(main.get());
        picker->SetSheetFrame(main->frSheet);
        picker->PickCursor = ScreenCursor(crPick);
        // The status pop-up, owned by the main window; it uninstalls itself when it goes.
        SetStatusWindow(new TfrmGauge(main.get()));
        Main = std::move(main);
        Main->showMaximized();
        Step("main-window");
        return true;
    } catch (const std::exception& e) {
        qWarning("Start-up failed: %s", e.what());
    }
    Main.reset();
    Database.reset();
    return false;
}

void TStartup::RaiseMainWindow() {
    if (!Main) return;
    ++Raises;
    if (Main->isMinimized()) Main->showNormal();
    Main->show();
    Main->raise();
    Main->activateWindow();
}

int TStartup::Run() {
    Guard = std::make_unique<TSingleInstance>(Options.InstanceName, Options.InstanceFolder);
    Guard->OnRaise = [this] { RaiseMainWindow(); };
    if (Guard->Acquire() == TSingleInstance::Secondary) {
        Step("second-start");
        return 0;
    }
    Step("instance");

    Folder = ResolveProgramFolder(Options.Home);
    Step("installation");
    if (!CheckInstallation()) return 1;

    LoadCursors();
    Step("cursors");

    bool created = false;
    {
        std::unique_ptr<TfrmSplash> splash = RunSplash();
        if (splash->Tag == 0) return 0;
        QApplication::setApplicationDisplayName(kAppTitle);
        created = CreateObjects();
    } // the splash goes, also when a creation failed
    Step("splash-freed");
    if (!created) return 1;

    if (!Options.RunEventLoop) return 0;
    Step("event-loop");
    return QApplication::exec();
}

} // namespace tessora
