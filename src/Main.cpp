#include "Main.h"

#include "App.h"
#include "KvUnits/KvPaintBox.h"
#include "KvUnits/KvTimer.h"
#include "TextForms.h"
#include "VelmoLib.h"
#include "platform/Platform.h"

#include <QFileInfo>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

namespace velmora {

TMainForm::TMainForm(Platform& platform, const IClock& clock, QString iniFileName,
                     QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint), FPlatform(platform), FClock(clock),
      FIniFileName(std::move(iniFileName)) {
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("MainForm"));
    move(Left, Top);
    FClockPaintBox = new TKvPaintBox(this);
    FClockTimer = new TKvTimer(this);
    FormCreate();
}

TMainForm::~TMainForm() {
    // A destructor must not throw: a failed save is reported like any other error.
    try {
        FormDestroy();
    } catch (const std::exception& e) {
        TVelmoraApp::ShowException(QString::fromUtf8(e.what()));
    }
}

TSettingsEnv TMainForm::Env() const {
    TSettingsEnv env;
    const QFont menu = FPlatform.MenuFont();
    env.MenuFontName = menu.family();
    env.MenuFontSize = menu.pointSize() > 0
                           ? menu.pointSize()
                           : int(RoundHalfEven(menu.pixelSize() * 72.0 / logicalDpiY()));
    env.SystemColor = [this](int index) { return FPlatform.SystemColor(index); };
    return env;
}

QColor TMainForm::Resolve(TColor c) const {
    return ColorToQColor(c, [this](int index) { return FPlatform.SystemColor(index); });
}

QFont TMainForm::ClockFont() const {
    QFont f(FontName);
    if (FontSize > 0)
        f.setPointSize(FontSize);
    else if (FontSize < 0)
        f.setPixelSize(-FontSize); // a negative size is a height in pixels
    f.setBold(FontStyle & fsBold);
    f.setItalic(FontStyle & fsItalic);
    f.setUnderline(FontStyle & fsUnderline);
    f.setStrikeOut(FontStyle & fsStrikeOut);
    return f;
}

void TMainForm::FormCreate() {
    FClockTimer->SetEnabled(false);
    FClockTimer->SetInterval(1000);
    FClockTimer->SetAlignToWallSecond(true);
    FClockTimer->SetOnTimer([this](TKvTimer*) { ClockTimerTimer(); });
    LangFileName = QFileInfo(FIniFileName).path() + QStringLiteral("/Lang/") +
                   QStringLiteral("Vlm日本語_かな.lang");
    LoadSettings();
    FontColor = NormalFontColor;
    BackgroundColor = NormalBackgroundColor;
    BorderColor = NormalBorderColor;
    FClockPaintBox->SetOnPaint([this](TKvPaintBox*, QPainter& canvas) { ClockPaintBoxPaint(canvas); });
    FClockPaintBox->setAttribute(Qt::WA_TransparentForMouseEvents); // presses reach the form
    AdjustMainFormMaxSize(FontColorMode);
    ApplyWindowSettings();
    FClockTimer->SetEnabled(true);
}

void TMainForm::FormDestroy() {
    FClockTimer->SetEnabled(false);
    SaveSettings();
}

void TMainForm::ApplyWindowSettings() {
    setFont(ClockFont());
    FClockPaintBox->setFont(font());
    FPlatform.SetWindowClass(this, QStringLiteral("velmora"), QStringLiteral("TMainForm"));
    FPlatform.SetStacking(this, FormOnTopmost ? TStacking::Topmost : TStacking::Bottom);
    FPlatform.MakeToolWindow(this);
}

void TMainForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Window managers may reset the states when the window is mapped.
    FPlatform.MakeToolWindow(this);
}

void TMainForm::AdjustMainFormMaxSize(TVlmColorMode fontColorMode) {
    Q_UNUSED(fontColorMode); // both paths measure with the same font engine
    const QFontMetrics fm(ClockFont(), this);
    const auto extent = [&fm](const QString& s) { return QSize(fm.horizontalAdvance(s), fm.height()); };
    const QSize text = MeasureClockText(ShowDate, ShowDayOfTheWeek, ShowSecond, extent, DayWords,
                                        FClock.Now());
    const QSize size = ScaledWindowSize(text, ScalingRateX, ScalingRateY);
    setFixedSize(size);
    FClockPaintBox->setGeometry(0, 0, size.width(), size.height());
}

