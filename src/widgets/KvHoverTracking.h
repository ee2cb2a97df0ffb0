// Whether the pointer is over a flat button, with its enter and leave events;
// shared by the arrow and PNG buttons, which draw a raised frame while hovered.
#pragma once

#include <QWidget>
#include <functional>

namespace velmora {

class TKvHoverTracking {
public:
    using TNotifyEvent = std::function<void(QObject* Sender)>;

    // `owner` owns this object and is repainted when the hover state changes.
    explicit TKvHoverTracking(QWidget* owner) : FOwner(owner) {}

    bool MouseInControl() const { return FMouseInControl; }
    void SetMouseInControl(bool value) { FMouseInControl = value; }
    void SetOnMouseEnter(TNotifyEvent handler) { FOnMouseEnter = std::move(handler); }
    void SetOnMouseLeave(TNotifyEvent handler) { FOnMouseLeave = std::move(handler); }

    // The pointer came over the owner. False when a handler destroyed it.
    bool MouseEnter();
    // The pointer left the owner; a held button stays hovered.
    bool MouseLeave(bool leftClicked);
    // Re-reads whether the pointer is over the owner (nothing while disabled).
    bool Update(bool leftClicked);

private:
    QWidget* FOwner;
    bool FMouseInControl = false;
    TNotifyEvent FOnMouseEnter;
    TNotifyEvent FOnMouseLeave;
};

} // namespace velmora
