// Cutting a caption to a pixel width with a trailing "...", shared by the tab set
// and the grid.
#pragma once

#include <QFontMetrics>
#include <QString>
#include <functional>

namespace velmora {

struct TFitResult {
    QString Text;
    bool Shortened = false;
};

// `textWidth` measures a string in pixels on the canvas that will draw it.
TFitResult FitTextWithEllipsis(const std::function<int(const QString&)>& textWidth, int width,
                               const QString& text);
TFitResult FitTextWithEllipsis(const QFontMetrics& metrics, int width, const QString& text);

} // namespace velmora
