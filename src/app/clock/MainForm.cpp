#include "app/clock/MainForm.h"

#include "app/DayWords.h"
#include "app/LangFiles.h"
#include "app/MessageDialog.h"
#include "app/VelmoraApp.h"
#include "app/clock/ClockAccessible.h"
#include "app/clock/ClockAlarm.h"
#include "app/clock/ClockCommands.h"
#include "app/clock/ClockDraw.h"
#include "app/clock/ClockLayering.h"
#include "app/clock/ClockMenu.h"
#include "core/ColorSets.h"
#include "core/KvCommandList.h"
#include "core/KvTimer.h"
#include "core/ScreenPlace.h"
#include "core/TextForms.h"
#include "platform/KernelTickSource.h"
#include "platform/Platform.h"
#include "widgets/KvPaintBox.h"
#include "widgets/KvTrayIcon.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTextStream>
#include <QTimer>
#include <cmath>

namespace velmora {

namespace {
// How long the settings wait after a change before they are written.
constexpr int kSaveDelayMs = 1000;
} // namespace

TMainForm::TMainForm(Platform& platform, const IClock& clock, QString iniFileName, QWidget* parent)
    : TMainForm(platform, clock,
                PortablePathsBeside(iniFileName,
                                    QFileInfo(QCoreApplication::applicationFilePath()).fileName()),
                parent) {}

TMainForm::TMainForm(Platform& platform, const IClock& clock, TProgramPaths paths, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint), FPlatform(platform), FClock(clock),
      FPaths(std::move(paths)), FIniFileName(FPaths.IniFileName) {
    setObjectName(QStringLiteral("MainForm"));
    // The clock never takes the focus by appearing (at start, after a blink, after
    // a full-screen window): only a click or an explicit bring-forward activates
    // it. Set before the native window exists, which reads it once.
    setAttribute(Qt::WA_ShowWithoutActivating);
    InstallClockAccessibility();
    // Before the native window exists: the see-through way is chosen then.
    CreateLayering();
    setWindowTitle(QStringLiteral("MainForm"));
    move(FSettings.Left, FSettings.Top);
    CreateCommands();
    FClockPaintBox = new TKvPaintBox(this);
    FClockTimer = new TKvTimer(this);
    CreateAlarm();
    FormCreate();
}

TMainForm::~TMainForm() {
    // A destructor must not throw. Every timer has stopped first, so the box of a
    // failed save may wait for its answer here.
    try {
        FormDestroy();
    } catch (const std::exception& e) {
        ShowMessageDialog(QString::fromUtf8(e.what()), TMsgDlgType::Error, mbOK);
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
    QFont f(FSettings.FontName);
    if (FSettings.FontSize > 0)
        f.setPointSize(FSettings.FontSize);
    else if (FSettings.FontSize < 0)
        f.setPixelSize(-FSettings.FontSize); // a negative size is a height in pixels
    f.setBold(FSettings.FontStyle & fsBold);
    // No underline or strike-out: the font dialog offers no effects, and a
    // hand-edited file that asks for them is drawn (and named) without them.
    f.setItalic(FSettings.FontStyle & fsItalic);
    return f;
}

void TMainForm::FormCreate() {
    FClockTimer->SetEnabled(false);
    FClockTimer->SetInterval(1000);
    FClockTimer->SetAlignToWallSecond(true);
    // The kernel's timer wakes only this thread, once a second; a worker thread
    // would wake too, to hand each tick over.
    FClockTimer->SetTickSource(CreateKernelTickSource());
    FClockTimer->SetOnTimer([this](TKvTimer*) { ClockTimerTimer(); });
    FSaveTimer.setSingleShot(true);
    FSaveTimer.setInterval(kSaveDelayMs);
    connect(&FSaveTimer, &QTimer::timeout, this, &TMainForm::SaveSettingsNow);
    // Quitting stops every timer before anything else can run: a message box on
    // the way out must not leave the blink or the network check going.
    connect(qApp, &QCoreApplication::aboutToQuit, this, &TMainForm::StopTimers);
    const QString programDir = FPaths.DataDir;
    InitLangDir(programDir, FIniFileName, this);
    // The folder may have moved since the language was chosen.
    SetCurrentLangFile(ResolveStoredPath(CurrentLangFile(), FPaths.OwnFolder));
    const bool langChosen = PrepareLanguageFiles();
    // A folder that could not be made has been reported already; the files that
    // then cannot be written there are the same news.
    const bool folderReported = QDir(LangDir()) == QDir(programDir + QStringLiteral("/"));
    // The default file is written whichever file serves the locale, so that the
    // Language menu offers it from the first start on.
    const std::optional<TIniWriteError> defaultLangError = EnsureDefaultLangFile();
    const QString loadLangError = LoadLangFile();
    const QString langError = defaultLangError ? FileErrorText(*defaultLangError) : loadLangError;
    QString dayError;
    FDayWords = InitDayWords(LangDir(), &dayError);
    if (!folderReported) {
        ReportLangError(langError);
        ReportLangError(dayError);
    }
    BuildBalloonContents();
    LoadSettings();
    if (langChosen) {
        FStoredLangFile.clear(); // the file does not hold the choice yet
        ScheduleSave();
    }
    FAlarm->Reset(FClock.Now().time().msecsSinceStartOfDay() / double(kMsPerDay));
    FCommands->RememberSyncTool();
    CopyColorSet(FRun, FSettings, TColorSet::Normal);
    CreateMenu();
    FMenu->ApplyCaptions();
    // Watched before the first look, so that a host arriving meanwhile is not missed.
    FPlatform.WatchTrayHost([this] { FMenu->TrayIcon1()->TrayHostChanged(); });
    FPlatform.WatchCompositor([this] { FLayering->CompositorChanged(); });
    FMenu->TrayIcon1()->SetVisible(true);
    FClockPaintBox->SetOnPaint(
        [this](TKvPaintBox*, QPainter& canvas) { ClockPaintBoxPaint(canvas); });
    FClockPaintBox->setAttribute(Qt::WA_TransparentForMouseEvents); // presses reach the form
    AdjustMainFormMaxSize(FSettings.FontColorMode);
    ApplyWindowSettings();
    KeepOnScreen();
    for (QScreen* sc : QGuiApplication::screens())
        connect(sc, &QScreen::geometryChanged, this, &TMainForm::KeepOnScreen);
    connect(qApp, &QGuiApplication::screenAdded, this, [this](QScreen* sc) {
        connect(sc, &QScreen::geometryChanged, this, &TMainForm::KeepOnScreen);
        KeepOnScreen();
    });
    connect(qApp, &QGuiApplication::screenRemoved, this, [this] {
        // The screen is still listed while this runs; look once it has gone.
        QMetaObject::invokeMethod(this, &TMainForm::KeepOnScreen, Qt::QueuedConnection);
    });
    FClockTimer->SetEnabled(true);
    FCommands->SetCommandTimingArray();
    FPlatform.WatchResume([this] { FCommands->RunResumeCommands(); });
    FCommands->RunStartupCommands();
}

bool TMainForm::PrepareLanguageFiles() {
    // A missing shipped file only narrows the choice: developer news.
    for (const QString& error : CopyMissingLangFiles(FPaths.ShippedLangDir, LangDir()))
        QTextStream(stderr) << "velmora: " << error << Qt::endl;
    if (HasSavedLangFileName(FIniFileName))
        return false; // the user's choice stands, whatever the locale
    return !ChooseLangFileForLocale(FPlatform.MessageLocale()).isEmpty();
}

void TMainForm::ReportLangError(const QString& error) {
    // The clock goes on with its built-in texts; the user learns why.
    if (!error.isEmpty())
        ShowMessageDialog(error, TMsgDlgType::Error, mbOK, this);
}

void TMainForm::StopTimers() {
    FClockTimer->SetEnabled(false);
    FAlarm->BlinkTimer()->SetEnabled(false);
    FCommands->StopNetworkCheck();
    FSaveTimer.stop();
    FLayering->StopTimers();
}

void TMainForm::FormDestroy() {
    StopTimers();
    FLayering->EndFullScreenWatch();
    FPlatform.StopSound(); // an alarm that sounds ends with the clock
    SaveSettings();
}

void TMainForm::ScheduleSave() {
    FSaveTimer.start();
}

void TMainForm::SaveSettingsNow() {
    // A timer's slot: an error becomes a message, never an exception through the loop.
    try {
        SyncSettingsFromWindow();
        if (!FSaveFailed && QPoint(FSettings.Left, FSettings.Top) == FStoredPlace &&
            CurrentLangFile() == FStoredLangFile)
            return;
        SaveSettings();
    } catch (const std::exception& e) {
        TVelmoraApp::ShowException(UserErrorText(e));
    }
}

void TMainForm::ApplyWindowSettings() {
    setFont(ClockFont());
    FClockPaintBox->setFont(font());
    FPlatform.SetWindowClass(this, QStringLiteral("velmora"), QStringLiteral("TMainForm"));
    FLayering->ApplyStacking();
    FPlatform.MakeToolWindow(this);
}

void TMainForm::CreateLayering() {
    TClockLayering::TWindowSide side;
    side.VisibilityChanged = [this] { ApplyVisibility(); };
    side.SeeThroughChanged = [this] {
        RenderClockImage();
        FClockPaintBox->update();
    };
    FLayering = std::make_unique<TClockLayering>(*this, FSettings, FPlatform, std::move(side));
}

bool TMainForm::UserIsInMenuOrDialog() {
    return QApplication::activePopupWidget() || QApplication::activeModalWidget();
}

void TMainForm::ApplyVisibility() {
    // The blink's dark half waits while the user is in a menu or a dialog: hiding
    // the clock then would take the menu that stops the alarm from under the
    // pointer. The blink goes on once it has closed.
    const bool blinkShown = FAlarm->BlinkShown() || UserIsInMenuOrDialog();
    const bool shown = blinkShown && !FLayering->HiddenForFullScreen();
    if (shown == isVisible())
        return;
    setVisible(shown);
}

void TMainForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    FPlaceKept = false;
    // Some window managers place a new window without telling it where: once it
    // is on the screen, align the toolkit's idea of its place with the real one.
    QTimer::singleShot(300, this, [this] {
        if (const auto real = FPlatform.WindowPosition(this); real && *real != pos() && isVisible())
            move(*real);
    });
    // Window managers may reset the states when the window is mapped.
    FPlatform.MakeToolWindow(this);
    FLayering->WindowShown();
}

void TMainForm::AdjustMainFormMaxSize(TVlmColorMode fontColorMode) {
    // Measured with the font of the path that will draw the text.
    const QFont f =
        fontColorMode == cmGradient ? GradientPathFont(ClockFont(), logicalDpiY()) : ClockFont();
    const QFontMetrics fm(f, this);
    const auto extent = [&fm](const QString& s) {
        return QSize(fm.horizontalAdvance(s), fm.height());
    };
    const QSize text = MeasureClockText(FSettings.ShowDate, FSettings.ShowDayOfTheWeek,
                                        FSettings.ShowSecond, extent, FDayWords, FClock.Now());
    // Never larger than the screen: a clock that does not fit could not be seen
    // whole anyway, and its images would cost memory for nothing.
    const QSize screenSize = screen() ? screen()->geometry().size() : QSize(16384, 16384);
    const QSize size = ScaledWindowSize(text, FSettings.ScalingRateX, FSettings.ScalingRateY)
                           .boundedTo(screenSize);
    setFixedSize(size);
    FClockPaintBox->setGeometry(0, 0, size.width(), size.height());
    // A new look is drawn whole into the kept image; the screen must show all of
    // it now, not only the digits the next tick repaints.
    if (const QRect changed = RenderClockImage(); !changed.isEmpty())
        FClockPaintBox->update(changed);
}

void TMainForm::ClockTimerTimer() {
    if (!FSettings.FormOnTopmost)
        FLayering->KeepOnDesktop();
    // Fixed at this tick's offset from UTC: every later step of the tick (whole
    // seconds, the schedule's gaps, the checks, the text) then works without
    // asking the C library for the time zone again, which re-reads the zone file's
    // status each time. The zone is still read once a tick, so a change of it
    // shows at the next second.
    const QDateTime local = FClock.Now();
    const QDateTime now = local.toOffsetFromUtc(local.offsetFromUtc());
    const std::vector<QDateTime> seconds = FTickSchedule.SecondsToCheck(now);
    for (const QDateTime& t : seconds)
        RunTimeOfDayChecks(t, &t == &seconds.back());
    if (seconds.empty())
        ApplyColorState();
    FClockStr =
        FormatClockText(FSettings.ShowDate, FSettings.ShowDayOfTheWeek, FSettings.ShowSecond,
                        FDayWords, WholeSecond(now), LocaleTimeSeparator(QLocale::system()));
    // Only what changed goes to the screen; a second that changed nothing drawn
    // (no seconds shown) sends nothing.
    if (const QRect changed = RenderClockImage(); !changed.isEmpty())
        FClockPaintBox->repaint(changed);
}

void TMainForm::RunTimeOfDayChecks(const QDateTime& t, bool current) {
    CheckMidnight(t);
    // The alarm is a time window: the current second alone decides.
    if (current) {
        FAlarm->CheckAlarmTime(t);
        ApplyColorState();
    }
    FCommands->RunSpTimeCommands(t);
}

void TMainForm::CheckMidnight(const QDateTime& t) {
    if (t.time() == QTime(0, 0))
        AdjustMainFormMaxSize(FSettings.FontColorMode);
}

void TMainForm::ForceForeground() {
    FLayering->ForceForeground();
}

void TMainForm::ActivateFromOtherInstance() {
    show();
    ForceForeground();
}

TClockDrawState TMainForm::DrawState() const {
    TClockDrawState s;
    s.Text = FClockStr;
    s.Size = FClockPaintBox->size();
    s.FontColorMode = FSettings.FontColorMode == cmGradient ? cmGradient : cmSolid;
    s.Font = s.FontColorMode == cmGradient ? GradientPathFont(font(), logicalDpiY()) : font();
    s.BackgroundColorMode = FSettings.BackgroundColorMode;
    s.FontGradientDirection = FSettings.FontGradientDirection;
    s.BackgroundGradientDirection = FSettings.BackgroundGradientDirection;
    s.FontColor = Resolve(FRun.FontColor);
    s.BackgroundColor = Resolve(FRun.BackgroundColor);
    s.FontStartColor = Resolve(FRun.FontStartColor);
    s.FontEndColor = Resolve(FRun.FontEndColor);
    s.BackgroundStartColor = Resolve(FRun.BackgroundStartColor);
    s.BackgroundEndColor = Resolve(FRun.BackgroundEndColor);
    s.BorderColor = Resolve(FRun.BorderColor);
    s.ShowBorder = FSettings.ShowBorder;
    s.SeeThrough =
        FLayering->BlendedSeeThrough() ? TSeeThrough::Compositor : TSeeThrough::ShapeMask;
    return s;
}

QRect TMainForm::RenderClockImage() {
    const QRect changed = FImage.Update(DrawState());
    FLayering->ApplyLayering(&FImage.Rendered());
    return changed;
}

void TMainForm::ApplyWindowAlpha() {
    FLayering->ApplyLayering(&FImage.Rendered());
}

void TMainForm::ClockPaintBoxPaint(QPainter& canvas) {
    FClockPaintBox->SetD2DEnabled(FSettings.FontColorMode == cmGradient);
    if (FImage.Rendered().Image.size() != FClockPaintBox->size())
        FImage.Update(DrawState()); // a resize between ticks
    canvas.setCompositionMode(QPainter::CompositionMode_Source);
    canvas.drawImage(0, 0, FImage.Rendered().Image);
}

void TMainForm::KeepOnScreen() {
    QList<QRect> screens;
    for (QScreen* sc : QGuiApplication::screens())
        screens << sc->geometry();
    const QPoint p = PlaceOnScreens(frameGeometry(), screens);
    if (p != pos()) {
        move(p);
        FSettings.Left = p.x(); // also when the window is not shown yet
        FSettings.Top = p.y();
    }
}

void TMainForm::mousePressEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton))
        return QWidget::mousePressEvent(event);
    // A press alone moves nothing: a drag begins once the pointer has moved with
    // the button down (a tap that the window manager took for the start of a
    // move would leave the clock following the pointer after the release).
    FPressPos = event->globalPosition().toPoint();
    FPressPlace = FPlatform.WindowPosition(this).value_or(frameGeometry().topLeft());
    FPressed = true;
    FDragging = false;
}

