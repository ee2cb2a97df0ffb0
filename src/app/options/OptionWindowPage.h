// The window page of the options dialog: the clock window's scale, its overall
// transparency and its place in the window stack.
#pragma once

#include "app/options/OptionPage.h"

class QCheckBox;
class QGroupBox;
class QLabel;

namespace velmora {

class TKvSpinEdit;
class TRadioGroup;

class TOptionWindowPage : public TOptionPage {
    Q_OBJECT
public:
    TOptionWindowPage(IOptionHost& host, TOptionForm& form, QWidget* parent);

    void LoadFromMain() override;

    void SpinEdit301Change();
    void SpinEdit302Change();
    void CheckBox301Click();
    void SpinEdit303Change();
    void RadioGroup301Click();
    void CheckBox302Click();

    QGroupBox* GroupBox301 = nullptr;
    QLabel* Label301 = nullptr;
    TKvSpinEdit* SpinEdit301 = nullptr;
    QLabel* Label302 = nullptr;
    TKvSpinEdit* SpinEdit302 = nullptr;
    QGroupBox* GroupBox302 = nullptr;
    QCheckBox* CheckBox301 = nullptr;
    QLabel* Label303 = nullptr;
    TKvSpinEdit* SpinEdit303 = nullptr;
    // Item 0: above all windows; item 1: at the bottom of the stack.
    TRadioGroup* RadioGroup301 = nullptr;
    // Step aside for full-screen windows: a topmost clock's option, so it can be
    // changed only while the clock is topmost (in bottom mode a full-screen
    // window covers the clock anyway); its value stays as it was.
    QCheckBox* CheckBox302 = nullptr;

private:
    void AttachScalingHandlers(bool attach);
    void ApplyAlphaEnabled();
};

} // namespace velmora
