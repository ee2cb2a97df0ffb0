#include "widgets/KvBalloonWindow.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

namespace velmora {

namespace {
constexpr int kGap = 4;
constexpr int kMaxTextWidth = 320;
} // namespace

QPoint KvBalloonPlace(const QRect& anchor, const QSize& size, const QRect& screen) {
    int x = anchor.right() + 1 - size.width();
    int y = anchor.bottom() + 1 + kGap;
    if (y + size.height() > screen.bottom() + 1)
        y = anchor.top() - kGap - size.height();
    x = std::max(screen.left(), std::min(x, screen.right() + 1 - size.width()));
    y = std::max(screen.top(), std::min(y, screen.bottom() + 1 - size.height()));
    return {x, y};
}

TKvBalloonWindow::TKvBalloonWindow(QWidget* parent)
    : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("KvBalloonWindow"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowTitle(QStringLiteral("KvBalloonWindow"));
    setAutoFillBackground(true);
    setPalette(QPalette(QPalette().color(QPalette::ToolTipBase)));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 8, 10, 8);
    FTitle = new QLabel(this);
    QFont bold = FTitle->font();
    bold.setBold(true);
    FTitle->setFont(bold);
    FText = new QLabel(this);
    FText->setWordWrap(true);
    for (QLabel* l : {FTitle, FText}) {
        l->setTextFormat(Qt::PlainText);
        l->setMaximumWidth(kMaxTextWidth);
        layout->addWidget(l);
    }
    FHideTimer.setSingleShot(true);
    connect(&FHideTimer, &QTimer::timeout, this, &QWidget::hide);
}

void TKvBalloonWindow::ShowNear(QWidget* anchor, const QString& title, const QString& text,
                                int timeoutMs) {
    FTitle->setText(title);
    FTitle->setVisible(!title.isEmpty());
    FText->setText(text);
    adjustSize();
    QScreen* screen = anchor ? anchor->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const QRect at = anchor && anchor->isVisible()
                         ? anchor->frameGeometry()
                         : QRect(area.right() - kGap, area.top(), kGap, 0);
    move(KvBalloonPlace(at, size(), area));
    show();
    FHideTimer.start(timeoutMs);
}

QString TKvBalloonWindow::Title() const {
    return FTitle->text();
}

QString TKvBalloonWindow::Text() const {
    return FText->text();
}

void TKvBalloonWindow::mousePressEvent(QMouseEvent*) {
    FHideTimer.stop();
    hide();
}

} // namespace velmora
