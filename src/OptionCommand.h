// The command page(s) of the options dialog (not yet filled in).
#pragma once

#include "OptionPage.h"

namespace velmora {

class TOptionCommandPage : public TOptionPage {
    Q_OBJECT
public:
    TOptionCommandPage(TMainForm& main, TOptionForm& form, QWidget* parent)
        : TOptionPage(main, form, parent) {}
};

} // namespace velmora
