#include "Gallery.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <map>

namespace gallery {

static std::map<std::string, PageFn>& Pages() {
    static std::map<std::string, PageFn> pages;
    return pages;
}

bool RegisterPage(const char* name, PageFn fn) {
    Pages()[name] = std::move(fn);
    return true;
}

void Snap(QWidget* w, const QDir& out, const QString& file, const QColor& background) {
    w->show();
    QApplication::processEvents();
    QImage img(w->size() * 2, QImage::Format_ARGB32_Premultiplied);
    img.setDevicePixelRatio(1);
    img.fill(background);
    {
        QPainter p(&img);
        p.scale(2, 2); // larger, so that one-pixel lines can be judged
        w->render(&p, QPoint(), QRegion(), QWidget::DrawChildren);
    }
    QImage native(w->size(), QImage::Format_ARGB32_Premultiplied);
    native.fill(background);
    {
        QPainter p(&native);
        w->render(&p, QPoint(), QRegion(), QWidget::DrawChildren);
    }
    native.save(out.filePath(file + QStringLiteral(".png")));
    img.save(out.filePath(file + QStringLiteral("@2x.png")));
}

} // namespace gallery

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString outDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("gallery-out");
    QDir().mkpath(outDir);
    const QDir out(outDir);
    for (auto& [name, fn] : gallery::Pages()) {
        std::printf("%s\n", name.c_str());
        fn(out);
    }
    std::printf("pictures in %s\n", qPrintable(out.absolutePath()));
    return 0;
}
