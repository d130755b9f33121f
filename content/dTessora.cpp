#include "content/dTessora.h"

#include "document/uCommon.h"
#include "document/uMessages.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QVariant>
#include <atomic>

namespace tessora {

namespace {

std::atomic<int> gConnections{0};

QString WithSlash(QString folder) {
    if (!folder.isEmpty() && !folder.endsWith('/')) folder += '/';
    return folder;
}

// Replaces `dest` by a copy of `source` without ever leaving a half-written file
// under the final name; SQLite side files of the old database go with it, so a
// stale journal is never played back into the fresh copy.
bool CopyOver(const QString& source, const QString& dest) {
    if (!QFileInfo(source).isFile()) return false;
    const QString tmp = dest + ".tmp";
    QFile::remove(tmp);
    if (!QFile::copy(source, tmp)) return false;
    QFile::setPermissions(tmp, QFile::permissions(tmp) | QFile::ReadOwner | QFile::WriteOwner);
    for (const char* side : {"-journal", "-wal", "-shm"})
        QFile::remove(dest + side);
    if (QFile::exists(dest) && !QFile::remove(dest)) {
        QFile::remove(tmp);
        return false;
    }
    if (!QFile::rename(tmp, dest)) {
        QFile::remove(tmp);
        return false;
    }
    return true;
}

} // namespace

TdmTessora::TdmTessora(const QString& folder)
    : Folder(WithSlash(folder.isEmpty() ? QString::fromStdString(ProgramFolder()) : folder)),
      ConnectionName(QStringLiteral("tessora-db-%1").arg(++gConnections)) {
    if (QSqlDatabase::isDriverAvailable("QSQLITE")) QSqlDatabase::addDatabase("QSQLITE", ConnectionName);
    PrepareDatabase();
}

TdmTessora::~TdmTessora() {
    qryGetAdvImages.reset();
    if (QSqlDatabase::contains(ConnectionName)) {
        QSqlDatabase::database(ConnectionName, false).close();
        QSqlDatabase::removeDatabase(ConnectionName);
    }
}

QString TdmTessora::CreationStatement(const QString& table) {
    if (table == "ADVIMAGES") return QString::fromLatin1(kCrAdvImages);
    return {};
}

void TdmTessora::CloseConnection() {
    if (qryGetAdvImages) qryGetAdvImages->finish();
    QueryOpen = false;
    if (QSqlDatabase::contains(ConnectionName)) QSqlDatabase::database(ConnectionName, false).close();
}

bool TdmTessora::OpenConnection() {
    if (!QSqlDatabase::contains(ConnectionName)) {
        Error = "The SQLite database driver is not available.";
        return false;
    }
    QSqlDatabase db = QSqlDatabase::database(ConnectionName, false);
    if (db.isOpen()) return true;
    if (ConnectedPath.isEmpty()) {
        Error = "No database file.";
        return false;
    }
    // mode=rw: a file that vanished is an error, never silently created empty.
    QUrl uri = QUrl::fromLocalFile(QFileInfo(ConnectedPath).absoluteFilePath());
    uri.setQuery("mode=rw");
    db.setDatabaseName(uri.toString(QUrl::FullyEncoded));
    db.setConnectOptions("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=2000");
    if (!db.open()) {
        Error = db.lastError().text();
        return false;
    }
    return true;
}

void TdmTessora::OpenDatabase(const QString& path) {
    CloseConnection();
    ConnectedPath.clear();
    if (QFileInfo(path).isFile())
        ConnectedPath = path;
    else
        Information((path + " file not found.").toStdString());
}

bool TdmTessora::Exec(const QString& sql) {
    if (!OpenConnection()) return false;
    QSqlQuery q(QSqlDatabase::database(ConnectionName, false));
    if (!q.exec(sql)) {
        Error = q.lastError().text();
        return false;
    }
    return true;
}

void TdmTessora::CreateDatabase() {
    CloseConnection();
    if (!CopyOver(EmptyDatabaseFile(), DatabaseFile())) return;
    OpenDatabase(DatabaseFile());
    for (const char* table : {"ADVIMAGES", "Templates", "TJournal"}) {
        const QString sql = CreationStatement(QString::fromLatin1(table));
        if (sql.isEmpty() || !Exec(sql)) return;
    }
}

bool TdmTessora::PrepareDatabase() {
    Error.clear();
    if (QFileInfo(DatabaseFile()).isFile())
        OpenDatabase(DatabaseFile());
    else
        CreateDatabase();
    qryGetAdvImages.reset();
    QueryOpen = false;
    if (!OpenConnection()) return false;
    qryGetAdvImages = std::make_unique<QSqlQuery>(QSqlDatabase::database(ConnectionName, false));
    if (!qryGetAdvImages->exec(QString::fromLatin1(kGetAdvImages))) {
        Error = qryGetAdvImages->lastError().text();
        qryGetAdvImages.reset();
        return false;
    }
    QueryOpen = true;
    return true;
}

void TdmTessora::PickAdvertPicture(QImage& graphic) {
    if (!QueryOpen || !qryGetAdvImages) return;
    QSqlQuery& q = *qryGetAdvImages;
    const int n = q.last() ? q.at() + 1 : 0;
    if (n <= 0) return;
    if (q.seek(int(QRandomGenerator::global()->bounded(quint32(n))))) {
        const QByteArray bytes = q.value("AI_IMG").toByteArray();
        if (!bytes.isEmpty()) {
            // An unreadable picture leaves the one shown as it is.
            const QImage img = QImage::fromData(bytes);
            if (!img.isNull()) graphic = img;
        }
    }
    // Meant for one pick per run: the query stays closed.
    q.finish();
    QueryOpen = false;
}

} // namespace tessora
