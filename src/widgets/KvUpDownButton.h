// Spin arrows: a pair of repeating arrow buttons (KvTimerButton.h) in one control.
//
// Events are std::function members set through Set<Event>(...); a handler
// receives the control that raised it as `Sender`. A handler may destroy the
// control; nothing of the control runs after that.
#pragma once

#include "widgets/KvArrowGeometry.h"
#include "widgets/KvTimerButton.h"

#include <QColor>
#include <QPointer>
#include <QWidget>
#include <functional>

namespace velmora {

// What both pairs share: two halves, their orientation and layout, the focus
// hand-over and the click events. The halves are created by the derived pair.
class TKvCustomUpDownButton : public QWidget {
    Q_OBJECT
public:
    using TNotifyEvent = TKvTimerButton::TNotifyEvent;
    using THalfFactory = std::function<TKvTimerButton*(QWidget* parent)>;

    TButtonOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TButtonOrientation value);
    // Receives the focus when a half is pressed (not owned; cleared when freed).
    QWidget* FocusControl() const { return FFocusControl; }
    void SetFocusControl(QWidget* value) { FFocusControl = value; }
    bool UpButtonDown() const;
    void SetUpButtonDown(bool value);
    bool DownButtonDown() const;
    void SetDownButtonDown(bool value);
    QColor Color() const;
    void SetColor(const QColor& value);
    void SetRepeatDelays(TRepeatDelays delays);

    // Sender is the pair.
    void SetOnUpClick(TNotifyEvent handler) { FOnUpClick = std::move(handler); }
    void SetOnDownClick(TNotifyEvent handler) { FOnDownClick = std::move(handler); }

    TKvTimerButton* UpButton() const { return FUpButton; }
    TKvTimerButton* DownButton() const { return FDownButton; }
    // Layouts give the pair its initial size.
    QSize sizeHint() const override { return FInitialSize; }

protected:
    TKvCustomUpDownButton(QWidget* parent, const THalfFactory& makeHalf, QSize initialSize);
    // Turns the options' arrow box to suit the new orientation.
    virtual void FitOptionsToOrientation() = 0;
    void resizeEvent(QResizeEvent* event) override;

private:
    void LayoutHalves();
    void UpdateGlyphs();
    void HalfClick(QObject* half);
    void HalfMouseDown(Qt::MouseButton button);

    TKvTimerButton* FUpButton;
    TKvTimerButton* FDownButton;
    TButtonOrientation FOrientation = boVertical;
    QSize FInitialSize;
    QPointer<QWidget> FFocusControl;
    TNotifyEvent FOnUpClick;
    TNotifyEvent FOnDownClick;
};

class TKvUpDownButton : public TKvCustomUpDownButton {
    Q_OBJECT
public:
    // The arrow size of both halves. Setters pass the value to both halves.
    class TButtonOptions {
    public:
        explicit TButtonOptions(TKvUpDownButton* owner) : FKvUpDownButton(owner) {}
        TButtonOptions(const TButtonOptions&) = delete;
        TButtonOptions& operator=(const TButtonOptions&) = delete;
        int ArrowWidth() const { return FArrowWidth; }
        void SetArrowWidth(int value);
        int ArrowHeight() const { return FArrowHeight; }
        void SetArrowHeight(int value);
        void Assign(const TButtonOptions& source);

    private:
        TKvUpDownButton* FKvUpDownButton;
        int FArrowWidth = 5;
        int FArrowHeight = 3;
    };

    explicit TKvUpDownButton(QWidget* parent = nullptr);

    TButtonOptions& ButtonOptions() { return FButtonOptions; }
    const TButtonOptions& ButtonOptions() const { return FButtonOptions; }
    // Copies the values; the pair keeps its own options object.
    void SetButtonOptions(const TButtonOptions& value) { FButtonOptions.Assign(value); }

protected:
    void FitOptionsToOrientation() override;

private:
    TButtonOptions FButtonOptions{this};
};

} // namespace velmora
