// A one-line edit box in a taller box: the text line sits at the top, centre
// or bottom, the rest is frame. Without a border it can draw a thin flat
// rectangle or an anti-aliased rounded one. The toolkit's own context menu is
// off unless asked for.
//
// Events: the usual QLineEdit signals (textChanged, ...); a double click, the
// focus arriving (OnEnter) and leaving (OnExit) and pointer moves over the box
// (OnMouseMove) come through Set<Event> (Sender = the edit). OnExit is the
// focus really going to another control: not a context menu opening, not the
// window losing the activation, and unlike editingFinished not Return.
#pragma once

#include "widgets/KvEditLayout.h"

#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <functional>

namespace velmora {

class TKvCustomEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TKvCustomEdit(QWidget* parent = nullptr);

    int CornerRadius() const { return FCornerRadius; }
    void SetCornerRadius(int value);
    bool DefaultContextMenuEnabled() const { return FDefaultContextMenuEnabled; }
    void SetDefaultContextMenuEnabled(bool value) { FDefaultContextMenuEnabled = value; }
    QColor FlatBorderColor() const { return FFlatBorderColor; }
    void SetFlatBorderColor(const QColor& value);
    TKvFlatStyle FlatStyle() const { return FFlatStyle; }
    void SetFlatStyle(TKvFlatStyle value);
    TVerticalAlignment VerticalAlignment() const { return FVerticalAlignment; }
    void SetVerticalAlignment(TVerticalAlignment value);
    TEditBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TEditBorderStyle value);
    // The background of the box, text line and bands alike.
    QColor Color() const;
    void SetColor(const QColor& value);
    // Shown in place of the text while the edit is empty and not focused.
    QString TextHint() const { return FTextHint; }
    void SetTextHint(const QString& value);
    // Accepts digits only.
    bool NumbersOnly() const { return FNumbersOnly; }
    void SetNumbersOnly(bool value);
    // Shown instead of the default menu when assigned (not owned).
    QMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(QMenu* value) { FPopupMenu = value; }
    void SetOnDblClick(std::function<void(QObject* Sender)> handler) {
        FOnDblClick = std::move(handler);
    }
    void SetOnEnter(std::function<void(QObject* Sender)> handler) { FOnEnter = std::move(handler); }
    void SetOnExit(std::function<void(QObject* Sender)> handler) { FOnExit = std::move(handler); }
    using TMouseMoveEvent =
        std::function<void(QObject* Sender, Qt::KeyboardModifiers Shift, int X, int Y)>;
    // Moves are reported with no button held too.
    void SetOnMouseMove(TMouseMoveEvent handler) {
        FOnMouseMove = std::move(handler);
        if (FOnMouseMove)
            setMouseTracking(true);
    }

    const TEditFrameLayout& FrameLayout() const { return FLayout; }
    QRect TopRect() const { return FLayout.TopRect; }
    QRect BottomRect() const { return FLayout.BottomRect; }
    QRect LeftRect() const { return FLayout.LeftRect; }
    QRect RightRect() const { return FLayout.RightRect; }

    // The box keeps its height in layouts: the bands around the text line
    // are not extra room the toolkit should add to.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    TEditFrameInput FrameInput() const;
    void RecalcFrame();
    void AdjustHeightToFont();
    void PaintFrame();

    TEditFrameLayout FLayout;
    int FCornerRadius = 2;
    bool FDefaultContextMenuEnabled = false;
    QColor FFlatBorderColor;
    TKvFlatStyle FFlatStyle = kfsFlatNone;
    TVerticalAlignment FVerticalAlignment = taVerticalCenter;
    TEditBorderStyle FBorderStyle = ebsSingle;
    bool FNumbersOnly = false;
    QString FTextHint;
    QPointer<QMenu> FPopupMenu;
    std::function<void(QObject*)> FOnDblClick;
    std::function<void(QObject*)> FOnEnter;
    std::function<void(QObject*)> FOnExit;
    TMouseMoveEvent FOnMouseMove;
};

// Closes the input method of `window`'s focused control: the text being composed
// is committed and the input method leaves its conversion mode, as after the
// user switched it off. The control can still take composed input later.
void KvSwitchInputMethodOff(QWidget* window);

class TKvEdit : public TKvCustomEdit {
    Q_OBJECT
public:
    explicit TKvEdit(QWidget* parent = nullptr) : TKvCustomEdit(parent) {}
};

} // namespace velmora
