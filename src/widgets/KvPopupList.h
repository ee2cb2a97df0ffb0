// The one list of the program's popup menus. When any listed menu closes,
// every listed menu hears of it, so that a menu opened from a button can
// reset that button however the menu was dismissed.
#pragma once

#include <QMenu>
#include <QObject>
#include <QPointer>
#include <functional>
#include <vector>

namespace velmora {

class TKvPopupList : public QObject {
    Q_OBJECT
public:
    using TCloseEvent = std::function<void(QMenu* Closed)>;

    explicit TKvPopupList(QObject* parent = nullptr) : QObject(parent) {}

    // `onClose` runs whenever any listed menu closes. A menu leaves the list
    // when it is removed or destroyed.
    void Add(QMenu* menu, TCloseEvent onClose);
    void Remove(QMenu* menu);
    int Count() const;

private:
    struct TEntry {
        QPointer<QMenu> Menu;
        TCloseEvent OnClose;
    };
    void MenuClosed(QMenu* menu);
    void Prune();

    std::vector<TEntry> FItems;
};

// The program's list, made on first use and freed with the application.
TKvPopupList* KvPopupList();

} // namespace velmora
