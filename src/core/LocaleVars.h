// The locale variables that name the language of messages: the platform reads
// them from the process, the language choice decides with them.
#pragma once

#include <QString>

namespace velmora {

// The locale variables that name the language of messages, as the process got them.
struct TLocaleVars {
    QString LcAll;
    QString LcMessages;
    QString Lang;
};

} // namespace velmora
