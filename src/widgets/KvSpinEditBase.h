// What the spin edit and the time spin edit share: a one-line edit with a pair
// of arrow buttons inside its right end, the frame styles, the automatic height,
// the wheel and the context-menu rule. Each control decides what a step is.
#pragma once

#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QRect>
#include <functional>

namespace velmora {

class TKvUpDownButton;

enum TKvSpinStyle { kssSingle = 0, kssNone = 1, kssFlat = 2 };

// Width of the frame each style draws: a sunken two-pixel edge, none, or one flat line.
int KvSpinFrameWidth(TKvSpinStyle style);
// Where the arrow pair sits in an edit of `size`: flush inside the frame at the right end.
QRect KvSpinButtonRect(TKvSpinStyle style, QSize size, int buttonWidth);
// The height an edit needs so that a line of `textHeight` fits inside its frame;
// never lower than `height`.
int KvSpinFittedHeight(TKvSpinStyle style, int height, int textHeight);

class TKvSpinEditBase : public QLineEdit {
public:
    explicit TKvSpinEditBase(QWidget* parent = nullptr);
    ~TKvSpinEditBase() override;

    TKvUpDownButton* UpDownButton() const { return FUpDownButton; }

    TKvSpinStyle SpinStyle() const { return FSpinStyle; }
    void SetSpinStyle(TKvSpinStyle style);
    // Without it (and without a PopupMenu) a right click shows no menu at all.
    bool DefaultContextMenuEnabled() const { return FDefaultContextMenuEnabled; }
    void SetDefaultContextMenuEnabled(bool enabled) { FDefaultContextMenuEnabled = enabled; }
    // A menu shown on a right click instead of the edit's own; not owned.
    QMenu* PopupMenu() const { return FPopupMenu.data(); }
    void SetPopupMenu(QMenu* menu) { FPopupMenu = menu; }
    bool ReadOnly() const { return isReadOnly(); }
    void SetReadOnly(bool readOnly) { setReadOnly(readOnly); }
    // QLineEdit's own cut() and paste() change even a read-only text; these do not.
    void cut() {
        if (!isReadOnly())
            QLineEdit::cut();
    }
    void paste() {
        if (!isReadOnly())
            QLineEdit::paste();
    }
    bool Enabled() const { return isEnabled(); } // the arrow pair follows as a child
    void SetEnabled(bool enabled) { setEnabled(enabled); }

    // OnChange is a plain callback, called after every change of the text, typed
    // or set by the program; setting the same text again does not call it. It is
    // never called once the control is being destroyed.
    void SetOnChange(std::function<void()> handler) { FOnChange = std::move(handler); }

    // One step of the value; both do nothing while the box is read-only.
    virtual void StepUp() = 0;
    virtual void StepDown() = 0;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    // Replaces the text only when it differs, so that OnChange fires once per change.
    void SetTextIfChanged(const QString& text);

    // Whether a mouse event lies on the arrow pair (presses there reach the edit
    // too when a half passes them on); such events are not the edit's.
    bool OnArrows(const QMouseEvent* event) const;

    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void LayoutArrows();
    void FitHeightToFont();
    void PaintFrame();

    TKvUpDownButton* FUpDownButton = nullptr; // child, owned through the Qt parent
    TKvSpinStyle FSpinStyle = kssSingle;
    bool FDefaultContextMenuEnabled = false;
    QPointer<QMenu> FPopupMenu;
    std::function<void()> FOnChange;
};

} // namespace velmora
