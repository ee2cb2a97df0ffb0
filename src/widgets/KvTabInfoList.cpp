#include "widgets/KvTabInfoList.h"

#include <stdexcept>

namespace velmora {

void TKvTabInfoItem::SetCaption(const QString& v) {
    if (FCaption != v)
        FCaption = v;
}

void TKvTabInfoItem::SetImageIndex(int v) {
    if (FImageIndex != v)
        FImageIndex = v;
}

void TKvTabInfoItem::SetTag(int v) {
    if (FTag != v)
        FTag = v;
}

void TKvTabInfoItem::SetModified(bool v) {
    if (FModified != v)
        FModified = v;
}

void TKvTabInfoItem::SetIndexAtClosing(int v) {
    if (FIndexAtClosing != v)
        FIndexAtClosing = v;
}

void TKvTabInfoItem::SetClosedTime(const QDateTime& v) {
    if (FClosedTime != v)
        FClosedTime = v;
}

TKvTabInfoItem* TKvTabInfoList::Items(int index) const {
    if (index < 0 || index >= Count())
        throw std::out_of_range("closed tab index out of range");
    return FItems[std::size_t(index)].get();
}

TKvTabInfoItem* TKvTabInfoList::Add(std::unique_ptr<TKvTabInfoItem> item) {
    FItems.push_back(std::move(item));
    return FItems.back().get();
}

TKvTabInfoItem* TKvTabInfoList::Insert(int index, std::unique_ptr<TKvTabInfoItem> item) {
    if (index < 0 || index > Count())
        throw std::out_of_range("closed tab index out of range");
    return FItems.insert(FItems.begin() + index, std::move(item))->get();
}

int TKvTabInfoList::Remove(TKvTabInfoItem* item) {
    const int i = IndexOf(item);
    if (i >= 0)
        FItems.erase(FItems.begin() + i);
    return i;
}

void TKvTabInfoList::Delete(int index) {
    if (index < 0 || index >= Count())
        throw std::out_of_range("closed tab index out of range");
    FItems.erase(FItems.begin() + index);
}

int TKvTabInfoList::IndexOf(const TKvTabInfoItem* item) const {
    for (int i = 0; i < Count(); ++i) {
        if (FItems[std::size_t(i)].get() == item)
            return i;
    }
    return -1;
}

} // namespace velmora
