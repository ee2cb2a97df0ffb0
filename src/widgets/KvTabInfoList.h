// Snapshots of closed tabs, so that a closed tab can be opened again.
#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <memory>
#include <vector>

namespace velmora {

class TKvTabInfoItem {
public:
    const QString& Caption() const { return FCaption; }
    void SetCaption(const QString& v);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int v);
    int Tag() const { return FTag; }
    void SetTag(int v);
    bool Modified() const { return FModified; }
    void SetModified(bool v);
    // The tab's index when it was closed.
    int IndexAtClosing() const { return FIndexAtClosing; }
    void SetIndexAtClosing(int v);
    const QDateTime& ClosedTime() const { return FClosedTime; }
    void SetClosedTime(const QDateTime& v);
    // User data carried across close and re-open; not owned.
    QObject* Data = nullptr;

private:
    QString FCaption;
    int FImageIndex = -1;
    int FTag = 0;
    bool FModified = false;
    int FIndexAtClosing = -1;
    QDateTime FClosedTime;
};

// Owns its entries; index 0 is the most recently closed tab. Index arguments
// outside the list raise std::out_of_range and change nothing.
class TKvTabInfoList {
public:
    int Count() const { return int(FItems.size()); }
    TKvTabInfoItem* Items(int index) const;
    TKvTabInfoItem* Add(std::unique_ptr<TKvTabInfoItem> item);
    TKvTabInfoItem* Insert(int index, std::unique_ptr<TKvTabInfoItem> item);
    // Deletes the entry and frees it; returns the index it had, or -1.
    int Remove(TKvTabInfoItem* item);
    void Delete(int index);
    int IndexOf(const TKvTabInfoItem* item) const;
    void Clear() { FItems.clear(); }

private:
    std::vector<std::unique_ptr<TKvTabInfoItem>> FItems;
};

} // namespace velmora