void TMainForm::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton)) {
        FPressed = FDragging = false;
        return;
    }
    const QPoint global = event->globalPosition().toPoint();
    if (FDragging) {
        move(global - FDragOffset);
        return;
    }
    if (FPressed && (global - FPressPos).manhattanLength() >= QApplication::startDragDistance())
        BeginDrag(global);
}

void TMainForm::BeginDrag(const QPoint& global) {
    FPressed = false;
    // Asked of the window system, not of the events read so far: the button
    // may have come up since.
    if (!FPlatform.LeftButtonHeld())
        return;
    if (FPlatform.StartSystemMove(this, FPressPos))
        return;
    // No window manager to move us: follow the pointer ourselves.
    FDragging = true;
    FDragOffset = FPressPos - FPressPlace;
    move(global - FDragOffset);
}

void TMainForm::closeEvent(QCloseEvent* event) {
    // Quitting closes the window first; while the window manager takes it back
    // it may report other places. Keep the one the user saw.
    if (!FPlaceKept)
        RememberPlace();
    FPlaceKept = true;
    QWidget::closeEvent(event);
}

void TMainForm::hideEvent(QHideEvent* event) {
    // Hidden by the alarm blink (or on the way out): remember where it was shown.
    if (!FPlaceKept)
        RememberPlace();
    FPlaceKept = true;
    QWidget::hideEvent(event);
}

void TMainForm::mouseReleaseEvent(QMouseEvent* event) {
    FDragging = false;
    FPressed = false;
    QWidget::mouseReleaseEvent(event);
}

void TMainForm::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    // The end of a drag (by the window manager or by hand) or a rescue onto the
    // screen; a burst of moves is saved once, after the last. Moves to the place
    // already stored (the window manager confirming it) write nothing.
    if (isVisible() && !FPlaceKept && event->pos() != QPoint(FSettings.Left, FSettings.Top))
        ScheduleSave();
}

} // namespace velmora
