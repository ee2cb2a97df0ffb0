// The texts the user sees, by their language-file keys, with built-in fallbacks.
#pragma once

#include <QString>

namespace velmora {

struct TMessageTable {
    // Caption of every message box; empty until a language file says otherwise.
    QString MsgDialogCaption;
};

// The program's one message table, filled from the current language file.
TMessageTable& Messages();

} // namespace velmora
