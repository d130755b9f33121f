#pragma once
// The designer's start-up: one running copy, the installation check, the cursors, the
// splash with the version check, the long-lived objects in their order, the event loop.
#include "app/uWindowMessages.h"

#include <QMainWindow>
#include <QString>
#include <functional>
#include <memory>

namespace tessora {

class TdmTessora;
class TfrSheet;
class TfrmSplash;
class TSingleInstance;

// The updater beside the program and the name the installation message gives it.
#ifdef Q_OS_WIN
inline constexpr const char* kUpdaterFile = "upd.exe";
inline constexpr const char* kUpdaterName = "Upd.exe";
#else
inline constexpr const char* kUpdaterFile = "upd";
inline constexpr const char* kUpdaterName = "Upd";
#endif
inline constexpr const char* kDatabaseFile = "tessora.dat";

// "<Updater> file not found!" + line break + "Please Install the application correctly!"
QString UpdaterMissingMessage();
inline constexpr const char* kDatMissingMessage = "DAT file not found!";

struct TStartupOptions {
    QString Home;                     // program folder (as --home); empty: resolved as usual
    QString InstanceName = kAppTitle; // names the lock file and the local server
    QString InstanceFolder;           // where they live; empty: the runtime folder
    int PauseMs = 1500;               // the splash stays readable this long
    bool RunEventLoop = true;         // false: Run returns once the main window is shown
    // Each step of the sequence by name, as it happens: "instance", "second-start",
    // "installation", "cursors", "splash", "checking", "new-version", "question",
    // "updater", "loading", "pause", "database", "main-window", "splash-freed", "event-loop".
    std::function<void(const QString& step)> OnStep;
};

class TStartup {
public:
    explicit TStartup(TStartupOptions options = {});
    ~TStartup();
    TStartup(const TStartup&) = delete;
    TStartup& operator=(const TStartup&) = delete;

    // The whole sequence; returns the exit code: 0 also for a second start and for
    // quitting to update, 1 when the installation is incomplete or a creation fails.
    int Run();

    // The pieces, in their order.
    bool CheckInstallation() const; // shows the installation message when false
    // The splash with the version check; its Tag is 0 when the updater was started.
    std::unique_ptr<TfrmSplash> RunSplash();
    // Creates the long-lived objects; false when one could not be made.
    bool CreateObjects();

    // Brings the main window forward (a second start asks for it); nothing before it exists.
    void RaiseMainWindow();

    QString ProgramFolder() const { return Folder; }
    TSingleInstance* Instance() const { return Guard.get(); }
    TdmTessora* dmTessora() const { return Database.get(); }
    QMainWindow* MainWindow() const { return Main.get(); }
    int RaiseCount() const { return Raises; }

private:
    void Step(const QString& name) const;
    void Pause(int ms) const;

    TStartupOptions Options;
    QString Folder;
    std::unique_ptr<TSingleInstance> Guard;
    std::unique_ptr<TdmTessora> Database;
    // TfrmLWMain takes this place when it exists.
    std::unique_ptr<QMainWindow> Main;
    int Raises = 0;
};

} // namespace tessora
