// A one-line edit for a number (a real with fixed decimals, a decimal or a
// hexadecimal integer) with arrow buttons, an optional range, the Up and Down
// keys and the mouse wheel. Leaving the box rewrites the text in canonical form.
#pragma once

#include "widgets/KvSpinEditBase.h"
#include "widgets/KvSpinValue.h"

#include <QVariant>

namespace velmora {

class TKvSpinEdit : public TKvSpinEditBase {
public:
    explicit TKvSpinEdit(QWidget* parent = nullptr);

    // Reading parses the text: a double for vkFloat, a qlonglong otherwise; text
    // that is not a number gives the last valid one. Reading never changes the text.
    QVariant Value();
    // Accepts any number (integer or real); limits it to the range and shows it.
    void SetValue(const QVariant& value);
    void SetValue(long double value);

    TKvValueKind ValueKind() const { return FValue.ValueKind(); }
    void SetValueKind(TKvValueKind kind);
    int DecimalPlaces() const { return FValue.DecimalPlaces(); }
    void SetDecimalPlaces(int places);
    bool ShowPlusSign() const { return FValue.ShowPlusSign(); }
    void SetShowPlusSign(bool show);
    // Increment, MinValue and MaxValue take effect at the next write of Value.
    long double Increment() const { return FValue.Increment(); }
    void SetIncrement(long double increment) { FValue.SetIncrement(increment); }
    long double MinValue() const { return FValue.MinValue(); }
    void SetMinValue(long double v) { FValue.SetMinValue(v); }
    long double MaxValue() const { return FValue.MaxValue(); }
    void SetMaxValue(long double v) { FValue.SetMaxValue(v); }
    // Selects the whole text when the box is entered other than by a click.
    bool AutoSelect() const { return FAutoSelect; }
    void SetAutoSelect(bool autoSelect) { FAutoSelect = autoSelect; }

    void StepUp() override;
    void StepDown() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void Reapply() { SetValue(FValue.Read(text())); }

    TKvSpinValue FValue; // settings and the last valid number
    bool FAutoSelect = true;
};

} // namespace velmora
