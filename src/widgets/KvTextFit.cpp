#include "widgets/KvTextFit.h"

namespace velmora {

TFitResult FitTextWithEllipsis(const std::function<int(const QString&)>& textWidth, int width,
                               const QString& text) {
    if (textWidth(text) <= width)
        return {text, false};
    // Cuts fall between characters, never between the halves of a surrogate pair.
    const auto next = [&text](int n) {
        return n + (n + 1 < text.size() && text.at(n).isHighSurrogate() &&
                            text.at(n + 1).isLowSurrogate()
                        ? 2
                        : 1);
    };
    const auto previous = [&text](int n) {
        return n - (n >= 2 && text.at(n - 1).isLowSurrogate() && text.at(n - 2).isHighSurrogate()
                        ? 2
                        : 1);
    };
    // n: how many leading code units fit on their own.
    int n = 0;
    while (n < text.size() && textWidth(text.left(next(n))) <= width)
        n = next(n);
    if (n == 0)
        return {QString(), true};
    QString candidate = text;
    while (textWidth(candidate) > width && n > 0) {
        candidate = text.left(n) + QStringLiteral("...");
        n = previous(n);
    }
    return {candidate, true};
}

TFitResult FitTextWithEllipsis(const QFontMetrics& metrics, int width, const QString& text) {
    return FitTextWithEllipsis(
        [&metrics](const QString& s) { return metrics.horizontalAdvance(s); }, width, text);
}

} // namespace velmora
