#include "widgets/KvPopupList.h"

#include <QCoreApplication>
#include <QMenu>

namespace velmora {

void TKvPopupList::Add(QMenu* menu, TCloseEvent onClose) {
    if (!menu)
        return;
    Prune();
    for (const TEntry& e : FItems)
        if (e.Menu == menu)
            return;
    FItems.push_back({menu, std::move(onClose)});
    connect(menu, &QMenu::aboutToHide, this, [this, menu] { MenuClosed(menu); });
}

void TKvPopupList::Remove(QMenu* menu) {
    Prune();
    for (auto it = FItems.begin(); it != FItems.end(); ++it) {
        if (it->Menu == menu) {
            disconnect(menu, nullptr, this, nullptr);
            FItems.erase(it);
            return;
        }
    }
}

int TKvPopupList::Count() const {
    int n = 0;
    for (const TEntry& e : FItems)
        n += e.Menu ? 1 : 0;
    return n;
}

void TKvPopupList::Prune() {
    std::erase_if(FItems, [](const TEntry& e) { return e.Menu.isNull(); });
}

void TKvPopupList::MenuClosed(QMenu* menu) {
    Prune();
    // A handler may change the list: work on a copy.
    const std::vector<TEntry> items = FItems;
    for (const TEntry& e : items)
        if (e.Menu && e.OnClose)
            e.OnClose(menu);
}

TKvPopupList* KvPopupList() {
    static QPointer<TKvPopupList> list;
    if (!list)
        list = new TKvPopupList(QCoreApplication::instance());
    return list;
}

} // namespace velmora
