#include "content/fGauge.h"

#include <QApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QStyle>
#include <cstdio>

namespace tessora {

TfrmGauge::TfrmGauge(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName("frmGauge");
    setFixedSize(451, 91);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0xE0, 0xE0, 0xE0));
    pal.setColor(QPalette::WindowText, Qt::black);
    setPalette(pal);
    // A thin edge: without a frame the grey would run into a grey desktop.
    setStyleSheet("#frmGauge { border: 1px solid #808080; }");
    setAttribute(Qt::WA_StyledBackground);

    imgIcon = new QLabel(this);
    imgIcon->setObjectName("imgIcon");
    imgIcon->setGeometry(16, 27, 36, 36);
    imgIcon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(36, 36));

    QFont f("Sans Serif");
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(16);
    auto line = [&](const char* name, int top) {
        auto* l = new QLabel(this);
        l->setObjectName(name);
        l->setFont(f);
        l->setGeometry(68, top, 370, 24);
        return l;
    };
    lblMess = line("lblMess", 20);
    lblMess2 = line("lblMess2", 48);
}

TfrmGauge::~TfrmGauge() {
    if (&Status() == this) SetStatusWindow(nullptr);
}

void TfrmGauge::Centre() {
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!s) return;
    const QRect r = s->availableGeometry();
    move(r.center() - QPoint(width() / 2, height() / 2));
}

void TfrmGauge::Show() {
    Centre();
    show();
    raise();
    // The caller usually blocks next: let the window be mapped and painted first.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    repaint();
}

void TfrmGauge::Hide() { hide(); }

void TfrmGauge::SetMess(const QString& t) {
    lblMess->setText(t);
    if (isVisible()) lblMess->repaint();
}

void TfrmGauge::SetMess2(const QString& t) {
    lblMess2->setText(t);
    if (isVisible()) lblMess2->repaint();
}

void TfrmGauge::SetLine1(const std::string& t) { SetMess(QString::fromStdString(t)); }
void TfrmGauge::SetLine2(const std::string& t) { SetMess2(QString::fromStdString(t)); }

bool TfrmGauge::SendMail(const QString& fromName, const QString& subject, const QString& attachment,
                         const QString& body) {
    const TMailAccount account = Account ? *Account : TMailAccount::Load();
    TMailMessage m;
    m.FromName = fromName;
    m.FromAddress = account.User; // the print service's mailbox sends to itself
    m.To = account.User;
    m.Subject = subject;
    m.Body = body.split('\n');
    if (QFileInfo::exists(attachment)) m.AttachmentPath = attachment;
    else if (!attachment.isEmpty())
        std::fprintf(stderr, "mail: %s no longer exists; sending without attachment\n", qPrintable(attachment));

    MailLog.clear();
    auto status = [this](const QString& s) {
        MailLog << s;
        SetMess(s);
    };
    status("Sending...");
    Show();
    const TMailResult r = SubmitMail(account, m, status);
    if (!r.Sent) std::fprintf(stderr, "%s\n", qPrintable(r.Error));
    Hide();
    return r.Sent;
}

} // namespace tessora
