// The window and balloon pages of the options dialog: the clock window's scale,
// its overall transparency and its place in the window stack; large balloon icons.
#pragma once

#include "OptionPage.h"

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QRadioButton;

namespace velmora {

class TKvSpinEdit;

class TOptionWindowPage : public TOptionPage {
    Q_OBJECT
public:
    TOptionWindowPage(TMainForm& main, TOptionForm& form, QWidget* parent);

    void ApplyLang() override;
    void LoadFromMain() override;

    // Item 0: above all windows; item 1: at the bottom of the stack; -1: none.
    int RadioGroup301ItemIndex() const;
    void SetRadioGroup301ItemIndex(int index);

    void SpinEdit301Change();
    void SpinEdit302Change();
    void CheckBox301Click();
    void SpinEdit303Change();
    void RadioGroup301Click();

    QGroupBox* GroupBox301 = nullptr;
    QLabel* Label301 = nullptr;
    TKvSpinEdit* SpinEdit301 = nullptr;
    QLabel* Label302 = nullptr;
    TKvSpinEdit* SpinEdit302 = nullptr;
    QGroupBox* GroupBox302 = nullptr;
    QCheckBox* CheckBox301 = nullptr;
    QLabel* Label303 = nullptr;
    TKvSpinEdit* SpinEdit303 = nullptr;
    QGroupBox* RadioGroup301 = nullptr;
    QButtonGroup* RadioGroup301Items = nullptr;

private:
    void AttachScalingHandlers(bool attach);
    void ApplyAlphaEnabled();
};

class TOptionBalloonPage : public TOptionPage {
    Q_OBJECT
public:
    TOptionBalloonPage(TMainForm& main, TOptionForm& form, QWidget* parent);

    void ApplyLang() override;
    void LoadFromMain() override;

    void CheckBox401Click();

    QGroupBox* GroupBox401 = nullptr;
    QCheckBox* CheckBox401 = nullptr;
};

} // namespace velmora
