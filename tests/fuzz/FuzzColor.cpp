// Feeds arbitrary text to the colour reader of the settings and language files.
// Beyond not crashing: a colour read is written as text that reads back to it (a
// system colour as the RGB it stands for).
#include "core/ColorText.h"

#include <cstdint>
#include <cstdlib>

using namespace velmora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto system = [](int index) { return QColor(index * 7 % 256, index, 255 - index); };
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::optional<TColor> color = StringToColor(text);
    if (!color)
        return 0;
    const QString written = ColorToString(*color, system);
    const std::optional<TColor> back = StringToColor(written);
    if (!back)
        abort();
    const TColor expected =
        IsSystemColor(*color) ? QColorToColor(ColorToQColor(*color, system)) : *color;
    if (*back != expected || ColorToQColor(*back, system) != ColorToQColor(*color, system))
        abort();
    return 0;
}
