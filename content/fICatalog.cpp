#include "content/fICatalog.h"

#include "content/fUpd.h"
#include "content/uServer.h"
#include "document/uCommon.h"
#include "document/uMessages.h"
#include "platform/uStatus.h"

#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

namespace tessora {

namespace {

// The picture the server keeps for a catalogue entry: its name with ".jpg" as extension.
QString PreviewName(const QString& entry) {
    const int dot = entry.lastIndexOf('.');
    return (dot > 0 ? entry.left(dot) : entry) + ".jpg";
}

QString SiteName() {
    const QString host = QUrl(ServerBaseUrl()).host();
    return host.isEmpty() ? QStringLiteral("Corvane") : host;
}

} // namespace

bool OpenCatalog(QWidget* parent, TChooserMode mode) {
    TfrmICatalog dlg(mode, parent);
    dlg.exec();
    return dlg.Tag() == 1;
}

TfrmICatalog::TfrmICatalog(TChooserMode mode, QWidget* parent) : QDialog(parent), FMode(mode) {
    setWindowTitle(SiteName() + " Catalog");
    resize(680, 520);

    grpPreview = new QGroupBox(QStringLiteral(" Preview "), this);
    imgTemplate = new QLabel(grpPreview);
    imgTemplate->setAlignment(Qt::AlignCenter);
    imgTemplate->setMinimumSize(200, 200);
    imgTemplate->hide();
    (new QVBoxLayout(grpPreview))->addWidget(imgTemplate, 1);

    lstTemplates = new QListWidget(this);
    lstTemplates->setObjectName(QStringLiteral("lstTemplates"));
    lstTemplates->setSortingEnabled(true);
    lstTemplates->setFixedWidth(240);
    connect(lstTemplates, &QListWidget::currentRowChanged, this, [this] { lstTemplatesClick(); });

    btnDone = new QPushButton(QStringLiteral("Done"), this);
    connect(btnDone, &QPushButton::clicked, this, &QDialog::accept);
    btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    btnDownload = new QPushButton(QStringLiteral("Download"), this);
    btnDownload->setEnabled(false);
    btnDownload->setDefault(true);
    connect(btnDownload, &QPushButton::clicked, this, &TfrmICatalog::btnDownloadClick);

    auto* top = new QHBoxLayout;
    top->addWidget(grpPreview, 1);
    top->addWidget(lstTemplates);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(btnDownload);
    bottom->addWidget(btnDone);
    bottom->addWidget(btnCancel);
    auto* all = new QVBoxLayout(this);
    all->addLayout(top, 1);
    all->addLayout(bottom);

    tmrStart = new QTimer(this);
    tmrStart->setSingleShot(true);
    tmrStart->setInterval(200);
    connect(tmrStart, &QTimer::timeout, this, &TfrmICatalog::tmrStartTimer);
}

TfrmICatalog::~TfrmICatalog() = default;

QString TfrmICatalog::LocalFolder() const {
    return QString::fromStdString(ProgramFolderPath(FMode == cmProject ? "Label Projects" : "Templates"));
}

void TfrmICatalog::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (!FTimerStarted) {
        FTimerStarted = true;
        tmrStart->start();
    }
}

void TfrmICatalog::tmrStartTimer() {
    if (FStarted) return;
    FStarted = true;
    tmrStart->stop();
    QPointer<TfrmICatalog> self(this);
    QString text;
    {
        TStatusScope status("Checking for Updates...");
        text = FetchText(UpdateUrl() + (FMode == cmProject ? "labels.ini" : "templates.ini"));
    }
    if (!self) return;
    if (text.trimmed().isEmpty()) {
        Information("Updates list is not available...");
        reject();
        return;
    }
    const QDir local(LocalFolder());
    {
        const QSignalBlocker block(lstTemplates);
        // Only bare file names: a line such as "../../x" never names a local path.
        for (const QString& name : SplitNameList(text)) {
            if (QFileInfo::exists(local.filePath(name))) continue;
            if (!lstTemplates->findItems(name, Qt::MatchExactly).isEmpty()) continue;
            lstTemplates->addItem(name);
        }
    }
    if (CheckList()) PreviewEntry(0);
}

bool TfrmICatalog::CheckList() {
    const bool any = lstTemplates->count() > 0;
    btnDownload->setEnabled(any);
    if (!any) {
        Information("Updates list is empty...");
        reject();
    }
    return any;
}

void TfrmICatalog::PreviewEntry(int i) {
    if (i == FListTag) return;
    FListTag = i;
    imgTemplate->hide();
    FPicture = QImage();
    if (i < 0 || i >= lstTemplates->count()) return;
    QPointer<TfrmICatalog> self(this);
    FBusy = true;
    QImage pic;
    bool ok = false;
    {
        TStatusScope status("Preview Loading...");
        {
            const QSignalBlocker block(lstTemplates);
            lstTemplates->setCurrentRow(i);
        }
        const QString name = lstTemplates->item(i)->text();
        ok = FetchPicture(UpdateUrl("preview") + QString::fromLatin1(QUrl::toPercentEncoding(PreviewName(name))),
                          pic);
    }
    if (!self) return;
    FBusy = false;
    // The entry may have changed while the picture was on its way.
    if (FListTag != i) return;
    FPicture = ok ? pic : QImage();
    if (ok) {
        FitPicture();
        imgTemplate->show();
    }
}

void TfrmICatalog::FitPicture() {
    if (FPicture.isNull()) return;
    // The group's room: the hidden picture has no size of its own yet.
    const QSize room = grpPreview->layout()->contentsRect().size();
    // Never enlarged: the server's picture is drawn for this size.
    const bool fits = FPicture.width() <= room.width() && FPicture.height() <= room.height();
    imgTemplate->setPixmap(QPixmap::fromImage(
        fits || room.isEmpty() ? FPicture : FPicture.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

void TfrmICatalog::resizeEvent(QResizeEvent* e) {
    QDialog::resizeEvent(e);
    if (imgTemplate->isVisible()) FitPicture();
}

void TfrmICatalog::lstTemplatesClick() {
    const int i = lstTemplates->currentRow();
    if (FBusy) {
        // One preview at a time; the list keeps showing the one on its way.
        const QSignalBlocker block(lstTemplates);
        lstTemplates->setCurrentRow(FListTag);
        return;
    }
    PreviewEntry(i);
}

void TfrmICatalog::btnDownloadClick() {
    const int row = lstTemplates->currentRow();
    if (row < 0 || FBusy) return;
    const QString name = lstTemplates->item(row)->text();
    QPointer<TfrmICatalog> self(this);
    int tag = 0;
    bool stored = false;
    {
        TfrmUpd upd(this);
        upd.SetUp(FMode == cmProject ? 2 : 1, QStringList{name});
        upd.exec();
        if (!self) return;
        tag = upd.BtnTag();
        stored = upd.Downloaded().contains(name);
    }
    // An entry whose file did not arrive stays listed, to be tried again.
    if (tag == 2 || !stored) return;
    FTag = 1;
    delete lstTemplates->takeItem(row);
    FListTag = -2;
    if (!CheckList()) return;
    PreviewEntry(std::min(row, lstTemplates->count() - 1));
}

} // namespace tessora
