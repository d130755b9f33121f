#pragma once
// TfrmClone: chooses the labels that receive a copy of one label's design.
#include <QDialog>
#include <vector>

class QLabel;
class QListWidget;
class QPushButton;

namespace tessora {

class TSheet;

class TfrmClone : public QDialog {
    Q_OBJECT
public:
    // source: the label copied from (0-based); count: the labels of the sheet.
    TfrmClone(int source, int count, QWidget* parent = nullptr);

    // The label indices of the checked items, in list order.
    std::vector<int> Targets() const;

    QLabel* lblClone = nullptr;
    QListWidget* lstLabels = nullptr;
    QPushButton* btnSelAll = nullptr;
    QPushButton* btnUnselAll = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;

private:
    void SetAll(bool checked);
    void lstLabelsChange();
};

// Copies label source onto every target (ascending, the source itself skipped): faces with
// their texts and images, outline and VisFr; targets keep position and ON state. Each target
// is redrawn. The caller records the undo step.
void CloneLabelOnto(TSheet& sheet, int source, std::vector<int> targets);

} // namespace tessora
