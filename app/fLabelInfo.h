#pragma once
// TfrmLabelInfo: the small box that tells what a click on the label under the mouse does.
#include <QWidget>
#include <functional>

class QLabel;

namespace tessora {

class TfrmLabelInfo : public QWidget {
    Q_OBJECT
public:
    explicit TfrmLabelInfo(QWidget* parent = nullptr);
    // label -1: the sheet itself.
    void SetLabel(int label);

    QLabel* lblName = nullptr;
    QLabel* lblFile = nullptr;
    QLabel* lblInfo1 = nullptr;
    QLabel* lblInfo2 = nullptr;
    std::function<void()> OnFirstLine, OnSecondLine;

protected:
    bool eventFilter(QObject* o, QEvent* e) override;
};

} // namespace tessora
