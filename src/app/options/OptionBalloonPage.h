// The balloon page of the options dialog: large balloon icons.
#pragma once

#include "app/options/OptionPage.h"

class QCheckBox;
class QGroupBox;

namespace velmora {

class TOptionBalloonPage : public TOptionPage {
    Q_OBJECT
public:
    TOptionBalloonPage(IOptionHost& host, TOptionForm& form, QWidget* parent);

    void LoadFromMain() override;

    void CheckBox401Click();

    QGroupBox* GroupBox401 = nullptr;
    QCheckBox* CheckBox401 = nullptr;
};

} // namespace velmora
