#pragma once
// TfrmEMail: the mail window of Send PDF. The caller fills the subject and the PDF's path;
// the user gives a sender name and a message.
#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace tessora {

class TfrmEMail : public QDialog {
    Q_OBJECT
public:
    explicit TfrmEMail(QWidget* parent = nullptr);

    QLabel *lblFrom, *lblSubj, *lblFile;
    QLineEdit* edtFrom = nullptr;
    QLineEdit* edtSubjs = nullptr;
    QLineEdit* edtFile = nullptr; // read-only
    QGroupBox* grpMessage = nullptr;
    QPlainTextEdit* memBody = nullptr;
    QPushButton* btnSend = nullptr;
    QPushButton* btnCancel = nullptr;

    void edtFromChange();
    void btnSendClick();
};

// The question of "Send!".
extern const char* const kSendMailQuestion;

} // namespace tessora
