#pragma once
// TfrmAbout: the about box of the parameters window, shown modally.
#include <QDialog>

class QLabel;
class QPushButton;

namespace tessora {

inline constexpr const char* kMakerWebAddress = "http://www.corvane.example";

class TfrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAbout(QWidget* parent = nullptr);

    QLabel* imgLogo = nullptr;
    QLabel* lblVersion = nullptr; // "v " and the program version
    QLabel* lblWWW = nullptr;     // the maker's web address; a click opens it
    QPushButton* btnOK = nullptr;

    // "v 5.0.0": the program version cut to three numbers.
    static QString VersionText();

    void lblWWWClick();

protected:
    bool eventFilter(QObject* o, QEvent* e) override;
};

} // namespace tessora
