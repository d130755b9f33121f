#include "content/fTemplates.h"

#include "content/uServer.h"
#include "document/uCommon.h"
#include "document/uMessages.h"
#include "platform/uShell.h"
#include "platform/uStatus.h"
#include "sheetview/fraSheet.h"

#include <QEvent>
#include <QEventLoop>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <cmath>

namespace tessora {

namespace {

constexpr const char* kCaptions[4] = {"Regular\nLabels", "Corvane\nLabels", "Folding\nBoxes",
                                      "Gallery\nTemplates"};

QString InfoText(int kind) {
    switch (kind) {
    case 1:
        return QStringLiteral("Regular Template\n\nRegular die-cut\npaper labels\navailable at\n") +
               kShopAddress;
    case 3:
        return QStringLiteral(
            "Box Template\n\nCreate your own\nflexible box.\nProfessional\nprinting\n"
            "die-cutting and\ngloss\ncoating\nby Ostrica\n\nContact us for\nmore info and\nsamples");
    case 4:
        return QStringLiteral(
                   "Vector Template\n\nUses Vector\nImage supplied\nby Corvane and\nthese type of\n"
                   "labeles fit\non to\ndie-cut\nwaterproof\ninkjet labels\nsheet sold at\n") +
               kShopAddress;
    default:
        return {};
    }
}

// The selected kind panel's colour.
const QColor kSelectedPanel(236, 233, 217);

TCatalogOpener& CatalogOpener() {
    static TCatalogOpener opener;
    return opener;
}

// A small sheet with what each kind holds: a grid, the maker's shaped labels, a box net, pictures.
QPixmap KindPicture(int kind) {
    QPixmap pm(48, 48);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QPen ink(QColor(60, 60, 60), 1);
    p.setPen(ink);
    if (kind == 3) {
        // A box net: four panels in a row, flaps above and below the second wide one.
        p.setBrush(QColor(250, 236, 200));
        const QRectF panels[] = {{3, 16, 14, 16}, {17, 16, 6, 16}, {23, 16, 14, 16}, {37, 16, 6, 16}};
        for (const QRectF& r : panels)
            p.drawRect(r);
        p.drawRect(QRectF(23, 10, 14, 6));
        p.drawRect(QRectF(23, 32, 14, 6));
        return pm;
    }
    p.setBrush(Qt::white);
    p.drawRect(QRectF(8.5, 2.5, 31, 43));
    p.setBrush(kind == 2 ? QColor(255, 224, 150) : kind == 4 ? QColor(255, 190, 200) : QColor(200, 225, 255));
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 2; ++c) {
            const QRectF cell(12 + c * 13, 6 + r * 13, 11, 11);
            if (kind == 1) {
                p.drawRoundedRect(cell, 2, 2);
            } else if (kind == 2) {
                QPolygonF hex;
                for (int k = 0; k < 6; ++k)
                    hex << cell.center() +
                               QPointF(5.5 * std::cos(k * M_PI / 3), 5.5 * std::sin(k * M_PI / 3));
                p.drawPolygon(hex);
            } else {
                // A heart.
                QPainterPath h;
                const QPointF o = cell.topLeft();
                h.moveTo(o + QPointF(5.5, 10.5));
                h.cubicTo(o + QPointF(-3, 4), o + QPointF(2, -2), o + QPointF(5.5, 2.5));
                h.cubicTo(o + QPointF(9, -2), o + QPointF(14, 4), o + QPointF(5.5, 10.5));
                p.drawPath(h);
            }
        }
    return pm;
}

// Lets the pop-up be seen and the view repaint, without taking clicks meant for later.
void Pause(int ms) {
    if (ms <= 0) return;
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

QFrame* HintBox(QWidget* parent) {
    auto* f = new QFrame(parent);
    f->setFrameStyle(QFrame::Box | QFrame::Plain);
    f->setAutoFillBackground(true);
    QPalette pal = f->palette();
    pal.setColor(QPalette::Window, QColor(255, 255, 225));
    pal.setColor(QPalette::WindowText, Qt::black);
    f->setPalette(pal);
    return f;
}

} // namespace

QString MakerSiteUrl() {
    const QUrl base(ServerBaseUrl());
    return base.adjusted(QUrl::RemovePath | QUrl::RemoveQuery | QUrl::RemoveFragment | QUrl::RemoveUserInfo)
        .toString(QUrl::StripTrailingSlash);
}

QString OrderUrl(const std::string& templatePath) {
    // The key is made for the server's names, but a file name may still hold '?', '%' or '+'.
    const QByteArray key = QUrl::toPercentEncoding(QString::fromStdString(OrderKey(templatePath)));
    return QStringLiteral("%1/order.php?tpl=%2").arg(MakerSiteUrl(), QString::fromLatin1(key));
}

void SetCatalogOpener(TCatalogOpener opener) {
    CatalogOpener() = std::move(opener);
}

// ---- TKindPanel

TKindPanel::TKindPanel(int tag, const QString& caption, QWidget* parent) : QFrame(parent), Tag(tag) {
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(2);
    setCursor(Qt::PointingHandCursor);
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(4, 6, 4, 4);
    v->setSpacing(2);
    img = new QLabel(this);
    img->setPixmap(KindPicture(tag));
    img->setAlignment(Qt::AlignCenter);
    lbl = new QLabel(caption, this);
    lbl->setAlignment(Qt::AlignCenter);
    QFont f = lbl->font();
    f.setBold(true);
    lbl->setFont(f);
    v->addWidget(img);
    v->addWidget(lbl);
    setFixedSize(100, 92);
}

// The picture and the caption leave presses to the panel.
void TKindPanel::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) Q_EMIT clicked(Tag);
    QFrame::mousePressEvent(e);
}

