#pragma once
// One running copy per user: a lock file in the runtime folder says who runs, and a
// local server beside it takes the "raise" request of a second start.
#include <QLockFile>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QLocalServer;

namespace tessora {

class TSingleInstance : public QObject {
    Q_OBJECT
public:
    // `name` names the lock file and the server; `folder` overrides the runtime folder
    // (QStandardPaths::RuntimeLocation, else the temp folder).
    explicit TSingleInstance(const QString& name, const QString& folder = {}, QObject* parent = nullptr);
    ~TSingleInstance() override;

    enum TResult {
        Primary,   // this is the running copy; raise requests arrive from now on
        Secondary, // another copy runs and has been asked to raise its window
        Unguarded  // the lock could not be taken or tested: run without the guard
    };
    // Takes the lock (a lock left by a crashed run is stale and taken over) or, when
    // another copy holds it, sends that copy the raise request. Needs the application object.
    TResult Acquire();
    TResult Result() const { return State; }

    QString LockFilePath() const { return Folder + "/" + Name + ".lock"; }
    QString ServerPath() const { return Folder + "/" + Name + ".socket"; }

    // Called with every raise request, as is the signal.
    std::function<void()> OnRaise;

Q_SIGNALS:
    void raiseRequested();

private:
    void ServeConnection();
    bool SendRaise();

    QString Name, Folder;
    std::unique_ptr<QLockFile> Lock;
    QLocalServer* Server = nullptr;
    TResult State = Unguarded;
};

// The folder the lock and the server live in.
QString SingleInstanceFolder();

} // namespace tessora
