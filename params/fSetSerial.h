#pragma once
// TfrmSetSerial: edits the prefix and suffix of the serial numbers; no behaviour of its own.
#include <QDialog>

class QLineEdit;
class QPushButton;

namespace tessora {

class TfrmSetSerial : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSetSerial(QWidget* parent = nullptr);

    QLineEdit* edtPrefix = nullptr;
    QLineEdit* edtSuffix = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;
};

} // namespace tessora
