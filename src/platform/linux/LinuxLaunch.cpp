#include "platform/linux/LinuxPlatform.h"

namespace velmora {

bool LinuxPlatform::LaunchProgram(const QString&, const QString&, bool, bool, QString* error) {
    if (error)
        *error = QStringLiteral("Starting programs is not available yet.");
    return false;
}

} // namespace velmora
