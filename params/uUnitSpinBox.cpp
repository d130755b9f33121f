#include "params/uUnitSpinBox.h"

#include <algorithm>

namespace tessora {

TUnitSpinBox::TUnitSpinBox(double minMm, double maxMm, int decimalsMm, double stepMm, QWidget* parent)
    : QDoubleSpinBox(parent), MinMm(minMm), MaxMm(maxMm), StepMm(stepMm), DecimalsMm(decimalsMm) {
    // A typed number is one change when it is confirmed, not one per keystroke (each change
    // is an undo step and a redraw).
    setKeyboardTracking(false);
    // Any change not made by AddMm (typed, stepped, loaded) starts without a carry.
    connect(this, &QDoubleSpinBox::valueChanged, this, [this] {
        if (!Adding) Carry = 0;
    });
    SetUnitFactor(1);
}

void TUnitSpinBox::SetUnitFactor(double factor) {
    const double mm = Mm();
    Factor = factor > 0 ? factor : 1;
    const bool blocked = blockSignals(true);
    // Inches need two more decimals to keep about the precision of a tenth of a millimetre.
    setDecimals(Factor == 1 ? DecimalsMm : DecimalsMm + 2);
    setRange(MinMm / Factor, MaxMm / Factor);
    setSingleStep(Factor == 1 ? StepMm : StepMm / 10);
    setValue(mm / Factor);
    blockSignals(blocked);
    Carry = 0;
}

void TUnitSpinBox::SetMm(double mm) {
    setValue(mm / Factor);
    Carry = 0;
}

bool TUnitSpinBox::AddMm(double mm) {
    const double before = value();
    const double wanted = Mm() + Carry + mm;
    Adding = true;
    setValue(std::clamp(wanted, MinMm, MaxMm) / Factor);
    Adding = false;
    // At a limit the rest of the movement is dropped, not stored up.
    Carry = (wanted < MinMm || wanted > MaxMm) ? 0 : wanted - Mm();
    return value() != before;
}

} // namespace tessora