// ---- TfrmTemplates

TfrmTemplates::TfrmTemplates(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Select a Template"));
    resize(900, 560);

    auto* kinds = new QVBoxLayout;
    kinds->setSpacing(6);
    for (int k = 1; k <= 4; ++k) {
        TKindPanel* p = new TKindPanel(k, QString::fromLatin1(kCaptions[k - 1]), this);
        p->setObjectName(QStringLiteral("pnl%1").arg(k));
        p->setToolTip(QString::fromLatin1(kKindNames[size_t(k - 1)]));
        connect(p, &TKindPanel::clicked, this, &TfrmTemplates::pnlClick);
        pnl[size_t(k - 1)] = p;
        kinds->addWidget(p);
    }
    kinds->addStretch(1);

    lstTemplates = new QListWidget(this);
    lstTemplates->setObjectName(QStringLiteral("lstTemplates"));
    lstTemplates->setFixedWidth(220);
    connect(lstTemplates, &QListWidget::currentRowChanged, this, [this] { lstTemplatesClick(); });
    connect(lstTemplates, &QListWidget::itemDoubleClicked, this, [this] { lstTemplatesDblClick(); });

    pnlHint = HintBox(this);
    {
        auto* v = new QVBoxLayout(pnlHint);
        lblHint = new QLabel(QStringLiteral("Select a Template"), pnlHint);
        QFont f = lblHint->font();
        f.setBold(true);
        lblHint->setFont(f);
        lblHint2 = new QLabel(QStringLiteral("from the list \non the left"), pnlHint);
        v->addWidget(lblHint);
        v->addWidget(lblHint2);
    }
    pnlInfo = HintBox(this);
    {
        auto* v = new QVBoxLayout(pnlInfo);
        lblInfo = new QLabel(pnlInfo);
        lblInfo->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        lblInfo->setTextInteractionFlags(Qt::TextSelectableByMouse);
        v->addWidget(lblInfo);
    }

    btnOrder = new QPushButton(QStringLiteral("Order"), this);
    btnOrder->setToolTip(QStringLiteral(" Order Template "));
    connect(btnOrder, &QPushButton::clicked, this, &TfrmTemplates::btnOrderClick);
    btnGetMore = new QPushButton(QStringLiteral("Get more..."), this);
    btnGetMore->setToolTip(QStringLiteral(" Get more Designes "));
    connect(btnGetMore, &QPushButton::clicked, this, &TfrmTemplates::btnGetMoreClick);

    auto* middle = new QVBoxLayout;
    middle->addWidget(pnlHint);
    middle->addWidget(pnlInfo, 1);
    middle->addWidget(btnOrder);
    middle->addWidget(btnGetMore);
    pnlHint->setFixedWidth(200);
    pnlInfo->setFixedWidth(200);

    grpPreview = new QGroupBox(QStringLiteral(" Preview "), this);
    pnlPreview = new QFrame(grpPreview);
    pnlPreview->setAutoFillBackground(true);
    (new QVBoxLayout(grpPreview))->addWidget(pnlPreview);
    frTemplates1 = new TfrSheet(pnlPreview);
    frTemplates1->Sheet.FullRedraw = false;
    pnlPreview->installEventFilter(this);

    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setDefault(true);
    btnOK->setEnabled(false);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* top = new QHBoxLayout;
    top->addLayout(kinds);
    top->addWidget(lstTemplates);
    top->addLayout(middle);
    top->addWidget(grpPreview, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(btnOK);
    bottom->addWidget(btnCancel);
    auto* all = new QVBoxLayout(this);
    all->addLayout(top, 1);
    all->addLayout(bottom);

    tmrStart = new QTimer(this);
    tmrStart->setSingleShot(true);
    tmrStart->setInterval(200);
    connect(tmrStart, &QTimer::timeout, this, &TfrmTemplates::tmrStartTimer);
    ApplyMode();
}

TfrmTemplates::~TfrmTemplates() {
    pnlPreview->removeEventFilter(this);
}

void TfrmTemplates::SetMode(TChooserMode mode) {
    FMode = mode;
    ApplyMode();
}

void TfrmTemplates::SetGuiSettings(const TGuiSettings& gui) {
    frTemplates1->Sheet.Gui = gui;
    frTemplates1->ApplyColors();
    if (FStarted) frTemplates1->LayOut();
}

void TfrmTemplates::ApplyMode() {
    const bool project = FMode == cmProject;
    for (size_t k = 1; k < pnl.size(); ++k)
        pnl[k]->setVisible(!project);
    pnl[0]->lbl->setText(project ? QStringLiteral("Labels") : QString::fromLatin1(kCaptions[0]));
    btnOrder->setVisible(!project && FKind != 3);
    pnlInfo->setVisible(!project);
    // Projects are previewed with their designs, templates as bare outlines.
    frTemplates1->Sheet.FullRedraw = project;
}

std::string TfrmTemplates::Folder() const {
    return ProgramFolderPath(FMode == cmProject ? "Label Projects/" : "Templates/");
}

QString TfrmTemplates::EntryFile(int i) const {
    const QListWidgetItem* it = i >= 0 ? lstTemplates->item(i) : nullptr;
    return it ? it->data(Qt::UserRole).toString() : QString();
}

std::string TfrmTemplates::SelectedPath() const {
    const QString name = EntryFile(lstTemplates->currentRow());
    return name.isEmpty() ? std::string() : Folder() + name.toStdString();
}

void TfrmTemplates::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (!FTimerStarted) {
        FTimerStarted = true;
        ApplyMode();
        tmrStart->start();
    }
}

