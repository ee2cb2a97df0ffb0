// What the command list needs to start a program, and no more: the platform
// implements it, so the list stays free of the system layer.
#pragma once

#include <QString>
#include <functional>

namespace velmora {

// How a watched start ended.
enum class TLaunchEnd {
    Ran,           // the program ran and ended (its own exit code is its own business)
    Dismissed,     // the administrator password prompt was dismissed
    NotAuthorised, // administrator rights were refused, or the program could not be run
};
using TLaunchWatch = std::function<void(TLaunchEnd)>;

class TProgramLauncher {
public:
    // Starts `fileName` with `params` without waiting (elevated when `asAdmin`).
    // True when the start succeeded; `error`, when given, says why not; `onEnd`,
    // when given, hears how a watched start ended. The platform says how.
    virtual bool LaunchProgram(const QString& fileName, const QString& params, bool asAdmin,
                               bool hide, QString* error = nullptr, TLaunchWatch onEnd = {}) = 0;

protected:
    ~TProgramLauncher() = default;
};

} // namespace velmora
