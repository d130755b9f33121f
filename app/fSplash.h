#pragma once
// The splash shown while the program starts: title, version, licence text and a status line.
#include <QWidget>

class QLabel;

namespace tessora {

class TfrmSplash : public QWidget {
    Q_OBJECT
public:
    explicit TfrmSplash(QWidget* parent = nullptr);

    // 1: start-up goes on; 0: the program quits for an update.
    int Tag = 1;

    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr; // "v 5.0.0"
    QLabel* lblLicence = nullptr;
    QLabel* lblStatus = nullptr;

    // Sets the status line and repaints at once.
    void SetStatus(const QString& text);

protected:
    void paintEvent(QPaintEvent*) override;
};

// "v " and the first three numbers of the program's version.
QString SplashVersionText();

} // namespace tessora