bool TfrmTemplates::eventFilter(QObject* watched, QEvent* e) {
    if (watched == pnlPreview && e->type() == QEvent::Resize && FStarted) frTemplates1->LayOut();
    return QDialog::eventFilter(watched, e);
}

void TfrmTemplates::tmrStartTimer() {
    if (FStarted) return;
    FStarted = true;
    tmrStart->stop();
    if (FMode == cmProject) {
        lblHint->setText(QStringLiteral("Select a Label"));
        setWindowTitle(QStringLiteral("Select a Label"));
    }
    ApplyMode();
    frTemplates1->LayOut();
    SelectKind(1);
}

void TfrmTemplates::pnlClick(int kind) {
    if (FMode == cmProject || !FStarted) return;
    SelectKind(kind);
}

void TfrmTemplates::SelectKind(int kind) {
    if (kind < 1 || kind > 4) return;
    FKind = kind;
    lblInfo->setText(InfoText(kind));
    for (TKindPanel* p : pnl) {
        const bool on = p->Tag == kind;
        p->setFrameShadow(on ? QFrame::Sunken : QFrame::Raised);
        p->setAutoFillBackground(on);
        QPalette pal = palette();
        if (on) pal.setColor(QPalette::Window, kSelectedPanel);
        p->setPalette(pal);
    }
    btnOrder->setVisible(kind != 3 && FMode != cmProject);
    FillList();
}

