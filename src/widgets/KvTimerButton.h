// A single arrow button that repeats its click while held, the half of every
// spin arrow pair.
//
// Events are std::function members set through Set<Event>(...); a handler
// receives the control that raised it as `Sender`. A handler may destroy the
// control; nothing of the control runs after that.
#pragma once

#include "widgets/KvArrowGeometry.h"
#include "widgets/KvHoverButton.h"

#include <QColor>
#include <QWidget>
#include <functional>

class QTimer;

namespace velmora {

// How long a held arrow waits before it repeats, then between repeats.
struct TRepeatDelays {
    int FirstMs = 500;
    int NextMs = 50;
};

class TKvTimerButton : public TKvHoverButton {
    Q_OBJECT
public:
    explicit TKvTimerButton(QWidget* parent = nullptr);
    ~TKvTimerButton() override;

    TArrowGlyph ArrowGlyph() const { return FArrowGlyph; }
    void SetArrowGlyph(TArrowGlyph value);
    // A latched button is drawn sunken and never repeats.
    bool Down() const { return FDown; }
    void SetDown(bool value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    int ArrowWidth() const { return FArrowWidth; }
    void SetArrowWidth(int value);
    int ArrowHeight() const { return FArrowHeight; }
    void SetArrowHeight(int value);
    TButtonState ButtonState() const { return FButtonState; }

    void SetOnClick(TNotifyEvent handler) { FOnClick = std::move(handler); }
    // Called after a press has been handled, with the pressed mouse button.
    void SetOnMouseDown(std::function<void(QObject* Sender, Qt::MouseButton)> handler) {
        FOnMouseDown = std::move(handler);
    }

    TRepeatDelays RepeatDelays() const { return FRepeatDelays; }
    // Delays below 1 ms are taken as 1 ms: a zero-interval timer would click
    // as fast as the event loop turns.
    void SetRepeatDelays(TRepeatDelays delays);
    bool IsRepeating() const;

    // The arrow's box in the current state (right and bottom exclusive).
    QRect GetArrowRect() const;
    // One tick of the repeat timer: switches to the short interval and clicks
    // while the button is held down over itself. A handler's exception stops
    // the repetition and passes on to the caller; when the timer itself is
    // the caller it is logged there, as it must not unwind through the
    // toolkit's event loop.
    void RepeatTimerTick();

protected:
    // The arrow's colour in the current state.
    virtual QColor CurrentArrowColor() const;
    virtual void FrameColors(bool sunken, QColor& topLeft, QColor& bottomRight) const;
    // Plain buttons repaint a new glyph at once; others may defer it.
    virtual void ArrowGlyphChanged();

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

    void SetButtonState(TButtonState state);

private:
    void Click();
    void CancelPress();
    bool LostMouseToOtherWindow() const;
    void DrawArrow(QPainter& painter);

    QTimer* FRepeatTimer;
    TArrowGlyph FArrowGlyph = agUp;
    bool FDown = false;
    bool FTransparent = true;
    int FArrowWidth = 5;
    int FArrowHeight = 3;
    TNotifyEvent FOnClick;
    std::function<void(QObject*, Qt::MouseButton)> FOnMouseDown;
    TButtonState FButtonState = bsUp;
    TRepeatDelays FRepeatDelays;
};

} // namespace velmora
