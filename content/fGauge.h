#pragma once
// TfrmGauge: the program's status pop-up, two lines of text over long work (loading,
// previews, printing, updates, mail), and the sender of the PDF by mail.
#include "content/uMail.h"
#include "platform/uStatus.h"

#include <QStringList>
#include <QWidget>
#include <optional>

class QLabel;

namespace tessora {

class TfrmGauge : public QWidget, public TStatusWindow {
    Q_OBJECT
public:
    explicit TfrmGauge(QWidget* parent = nullptr);
    ~TfrmGauge() override; // uninstalls itself when it is the status window

    // TStatusWindow: each change is painted at once, also while the caller blocks.
    void Show() override;
    void Hide() override;
    void SetLine1(const std::string& t) override;
    void SetLine2(const std::string& t) override;
    void SetMess(const QString& t);
    void SetMess2(const QString& t);

    // Mails the PDF to the print service's mailbox with the account of tessora.ini and the
    // environment. Failures are not shown to the user; they go to stderr. True when sent.
    bool SendMail(const QString& fromName, const QString& subject, const QString& attachment,
                  const QString& body);
    // The account SendMail uses; Load() when not set (tests set their own).
    std::optional<TMailAccount> Account;
    // Every status text of the last SendMail, in order.
    QStringList MailLog;

    QLabel* imgIcon = nullptr;
    QLabel* lblMess = nullptr;
    QLabel* lblMess2 = nullptr;

private:
    void Centre();
};

} // namespace tessora
