#pragma once
// A spin edit for a length: the model holds millimetres, the edit shows the sheet's display
// unit. Movements added in small pieces (a slow drag on a zoomed view) are not lost to the
// edit's rounding: the part below its last decimal is carried to the next addition.
#include <QDoubleSpinBox>

namespace tessora {

class TUnitSpinBox : public QDoubleSpinBox {
    Q_OBJECT
public:
    // Range and step in millimetres, decimals as shown for millimetres.
    TUnitSpinBox(double minMm, double maxMm, int decimalsMm, double stepMm, QWidget* parent = nullptr);

    // 1 for millimetres, 25.4 for inches; the range and step follow, the value in mm is kept.
    void SetUnitFactor(double factor);
    double UnitFactor() const { return Factor; }

    double Mm() const { return value() * Factor; }
    void SetMm(double mm);
    // Adds a movement in millimetres; true when the shown value changed.
    bool AddMm(double mm);

private:
    double MinMm, MaxMm, StepMm;
    int DecimalsMm;
    double Factor = 1;
    double Carry = 0; // mm not yet shown
    bool Adding = false;
};

} // namespace tessora