void TfrmTemplates::FillList() {
    pnlInfo->setVisible(FMode == cmTemplate);
    {
        const QSignalBlocker block(lstTemplates);
        lstTemplates->clear();
        // The real names are kept: a file whose extension is in capitals is found again.
        for (const std::string& file :
             ListFiles(Folder(), std::string("*") + kFileExt[size_t(Kind())], true)) {
            auto* it = new QListWidgetItem(QString::fromStdString(ExtractFileStem(file)), lstTemplates);
            it->setData(Qt::UserRole, QString::fromStdString(file));
        }
    }
    FLastPreviewed = -1;
    const bool any = lstTemplates->count() > 0;
    btnOK->setEnabled(any);
    btnOrder->setEnabled(any);
    if (any)
        PreviewEntry(0);
    else
        ClearPreview();
}

void TfrmTemplates::ClearPreview() {
    TSheet& s = frTemplates1->Sheet;
    s.CloseSelection();
    s.ClearSheet();
    // An empty page, without the title or the paper of whatever was shown before.
    s.Header = TSheetHeader{};
    s.Settings = TProjectSettings{};
    s.ApplyPaperSize();
    frTemplates1->LayOut();
}

void TfrmTemplates::PreviewEntry(int i) {
    if (i < 0 || i >= lstTemplates->count() || FPreviewing) return;
    FPreviewing = true;
    FLastPreviewed = i;
    {
        const QSignalBlocker block(lstTemplates);
        lstTemplates->setCurrentRow(i);
    }
    TSheet& s = frTemplates1->Sheet;
    s.CloseSelection();
    s.ClearSheet();
    QPointer<TfrmTemplates> self(this);
    {
        TStatusScope status("Loading Preview... Please Wait");
        Status().SetLine2("");
        const std::string path = Folder() + EntryFile(i).toStdString();
        const double vw = s.ViewWidth, vh = s.ViewHeight;
        const bool ok = FMode == cmProject ? s.OpenProjectFile(path) : s.LoadTemplate(path, true, FKind == 2);
        if (!ok)
            // A partly read file would show the old labels under the new name.
            ClearPreview();
        else if (vw != s.ViewWidth || vh != s.ViewHeight ||
                 s.SheetLayer.size() != frTemplates1->imgMain->size())
            frTemplates1->LayOut(); // another paper size
        else
            frTemplates1->Changed();
        btnOK->setEnabled(ok);
        Pause(PreviewPauseMs);
        if (!self) return;
    }
    pnlPreview->update();
    FPreviewing = false;
}

void TfrmTemplates::lstTemplatesClick() {
    const int i = lstTemplates->currentRow();
    if (i < 0 || i == FLastPreviewed) return;
    if (FPreviewing) {
        // Keep the list showing what the preview shows.
        const QSignalBlocker block(lstTemplates);
        lstTemplates->setCurrentRow(FLastPreviewed);
        return;
    }
    PreviewEntry(i);
}

void TfrmTemplates::lstTemplatesDblClick() {
    // Only an entry that loaded: OK would hand the caller a file it cannot open.
    if (btnOK->isEnabled() && lstTemplates->currentRow() == FLastPreviewed) accept();
}

void TfrmTemplates::btnOrderClick() {
    const std::string path = SelectedPath();
    if (path.empty()) return;
    ShellOpen(OrderUrl(path));
}

void TfrmTemplates::btnGetMoreClick() {
    bool downloaded = false;
    if (CatalogOpener())
        downloaded = CatalogOpener()(this, FMode);
    else
        Information("Updates list is empty...");
    if (downloaded) FillList();
}

} // namespace tessora