void TMainForm::ClockTimerTimer() {
    if (!FormOnTopmost)
        KeepOnDesktop();
    const QDateTime now = FClock.Now();
    const std::vector<QDateTime> seconds = FTickSchedule.SecondsToCheck(now);
    for (const QDateTime& t : seconds)
        RunTimeOfDayChecks(t, &t == &seconds.back());
    if (seconds.empty())
        ApplyColorState();
    FClockStr = FormatClockText(ShowDate, ShowDayOfTheWeek, ShowSecond, DayWords, WholeSecond(now),
                                LocaleTimeSeparator(QLocale::system()));
    FClockPaintBox->repaint();
}

void TMainForm::RunTimeOfDayChecks(const QDateTime& t, bool current) {
    CheckMidnight(t);
    if (current)
        ApplyColorState();
}

void TMainForm::CheckMidnight(const QDateTime& t) {
    if (t.time() == QTime(0, 0))
        AdjustMainFormMaxSize(FontColorMode);
}

void TMainForm::ApplyColorState() {
    FontColor = NormalFontColor;
    BackgroundColor = NormalBackgroundColor;
    BorderColor = NormalBorderColor;
    FontStartColor = NormalFontStartColor;
    FontEndColor = NormalFontEndColor;
    BackgroundStartColor = NormalBackgroundStartColor;
    BackgroundEndColor = NormalBackgroundEndColor;
    FClockPaintBox->SetColor(Resolve(BackgroundColor));
}

void TMainForm::KeepOnDesktop() {
    if (FPlatform.DesktopIsForeground())
        ForceForeground();
}

void TMainForm::ForceForeground() { FPlatform.ForceForeground(this); }

void TMainForm::ActivateFromOtherInstance() {
    show();
    ForceForeground();
}

void TMainForm::ClockPaintBoxPaint(QPainter& canvas) {
    FClockPaintBox->SetD2DEnabled(false);
    DrawClockGdi(canvas, FClockStr);
}

void TMainForm::DrawClockGdi(QPainter& canvas, const QString& text) {
    const QRect r(QPoint(0, 0), FClockPaintBox->size());
    canvas.fillRect(r, Resolve(BackgroundColor));
    canvas.setFont(font());
    canvas.setPen(Resolve(FontColor));
    const QFontMetrics fm(font(), FClockPaintBox);
    const int top = int(RoundHalfEven(height() * 0.125));
    canvas.drawText(QPoint(0, top + fm.ascent()), text);
    DrawBorder(canvas, FontColorMode, ShowBorder);
}

void TMainForm::DrawBorder(QPainter& canvas, TVlmColorMode, bool show) {
    if (!show)
        return;
    const QRect r(QPoint(0, 0), FClockPaintBox->size());
    canvas.setPen(Qt::NoPen);
    canvas.setBrush(Resolve(BorderColor));
    // A one-pixel frame on the outermost rows and columns.
    canvas.drawRect(QRect(r.left(), r.top(), r.width(), 1));
    canvas.drawRect(QRect(r.left(), r.bottom(), r.width(), 1));
    canvas.drawRect(QRect(r.left(), r.top(), 1, r.height()));
    canvas.drawRect(QRect(r.right(), r.top(), 1, r.height()));
}

void TMainForm::mousePressEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton))
        return QWidget::mousePressEvent(event);
    if (!FPlatform.StartSystemMove(this)) {
        // No window manager to move us: follow the pointer ourselves.
        FDragging = true;
        FDragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
    }
}

void TMainForm::mouseMoveEvent(QMouseEvent* event) {
    if (FDragging && (event->buttons() & Qt::LeftButton))
        move(event->globalPosition().toPoint() - FDragOffset);
}

void TMainForm::mouseReleaseEvent(QMouseEvent* event) {
    FDragging = false;
    QWidget::mouseReleaseEvent(event);
}

} // namespace velmora
