#include "widgets/KvTabList.h"

#include <stdexcept>

namespace velmora {

void TKvTab::SetCaption(const QString& v) {
    if (FCaption == v)
        return;
    FCaption = v;
    if (FCollection->FOwner)
        FCollection->FOwner->TabNeedsRepaint(Index());
}

void TKvTab::SetImageIndex(int v) {
    if (FImageIndex == v)
        return;
    FImageIndex = v;
    if (FCollection->FOwner)
        FCollection->FOwner->TabNeedsRepaint(Index());
}

void TKvTab::SetModified(bool v) {
    if (FModified == v)
        return;
    FModified = v;
    if (FCollection->FOwner)
        FCollection->FOwner->TabNeedsRepaint(Index());
}

void TKvTab::SetSelected(bool v) {
    if (FSelected == v)
        return;
    FSelected = v;
    if (v) {
        FSelectedTime = QDateTime::currentDateTime();
        FSelectionStamp = ++FCollection->FLastStamp;
        FGlyphState = gsActive;
        // Through this same setter, so that the old tab's deselection is
        // reported before this tab's selection.
        for (int i = 0; i < FCollection->Count(); ++i) {
            TKvTab* other = FCollection->FItems[std::size_t(i)].get();
            if (other != this && other->FSelected) {
                other->SetSelected(false);
                other->FGlyphState = gsInactive;
            }
        }
    } else {
        FGlyphState = gsInactive;
    }
    if (FCollection->FOwner)
        FCollection->FOwner->TabSelectionChanged(this, v);
}

void TKvTab::SetGlyphState(TGlyphState v) {
    FGlyphState = v;
    if (v != gsHot && v != gsDown)
        return;
    for (int i = 0; i < FCollection->Count(); ++i) {
        TKvTab* other = FCollection->FItems[std::size_t(i)].get();
        if (other != this && other->FGlyphState == v)
            other->FGlyphState = other->RestingGlyphState();
    }
}

int TKvTab::Index() const {
    return FCollection->IndexOf(this);
}

TKvTab* TKvTabList::Items(int index) const {
    CheckIndex(index, Count() - 1);
    return FItems[std::size_t(index)].get();
}

TKvTab* TKvTabList::Add() {
    return Insert(Count());
}

TKvTab* TKvTabList::Insert(int index) {
    CheckIndex(index, Count());
    TKvTab* tab = FItems.insert(FItems.begin() + index, std::make_unique<TKvTab>(this))->get();
    Changed();
    return tab;
}

void TKvTabList::Delete(int index) {
    CheckIndex(index, Count() - 1);
    FItems.erase(FItems.begin() + index);
    Changed();
}

void TKvTabList::Move(int from, int to) {
    CheckIndex(from, Count() - 1);
    CheckIndex(to, Count() - 1);
    if (from == to)
        return;
    std::unique_ptr<TKvTab> tab = std::move(FItems[std::size_t(from)]);
    FItems.erase(FItems.begin() + from);
    FItems.insert(FItems.begin() + to, std::move(tab));
    Changed();
}

void TKvTabList::Clear() {
    if (FItems.empty())
        return;
    FItems.clear();
    Changed();
}

int TKvTabList::IndexOf(const TKvTab* tab) const {
    for (int i = 0; i < Count(); ++i) {
        if (FItems[std::size_t(i)].get() == tab)
            return i;
    }
    return -1;
}

void TKvTabList::EndUpdate() {
    if (FUpdateCount <= 0)
        return;
    if (--FUpdateCount == 0)
        Changed();
}

void TKvTabList::Changed() {
    if (FUpdateCount == 0 && FOwner)
        FOwner->TabsUpdated();
}

void TKvTabList::CheckIndex(int index, int limit) const {
    if (index < 0 || index > limit)
        throw std::out_of_range("tab index out of range");
}

} // namespace velmora
