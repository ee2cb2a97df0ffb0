// A balloon shown by the program itself, for desktops with neither a tray nor a
// notification service: a small framed window beside the clock that goes away by
// itself after its time-out or when clicked. It never takes the focus and never
// blocks anything.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QTimer>
#include <QWidget>

class QLabel;

namespace velmora {

// Where a balloon of `size` goes beside `anchor` on `screen`: just below it, or
// above it when there is no room below, its right edge lined up with the anchor's
// and wholly on the screen.
QPoint KvBalloonPlace(const QRect& anchor, const QSize& size, const QRect& screen);

class TKvBalloonWindow : public QWidget {
    Q_OBJECT
public:
    explicit TKvBalloonWindow(QWidget* parent = nullptr);

    // Shows `title` and `text` beside `anchor` (or at the top right of the primary
    // screen without one) for `timeoutMs`; a new balloon replaces the one shown.
    void ShowNear(QWidget* anchor, const QString& title, const QString& text, int timeoutMs);
    QString Title() const;
    QString Text() const;

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    QLabel* FTitle = nullptr;
    QLabel* FText = nullptr;
    QTimer FHideTimer;
};

} // namespace velmora
