#pragma once
// The borderless yes/no window of the splash.
#include <QDialog>

class QLabel;
class QPushButton;

namespace tessora {

class TfrmMessage : public QDialog {
    Q_OBJECT
public:
    explicit TfrmMessage(const QString& text, QWidget* parent = nullptr);

    QLabel* lblMess = nullptr;
    QPushButton* btnYes = nullptr; // accepts (modal result OK)
    QPushButton* btnNo = nullptr;  // rejects (modal result Cancel)

protected:
    void paintEvent(QPaintEvent*) override;
};

} // namespace tessora
