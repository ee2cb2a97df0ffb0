#include "KvUnits/KvTextFit.h"

namespace velmora {

TFitResult FitTextWithEllipsis(const std::function<int(const QString&)>& textWidth, int width,
                               const QString& text) {
    if (textWidth(text) <= width)
        return {text, false};
    // n: how many leading characters fit on their own.
    int n = 0;
    while (n < text.size() && textWidth(text.left(n + 1)) <= width)
        ++n;
    if (n == 0)
        return {QString(), true};
    QString candidate = text;
    while (textWidth(candidate) > width && n > 0) {
        candidate = text.left(n) + QStringLiteral("...");
        --n;
    }
    return {candidate, true};
}

TFitResult FitTextWithEllipsis(const QFontMetrics& metrics, int width, const QString& text) {
    return FitTextWithEllipsis([&metrics](const QString& s) { return metrics.horizontalAdvance(s); },
                               width, text);
}

} // namespace velmora
