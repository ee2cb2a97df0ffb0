#include "widgets/KvContrast.h"

#include <cmath>

namespace velmora {

namespace {

double Linear(double channel) {
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

double RelativeLuminance(const QColor& c) {
    const QColor rgb = c.toRgb();
    return 0.2126 * Linear(rgb.redF()) + 0.7152 * Linear(rgb.greenF()) +
           0.0722 * Linear(rgb.blueF());
}

} // namespace

double ContrastRatio(const QColor& a, const QColor& b) {
    double la = RelativeLuminance(a);
    double lb = RelativeLuminance(b);
    if (la < lb)
        std::swap(la, lb);
    return (la + 0.05) / (lb + 0.05);
}

QColor ReadableTextColor(const QColor& background, const QColor& preferred) {
    constexpr double kEnough = 4.5;
    if (ContrastRatio(background, preferred) >= kEnough)
        return preferred;
    const QColor black(0, 0, 0);
    const QColor white(255, 255, 255);
    return ContrastRatio(background, black) >= ContrastRatio(background, white) ? black : white;
}

QColor MidColor(const QColor& a, const QColor& b) {
    const QColor x = a.toRgb();
    const QColor y = b.toRgb();
    return QColor((x.red() + y.red()) / 2, (x.green() + y.green()) / 2, (x.blue() + y.blue()) / 2);
}

bool IsDarkPalette(const QPalette& palette) {
    return RelativeLuminance(palette.color(QPalette::Window)) <
           RelativeLuminance(palette.color(QPalette::WindowText));
}

} // namespace velmora
