// The kind of a message for the user, which decides the icon of its box.
#pragma once

namespace velmora {

enum class TMsgDlgType { Warning, Error, Information, Confirmation };

} // namespace velmora
