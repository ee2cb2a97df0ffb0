// The tabs of a tab set: TKvTab and the collection that owns them.
#pragma once

#include "widgets/KvTabTypes.h"

#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

namespace velmora {

class TKvTab;

// What a tab list tells the tab set it belongs to.
class ITabListOwner {
public:
    // A tab's Selected changed (DoTabSelected).
    virtual void TabSelectionChanged(TKvTab* tab, bool selected) = 0;
    // A tab's picture is out of date (InvalidateTab).
    virtual void TabNeedsRepaint(int index) = 0;
    // Tabs were added, deleted or moved (UpdateVisibleRange).
    virtual void TabsUpdated() = 0;

protected:
    ~ITabListOwner() = default;
};

class TKvTabList;

class TKvTab {
public:
    explicit TKvTab(TKvTabList* collection) : FCollection(collection) {}
    TKvTab(const TKvTab&) = delete;
    TKvTab& operator=(const TKvTab&) = delete;

    const QString& Caption() const { return FCaption; }
    void SetCaption(const QString& v);
    // Index into the tab set's Images; -1 = no image.
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int v);
    int Tag() const { return FTag; }
    void SetTag(int v) { FTag = v; }
    // At most one tab of a set is selected; selecting one deselects the others.
    bool Selected() const { return FSelected; }
    void SetSelected(bool v);
    // A modified tab's caption is drawn in ModifiedFontColor.
    bool Modified() const { return FModified; }
    void SetModified(bool v);
    // Local time of the last selection; invalid until first selected.
    const QDateTime& SelectedTime() const { return FSelectedTime; }
    int IndexAtClosing() const { return FIndexAtClosing; }
    // Which glyph image is drawn for this tab. gsHot and gsDown are held by one
    // tab at a time; the setter does not repaint.
    TGlyphState GlyphState() const { return FGlyphState; }
    void SetGlyphState(TGlyphState v);
    int Index() const;
    // Orders selections even within one clock tick; 0 = never selected.
    std::int64_t SelectionStamp() const { return FSelectionStamp; }

    // User data carried across close and re-open; not owned, cleared when freed.
    QPointer<QObject> Data;

private:
    friend class TKvTabList;
    friend class TKvTabSet;
    // The glyph state a tab returns to when it is neither hot nor pressed.
    TGlyphState RestingGlyphState() const { return FSelected ? gsActive : gsInactive; }

    TKvTabList* FCollection;
    QString FCaption;
    int FImageIndex = -1;
    int FTag = 0;
    bool FSelected = false;
    bool FModified = false;
    QDateTime FSelectedTime;
    int FIndexAtClosing = -1;
    TGlyphState FGlyphState = gsInactive;
    std::int64_t FSelectionStamp = 0;
};

// Owns its tabs. Index arguments outside the list raise std::out_of_range and
// change nothing. Changes of the membership or order are reported to the owner
// once the outermost BeginUpdate / EndUpdate bracket closes.
class TKvTabList {
public:
    explicit TKvTabList(ITabListOwner* owner = nullptr) : FOwner(owner) {}

    int Count() const { return int(FItems.size()); }
    TKvTab* Items(int index) const;
    TKvTab* operator[](int index) const { return Items(index); }
    TKvTab* Add();
    // index == Count appends.
    TKvTab* Insert(int index);
    void Delete(int index);
    // Moves tab `from` to position `to`; the tabs in between shift by one place.
    void Move(int from, int to);
    void Clear();
    int IndexOf(const TKvTab* tab) const;
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();

private:
    friend class TKvTab;
    void Changed();
    void CheckIndex(int index, int limit) const;

    ITabListOwner* FOwner;
    std::vector<std::unique_ptr<TKvTab>> FItems;
    int FUpdateCount = 0;
    std::int64_t FLastStamp = 0;
};

// Closes a tab list's update bracket even when a handler inside it throws.
class TTabListUpdate {
public:
    explicit TTabListUpdate(TKvTabList& list) : FList(list) { FList.BeginUpdate(); }
    ~TTabListUpdate() { FList.EndUpdate(); }
    TTabListUpdate(const TTabListUpdate&) = delete;
    TTabListUpdate& operator=(const TTabListUpdate&) = delete;

private:
    TKvTabList& FList;
};

} // namespace velmora
