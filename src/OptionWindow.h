// The window page(s) of the options dialog (not yet filled in).
#pragma once

#include "OptionPage.h"

namespace velmora {

class TOptionWindowPage : public TOptionPage {
    Q_OBJECT
public:
    TOptionWindowPage(TMainForm& main, TOptionForm& form, QWidget* parent)
        : TOptionPage(main, form, parent) {}
};

} // namespace velmora

namespace velmora {

class TOptionBalloonPage : public TOptionPage {
    Q_OBJECT
public:
    TOptionBalloonPage(TMainForm& main, TOptionForm& form, QWidget* parent)
        : TOptionPage(main, form, parent) {}
};

} // namespace velmora
