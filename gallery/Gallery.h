// Each control's page of the gallery registers itself with VELMORA_GALLERY_PAGE.
#pragma once

#include <QDir>
#include <QString>
#include <QWidget>
#include <functional>

namespace gallery {

using PageFn = std::function<void(const QDir& out)>;
bool RegisterPage(const char* name, PageFn fn);
// Renders `w` (shown offscreen at its current size) into out/<file>.png,
// on a background of `background` so that alpha blending is visible.
void Snap(QWidget* w, const QDir& out, const QString& file,
          const QColor& background = QColor(0xf0, 0xf0, 0xf0));

} // namespace gallery

#define VELMORA_GALLERY_CAT2(a, b) a##b
#define VELMORA_GALLERY_CAT(a, b) VELMORA_GALLERY_CAT2(a, b)
#define VELMORA_GALLERY_PAGE(name)                                                           \
    static void VELMORA_GALLERY_CAT(galleryPage_, __LINE__)(const QDir& out);                \
    static const bool VELMORA_GALLERY_CAT(galleryReg_, __LINE__) =                           \
        gallery::RegisterPage(name, VELMORA_GALLERY_CAT(galleryPage_, __LINE__));            \
    static void VELMORA_GALLERY_CAT(galleryPage_, __LINE__)(const QDir& out)
