// The hover state of a flat button, kept once for the arrow and PNG buttons,
// which draw a raised frame while hovered: whether the pointer is over the
// button, whether a left press on it is held, the enter and leave events, and
// the repaint when the hover state changes.
#pragma once

#include "widgets/KvArrowGeometry.h"

#include <QWidget>
#include <functional>

namespace velmora {

class TKvHoverButton : public QWidget {
    Q_OBJECT
public:
    using TNotifyEvent = std::function<void(QObject* Sender)>;

    bool MouseInControl() const { return FMouseInControl; }
    void SetOnMouseEnter(TNotifyEvent handler) { FOnMouseEnter = std::move(handler); }
    void SetOnMouseLeave(TNotifyEvent handler) { FOnMouseLeave = std::move(handler); }
    // Re-reads whether the pointer is over the button (nothing while disabled).
    // False when a hover handler destroyed the button.
    bool UpdateTracking();

protected:
    explicit TKvHoverButton(QWidget* parent) : QWidget(parent) {}

    void SetMouseInControl(bool value) { FMouseInControl = value; }
    // True from a left press on the button until its release: a held button
    // stays hovered when the pointer leaves it.
    bool LeftClicked() const { return FLeftClicked; }
    void SetLeftClicked(bool value) { FLeftClicked = value; }

    // A pointer move: while a press is held, `state` follows whether the pointer
    // is over the button (`down`: the button is latched), repainting when it
    // changes; otherwise the hover state is re-read unless already hovered.
    void TrackMove(QMouseEvent* event, bool down, TButtonState& state);

    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    // The pointer came over the button. False when a handler destroyed it.
    bool MouseEnter();
    // The pointer left the button. False when a handler destroyed it.
    bool MouseLeave();
    // Runs a handler that may destroy the button; false when it did.
    bool Notify(const TNotifyEvent& handler);

    bool FMouseInControl = false;
    bool FLeftClicked = false;
    TNotifyEvent FOnMouseEnter;
    TNotifyEvent FOnMouseLeave;
};

} // namespace velmora
