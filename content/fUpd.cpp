#include "content/fUpd.h"

#include "document/uCommon.h"
#include "document/uPictureRefs.h"
#include "document/uSheetDocument.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSaveFile>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <limits>

namespace tessora {

namespace {

// Cap of one downloaded file: templates and projects are small, pictures may not be.
qint64 DownloadCap() {
    return ServerLimits().MaxPictureBytes;
}

bool WriteReplacing(const QString& path, const QByteArray& body) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (file.write(body) != body.size()) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) return false;
    // A copy the user can change and delete like any other file in the folder.
    return QFile::setPermissions(path, QFile::permissions(path) | QFile::ReadOwner | QFile::WriteOwner);
}

QPixmap Logo() {
    QPixmap pm(48, 48);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(40, 70, 130), 2));
    p.setBrush(QColor(200, 225, 255));
    p.drawEllipse(QRectF(3, 3, 42, 42));
    p.setPen(QPen(QColor(40, 70, 130), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(24, 12), QPointF(24, 32));
    p.drawPolyline(QPolygonF({QPointF(15, 24), QPointF(24, 33), QPointF(33, 24)}));
    return pm;
}

} // namespace

bool StoreDownload(const QByteArray& body, const QString& name, const QString& targetFolder) {
    if (!IsBareFileName(name)) return false;
    const QString temp = QString::fromStdString(TempFolder());
    if (!WriteReplacing(temp + name, body)) return false;
    if (name.endsWith(".zip", Qt::CaseInsensitive)) return true;
    if (!QDir().mkpath(targetFolder)) return false;
    return WriteReplacing(QDir(targetFolder).filePath(name), body);
}

TfrmUpd::TfrmUpd(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Tessora Update"));
    imgLogo = new QLabel(this);
    imgLogo->setPixmap(Logo());
    lblInfo = new QLabel(this);
    lblInfo2 = new QLabel(this);
    lblInfo2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    bar = new QProgressBar(this);
    bar->setTextVisible(false);
    bar->setRange(0, 100);
    bar->setValue(0);
    btnUpdate = new QPushButton(QStringLiteral("Cancel"), this);
    connect(btnUpdate, &QPushButton::clicked, this, &TfrmUpd::btnUpdateClick);

    auto* lines = new QHBoxLayout;
    lines->addWidget(lblInfo, 1);
    lines->addWidget(lblInfo2);
    auto* right = new QVBoxLayout;
    right->addLayout(lines);
    right->addWidget(bar);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnUpdate);
    right->addLayout(buttons);
    auto* all = new QHBoxLayout(this);
    all->addWidget(imgLogo, 0, Qt::AlignTop);
    all->addLayout(right, 1);
    setMinimumWidth(380);

    tmrStart = new QTimer(this);
    tmrStart->setSingleShot(true);
    tmrStart->setInterval(100);
    connect(tmrStart, &QTimer::timeout, this, &TfrmUpd::tmrStartTimer);

    FClient.OnBegin = [this](qint64 expected) {
        // A length a progress bar cannot hold shows as busy.
        const bool known = expected >= 0 && expected <= std::numeric_limits<int>::max();
        bar->setRange(0, known ? int(expected) : 0);
        bar->setValue(0);
        lblInfo->setText(QStringLiteral("Download in Progress..."));
        repaint();
    };
    FClient.OnProgress = [this](qint64 received, qint64) {
        if (bar->maximum() > 0) bar->setValue(int(std::min<qint64>(received, bar->maximum())));
    };
}

TfrmUpd::~TfrmUpd() = default;

void TfrmUpd::SetUp(int mode, const QStringList& files) {
    FMode = mode == 2 ? 2 : 1;
    FFiles = files;
}

void TfrmUpd::SetUp(int mode, const QString& files) {
    QStringList names;
    for (QString line : files.split('\n')) {
        if (line.endsWith('\r')) line.chop(1);
        if (!line.isEmpty()) names << line;
    }
    SetUp(mode, names);
}

void TfrmUpd::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (!FTimerStarted) {
        FTimerStarted = true;
        tmrStart->start();
    }
}

bool TfrmUpd::DownloadFile(const QString& source, const QString& folder, const QString& name) {
    // The name ends up in a path: only a bare file name, never "../x" or "/etc/x".
    if (!IsBareFileName(name)) return false;
    TFetchError error = TFetchError::None;
    const QByteArray body =
        FClient.Get(source + QString::fromLatin1(QUrl::toPercentEncoding(name)), DownloadCap(), &error);
    if (error != TFetchError::None || FBtnTag == 2) return false;
    return StoreDownload(body, name, folder);
}

void TfrmUpd::tmrStartTimer() {
    if (FStarted) return;
    FStarted = true;
    tmrStart->stop();
    QPointer<TfrmUpd> self(this);
    const QString source = UpdateUrl(FMode == 1 ? "templates" : "labels");
    const QString target = QString::fromStdString(ProgramFolderPath(FMode == 1 ? "Templates" : "Label Projects"));
    const QString vectorSource = UpdateUrl("vector"), imageSource = UpdateUrl("images");
    const QString vectorFolder = QString::fromStdString(ProgramFolderPath("Vector Images"));
    const QString imageFolder = QString::fromStdString(ProgramFolderPath("Import Images"));

    const int n = int(FFiles.size());
    for (int i = 0; i < n && FBtnTag != 2; ++i) {
        const QString& name = FFiles[i];
        lblInfo2->setText(QString::asprintf("File %d/%d", i + 1, n));
        if (!DownloadFile(source, target, name)) continue;
        FDownloaded << name;
        const QString ext = QFileInfo(name).suffix().toLower();
        if (ext != "shl" && ext != "tpv" && ext != "tpl") continue;

        std::vector<uint8_t> bytes;
        if (!ReadWholeFile((QDir(target).filePath(name)).toStdString(), bytes, size_t(DownloadCap()))) continue;
        const TPictureRefs refs = ScanPictureRefs(bytes, FMode == 2);
        if (!refs.Vector.empty())
            DownloadFile(vectorSource, vectorFolder, QString::fromStdString(StoredFileName(refs.Vector)));
        for (const std::string& img : refs.Images) {
            if (FBtnTag == 2) break;
            DownloadFile(imageSource, imageFolder, QString::fromStdString(StoredFileName(img)));
        }
    }
    if (!self) return;
    if (FBtnTag != 2) {
        lblInfo->setText(QString("%1s Update Complete...").arg(FMode == 1 ? "Template" : "Label"));
        btnUpdate->setText(QStringLiteral("OK"));
        FBtnTag = 1;
    }
    if (FCloseWhenDone) done(QDialog::Rejected);
}

void TfrmUpd::btnUpdateClick() {
    if (FBtnTag != 0) {
        accept();
        return;
    }
    lblInfo->setText(QStringLiteral("Update Cancelled..."));
    FBtnTag = 2;
    btnUpdate->setText(QStringLiteral("OK"));
    FClient.Abort();
}

void TfrmUpd::reject() {
    // Escape or the window's close box: during the downloads that is Cancel.
    if (FBtnTag == 0 && FStarted) {
        btnUpdateClick();
        FCloseWhenDone = true;
        return;
    }
    if (FBtnTag == 0) { // closed before anything started
        tmrStart->stop();
        FStarted = true;
        FBtnTag = 2;
    }
    QDialog::reject();
}

} // namespace tessora
