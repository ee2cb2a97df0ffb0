// A windowless push button whose picture is a PNG glyph with per-pixel
// alpha, with an optional caption beside it. It can latch as a check button,
// act as one of a radio group of sibling buttons, open a drop-down menu, and
// take caption, state and glyph from a QAction.
//
// Events are std::function members set through Set<Event>(...), receiving the
// button as Sender. A handler may destroy the button.
#pragma once

#include "widgets/KvArrowGeometry.h"
#include "widgets/KvHoverButton.h"
#include "widgets/KvPngButtonLayout.h"

#include <QAction>
#include <QImage>
#include <QMenu>
#include <QPointer>
#include <QWidget>
#include <functional>

namespace velmora {

class TKvPngButton : public TKvHoverButton {
    Q_OBJECT
public:
    explicit TKvPngButton(QWidget* parent = nullptr);
    ~TKvPngButton() override;

    // A grouped button that is down may be released by a click.
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool value);
    TKvPngButtonStyle ButtonStyle() const { return FButtonStyle; }
    // Switching to or from pbsDropdown widens or narrows the button by the arrow area.
    void SetButtonStyle(TKvPngButtonStyle value);
    bool Down() const { return FDown; }
    // A grouped button that is down stays down unless AllowAllUp.
    void SetDown(bool value);
    TKvDownOffsetStyle DownOffsetStyle() const { return FDownOffsetStyle; }
    void SetDownOffsetStyle(TKvDownOffsetStyle value);
    // Opens on a press (not owned; forgotten when destroyed).
    QMenu* DropDownMenu() const { return FDropDownMenu; }
    void SetDropDownMenu(QMenu* value) { FDropDownMenu = value; }
    TPopupAlignment DropDownAlignment() const { return FDropDownAlignment; }
    void SetDropDownAlignment(TPopupAlignment value) { FDropDownAlignment = value; }

    // Glyphs are given as PNG files in memory and decoded at once; false when
    // the data is not a PNG (the glyph is then empty).
    bool SetGlyphUp(const QByteArray& png);
    bool SetGlyphDown(const QByteArray& png);
    bool SetGlyphHot(const QByteArray& png);
    QImage GlyphUp() const { return FGlyphUp; }
    QImage GlyphDown() const { return FGlyphDown; }
    QImage GlyphHot() const { return FGlyphHot; }
    QImage GlyphDisabled() const { return FGlyphDisabled; }
    bool ImageFromAction() const { return FImageFromAction; }

    // All grouped PNG buttons of one parent form a radio group.
    bool Grouped() const { return FGrouped; }
    void SetGrouped(bool value);
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    QString Caption() const { return FCaption; }
    void SetCaption(const QString& value);
    QColor Color() const;
    void SetColor(const QColor& value);

    // The action supplies caption, enabled state, hint, visibility, checked
    // state and, from its icon, the up glyph; a click triggers it.
    QAction* Action() const { return FAction; }
    void SetAction(QAction* action);

    TButtonState ButtonState() const { return FButtonState; }
    bool MenuTracking() const { return FMenuTracking; }

    void SetOnClick(TNotifyEvent handler) { FOnClick = std::move(handler); }
    void SetOnDblClick(TNotifyEvent handler) { FOnDblClick = std::move(handler); }

    // Room for glyph, caption and drop-down arrow with a little margin, and
    // never less than the button's initial size.
    QSize sizeHint() const override;
    // Where glyph, caption and arrow go in the current state.
    TButtonParts Parts() const;
    // The glyph the button shows in its current state.
    QImage CurrentGlyph() const;
    // Takes caption, state and image from the action again.
    void ActionChange(bool checkDefaults);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    // Shows the menu at a screen point and returns when it has closed.
    virtual void PopupMenuAt(QMenu* menu, QPoint screenPoint);

private:
    void Release(QPoint pos);
    void Click();
    bool ShowDropDownMenu();
    void NotifyGroup();
    void ButtonPressed(TKvPngButton* sender);
    bool ShownPressed() const;
    QSize CaptionSize() const;
    void PaintFrame(QPainter& painter);
    void PaintCaption(QPainter& painter, const QRect& r);

    bool FAllowAllUp = false;
    TKvPngButtonStyle FButtonStyle = pbsFlat;
    bool FDown = false;
    TKvDownOffsetStyle FDownOffsetStyle = dosRight;
    QPointer<QMenu> FDropDownMenu;
    TPopupAlignment FDropDownAlignment = paLeft;
    QImage FGlyphDisabled;
    QImage FGlyphDown;
    QImage FGlyphHot;
    QImage FGlyphUp;
    bool FGrouped = false;
    bool FImageFromAction = false;
    TButtonLayout FLayout = blGlyphLeft;
    bool FMenuTracking = false;
    int FSpacing = 4;
    bool FTransparent = true;
    QString FCaption;
    QPointer<QAction> FAction;
    TNotifyEvent FOnClick;
    TNotifyEvent FOnDblClick;
    TButtonState FButtonState = bsUp;
};

} // namespace velmora
