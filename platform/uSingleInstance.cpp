#include "platform/uSingleInstance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>

namespace tessora {

namespace {
constexpr char kRaise[] = "raise\n";
}

QString SingleInstanceFolder() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty() || !QDir().mkpath(folder)) folder = QDir::tempPath();
    return folder;
}

TSingleInstance::TSingleInstance(const QString& name, const QString& folder, QObject* parent)
    : QObject(parent), Name(name),
      Folder(QDir::cleanPath(folder.isEmpty() ? SingleInstanceFolder() : folder)) {}

TSingleInstance::~TSingleInstance() {
    if (Server) Server->close(); // removes the socket file before the lock goes
    Lock.reset();
}

TSingleInstance::TResult TSingleInstance::Acquire() {
    if (State != Unguarded || Lock) return State;
    Lock = std::make_unique<QLockFile>(LockFilePath());
    // Only a dead owner makes the lock stale: a copy running for hours keeps it.
    Lock->setStaleLockTime(0);
    if (Lock->tryLock(0)) {
        Server = new QLocalServer(this);
        Server->setSocketOptions(QLocalServer::UserAccessOption);
        // A socket file left by a crashed run would block listen().
        QLocalServer::removeServer(ServerPath());
        if (!Server->listen(ServerPath())) qWarning("Can't listen on %s", qPrintable(ServerPath()));
        connect(Server, &QLocalServer::newConnection, this, &TSingleInstance::ServeConnection);
        return State = Primary;
    }
    const QLockFile::LockError why = Lock->error();
    Lock.reset();
    // An unwritable runtime folder must not keep the program from starting.
    if (why != QLockFile::LockFailedError) return State = Unguarded;
    // The holder may be between taking the lock and listening: a few tries.
    QElapsedTimer t;
    t.start();
    while (!SendRaise()) {
        if (t.elapsed() > 2000) break;
        QThread::msleep(50);
    }
    return State = Secondary;
}

bool TSingleInstance::SendRaise() {
    QLocalSocket s;
    s.connectToServer(ServerPath());
    if (!s.waitForConnected(1000)) return false;
    s.write(kRaise);
    const bool ok = s.waitForBytesWritten(1000);
    s.disconnectFromServer();
    if (s.state() != QLocalSocket::UnconnectedState) s.waitForDisconnected(1000);
    return ok;
}

void TSingleInstance::ServeConnection() {
    while (QLocalSocket* s = Server->nextPendingConnection()) {
        connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
        auto read = [this, s] {
            while (s->canReadLine()) {
                if (s->readLine() != kRaise) continue;
                if (OnRaise) OnRaise();
                Q_EMIT raiseRequested();
            }
        };
        connect(s, &QLocalSocket::readyRead, this, read);
        read(); // what arrived before the connection was taken
    }
}

} // namespace tessora
