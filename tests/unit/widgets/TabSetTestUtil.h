// Shared set-up of the tab set tests: a shown host window with a docked tab set.
#pragma once

#include "widgets/KvTabSet.h"

#include <QBuffer>
#include <QTest>
#include <QWidget>
#include <memory>
#include <string>

namespace tabsettest {

using namespace velmora;

struct THost {
    std::unique_ptr<QWidget> Window;
    TKvTabSet* Tabs = nullptr; // owned by Window

    explicit THost(QSize size = QSize(400, 300), TTabPosition position = tpTop) {
        Window = std::make_unique<QWidget>();
        Window->resize(size);
        Tabs = new TKvTabSet(Window.get());
        Tabs->TabOptions().SetTabPosition(position);
        Window->show();
        (void)QTest::qWaitForWindowExposed(Window.get());
    }
    // Adds tabs "t0", "t1", ... without selecting them.
    void AddTabs(int n) {
        Tabs->SetOnTabAdding([](TKvTabSet*, TKvTab*, bool& as) { as = false; });
        const int first = Tabs->Tabs().Count();
        for (int i = 0; i < n; ++i)
            Tabs->AddTab(QString("t%1").arg(first + i));
        Tabs->SetOnTabAdding(nullptr);
    }
    QPoint Centre(int index) const { return Tabs->GetTabRect(index).center(); }
    std::string Captions() const {
        std::string s;
        for (int i = 0; i < Tabs->Tabs().Count(); ++i)
            s += (i ? "," : "") + Tabs->Tabs()[i]->Caption().toStdString();
        return s;
    }
};

inline QByteArray PngOf(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

inline QByteArray SolidPng(QSize size, const QColor& color) {
    QImage image(size, QImage::Format_ARGB32);
    image.fill(color);
    return PngOf(image);
}

inline bool Near(QColor a, QColor b, int tol = 6) {
    return std::abs(a.red() - b.red()) <= tol && std::abs(a.green() - b.green()) <= tol &&
           std::abs(a.blue() - b.blue()) <= tol;
}

} // namespace tabsettest
