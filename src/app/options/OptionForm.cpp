#include "app/options/OptionForm.h"

#include "app/AppResources.h"
#include "app/LangFiles.h"
#include "app/clock/MainForm.h"
#include "app/options/ColorPanel.h"
#include "app/options/OptionAlarmPage.h"
#include "app/options/OptionBalloonPage.h"
#include "app/options/OptionCommandPage.h"
#include "app/options/OptionControls.h"
#include "app/options/OptionFontPage.h"
#include "app/options/OptionHost.h"
#include "app/options/OptionTextPage.h"
#include "app/options/OptionWindowPage.h"
#include "core/IniDocument.h"
#include "platform/Platform.h"
#include "widgets/KvEdit.h"
#include "widgets/KvPngButton.h"
#include "widgets/KvTabSet.h"

#include <QCloseEvent>
#include <QColorDialog>
#include <QCursor>
#include <QFile>
#include <QFileDialog>
#include <QFontDialog>
#include <QGuiApplication>
#include <QMoveEvent>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollArea>
#include <QStackedWidget>
#include <QStyle>
#include <QWindow>
#include <algorithm>
#include <cmath>

namespace velmora {

namespace {

constexpr int kClientWidth = 541;
constexpr int kClientHeight = 533;
constexpr int kTabSetWidth = 132;
constexpr int kBottomHeight = 37;

const char* const kTabKeys[TOptionForm::kPageCount] = {
    "OptionTabSet.Tabs[0].Caption", "OptionTabSet.Tabs[1].Caption", "OptionTabSet.Tabs[2].Caption",
    "OptionTabSet.Tabs[3].Caption", "OptionTabSet.Tabs[4].Caption", "OptionTabSet.Tabs[5].Caption"};

TOptionForm::TDialogRunners RealDialogs() {
    TOptionForm::TDialogRunners d;
    d.Color = [](QColorDialog& dialog) -> std::optional<QColor> {
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.selectedColor();
    };
    d.Font = [](QFontDialog& dialog) -> std::optional<QFont> {
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.selectedFont();
    };
    d.OpenFile = [](QFileDialog& dialog) -> std::optional<QString> {
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        return dialog.selectedFiles().first();
    };
    return d;
}

} // namespace

TOptionForm::TOptionForm(IOptionHost& host, QWidget* parent) : QDialog(parent), FHost(host) {
    Dialogs = RealDialogs();
    setObjectName(QStringLiteral("OptionForm"));
    FScale = logicalDpiX() / 96.0;
    FormCreate();
}

TOptionForm::~TOptionForm() = default;

int TOptionForm::Scaled(int pixels) const {
    return int(std::nearbyint(pixels * FScale));
}

void TOptionForm::Place(QWidget* control, int x, int y, int width, int height) const {
    control->setGeometry(Scaled(x), Scaled(y), Scaled(width), Scaled(height));
}

TColorPanel* TOptionForm::NewColorPanel(QWidget* parent, const char* name, int x, int y) const {
    auto* p = new TColorPanel(QLatin1String(name), parent, FScale);
    p->move(Scaled(x), Scaled(y));
    return p;
}

void TOptionForm::FormCreate() {
    // A fixed dialog border with only a close box; no parent, so it keeps its
    // own entry in the task bar. A plain window type would make the window
    // manager add the minimise and maximise buttons, and the customize hint
    // keeps the toolkit from adding its default buttons back.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(DesignSize());
    setWindowTitle(FallbackText(QStringLiteral("OptionForm.Caption")));
    // The tab set and the pages keep their design size; on a screen too small
    // for the dialog they scroll above the bottom bar, which stays in view.
    PageScroller = new QScrollArea(this);
    PageScroller->setObjectName(QStringLiteral("PageScroller"));
    PageScroller->setFrameShape(QFrame::NoFrame);
    PageScroller->setWidgetResizable(false);
    // Only the controls take the focus: a click on a page's free space or on a
    // control that keeps no focus (the arrow buttons) leaves it where it was.
    PageScroller->setFocusPolicy(Qt::NoFocus);
    PageArea = new QWidget;
    PageArea->setObjectName(QStringLiteral("PageArea"));
    PageArea->setFixedSize(Scaled(kClientWidth), Scaled(kClientHeight - kBottomHeight));
    PageScroller->setWidget(PageArea); // the scroller owns it from here
    CreateTabSet();
    OptionPageControl = new QStackedWidget(PageArea);
    OptionPageControl->setObjectName(QStringLiteral("OptionPageControl"));
    OptionPageControl->setGeometry(Scaled(kTabSetWidth), 0,
                                   PageArea->width() - Scaled(kTabSetWidth), PageArea->height());
    FPages = {new TOptionTextPage(FHost, *this, OptionPageControl),
              new TOptionFontPage(FHost, *this, OptionPageControl),
              new TOptionWindowPage(FHost, *this, OptionPageControl),
              new TOptionBalloonPage(FHost, *this, OptionPageControl),
              new TOptionAlarmPage(FHost, *this, OptionPageControl),
              new TOptionCommandPage(FHost, *this, OptionPageControl)};
    for (int i = 0; i < kPageCount; ++i) {
        if (FPages[i]->objectName().isEmpty())
            FPages[i]->setObjectName(QStringLiteral("TabSheet%1").arg(i + 1));
        OptionPageControl->addWidget(FPages[i]);
    }
    CreateBottomBar();
    LayOutFrame();
}

QSize TOptionForm::DesignSize() const {
    return {Scaled(kClientWidth), Scaled(kClientHeight)};
}

void TOptionForm::LayOutFrame() {
    const int bottom = Scaled(kBottomHeight);
    PageScroller->setGeometry(0, 0, width(), height() - bottom);
    BottomPanel->setGeometry(0, height() - bottom, width(), bottom);
    // The save button keeps its distance from the right edge; the shortcut
    // button gives way to it on a narrow dialog.
    const int saveX = std::max(Scaled(8), width() - Scaled(kClientWidth - 344));
    SaveSettingsButton->setGeometry(saveX, Scaled(6), Scaled(189), Scaled(21));
    ShortcutSpeedButton->setGeometry(Scaled(8), Scaled(8),
                                     std::clamp(saveX - Scaled(16), 0, Scaled(273)), Scaled(21));
}

void TOptionForm::FitInto(const QRect& available, const QMargins& frame) {
    const QSize room(available.width() - frame.left() - frame.right(),
                     available.height() - frame.top() - frame.bottom());
    const QSize least(Scaled(kTabSetWidth), Scaled(kBottomHeight) * 2);
    // Where the pages have to scroll one way, their scroll bar takes room the
    // other way: give it that room where the screen has it, so that only one
    // scroll bar shows.
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    QSize wanted = DesignSize();
    if (room.height() < wanted.height())
        wanted.rwidth() += bar;
    if (room.width() < wanted.width())
        wanted.rheight() += bar;
    const QSize size = wanted.boundedTo(room).expandedTo(least);
    if (size != this->size())
        setFixedSize(size); // still a fixed frame: no resizing, no maximise box
    LayOutFrame();
}

QScreen* TOptionForm::TargetScreen() const {
    // Where the dialog will be centred: the screen under the pointer, as the
    // toolkit centres a dialog without a parent.
    if (QScreen* s = QGuiApplication::screenAt(QCursor::pos()))
        return s;
    return screen();
}

QMargins TOptionForm::FrameEstimate() const {
    if (const QWindow* w = windowHandle(); w && !w->frameMargins().isNull())
        return w->frameMargins();
    // Not framed yet: a title bar and thin borders, checked again once framed.
    const int border = 4;
    const int title = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
    return {border, title + border, border, border};
}

void TOptionForm::setVisible(bool visible) {
    if (visible && !FShown) {
        if (const QScreen* s = TargetScreen())
            FitInto(s->availableGeometry(), FrameEstimate());
        FFramePending = true;
    }
    QDialog::setVisible(visible);
}

void TOptionForm::moveEvent(QMoveEvent* event) {
    QDialog::moveEvent(event);
    const QWindow* w = windowHandle();
    if (FFramePending && w && !w->frameMargins().isNull()) {
        FFramePending = false;
        KeepWhollyOnScreen();
    }
}

void TOptionForm::KeepWhollyOnScreen() {
    const QScreen* s = screen();
    if (!s)
        return;
    const QRect available = s->availableGeometry();
    FitInto(available, FrameEstimate());
    const QRect outer = frameGeometry();
    const int x = std::clamp(outer.left(), available.left(),
                             std::max(available.left(), available.right() + 1 - outer.width()));
    const int y = std::clamp(outer.top(), available.top(),
                             std::max(available.top(), available.bottom() + 1 - outer.height()));
    if (QPoint(x, y) != outer.topLeft())
        move(x, y);
}

void TOptionForm::CreateTabSet() {
    auto* host = new QWidget(PageArea);
    host->setObjectName(QStringLiteral("OptionTabSetHost"));
    host->setGeometry(0, 0, Scaled(kTabSetWidth), PageArea->height());
    OptionTabSet = new TKvTabSet(host);
    OptionTabSet->setObjectName(QStringLiteral("OptionTabSet"));
    OptionTabSet->TabOptions().SetTabPosition(tpLeft);
    OptionTabSet->SetOnTabAdding([](TKvTabSet*, TKvTab*, bool& asSelected) { asSelected = false; });
    for (const char* key : kTabKeys)
        OptionTabSet->AddTab(FallbackText(QLatin1String(key)));
    OptionTabSet->SetOnTabAdding(nullptr);
    OptionTabSet->SetOnTabSelected(
        [this](TKvTabSet*, TKvTab* tab, bool selected) { OptionTabSetTabSelected(tab, selected); });
}

void TOptionForm::CreateBottomBar() {
    BottomPanel = new QWidget(this);
    BottomPanel->setObjectName(QStringLiteral("BottomPanel"));
    BottomPanel->setGeometry(0, height() - Scaled(kBottomHeight), width(), Scaled(kBottomHeight));
    ShortcutSpeedButton = new TKvPngButton(BottomPanel);
    ShortcutSpeedButton->setObjectName(QStringLiteral("ShortcutSpeedButton"));
    ShortcutSpeedButton->SetAction(FHost.CreateShortcutAction());
    RegisterAppResources();
    QFile glyph(QStringLiteral(":/app/velmora16.png"));
    if (glyph.open(QIODevice::ReadOnly))
        ShortcutSpeedButton->SetGlyphUp(glyph.readAll());
    SaveSettingsButton = new QPushButton(BottomPanel);
    SaveSettingsButton->setObjectName(QStringLiteral("SaveSettingsButton"));
    SaveSettingsButton->setText(FallbackText(QStringLiteral("SaveSettingsButton.Caption")));
    SaveSettingsButton->setDefault(true);
    connect(SaveSettingsButton, &QPushButton::clicked, this, &TOptionForm::SaveSettingsButtonClick);
}

void TOptionForm::showEvent(QShowEvent* event) {
    if (!FShown)
        FormShow();
    QDialog::showEvent(event);
}

void TOptionForm::FormShow() {
    if (FShown)
        return;
    FShown = true;
    setFont(FHost.GetPlatform().MenuFont());
    ApplyLangToOptionForm();
    OptionTabSet->SetAllowDragTab(false);
    OptionTabSet->SetShowFocus(false);
    TTabOptions& o = OptionTabSet->TabOptions();
    o.SetTabPosition(tpLeft);
    o.SetTabWidth(Scaled(130));
    o.SetTabHeight(Scaled(28));
    o.SetTabCloseFigure(false);
    o.AdjustDefaultColors();
    o.SetTabLeftMargin(8);
    for (TOptionPage* page : FPages)
        page->LoadFromMain();
    LoadOptionFormState();
    OptionTabSet->SetTabIndex(ActivePageIndex());
}

void TOptionForm::ApplyLangToOptionForm() {
    static const QRegularExpression tabKey(
        QStringLiteral("^OptionTabSet\\.Tabs\\[(\\d+)\\]\\.Caption$"));
    for (const TCaption& c : LoadOptionFormTexts()) {
        if (const auto m = tabKey.match(c.Key); m.hasMatch()) {
            const int i = m.captured(1).toInt();
            if (i < OptionTabSet->Tabs().Count())
                OptionTabSet->Tabs()[i]->SetCaption(c.Text);
            continue;
        }
        ApplyFormCaption(this, c);
    }
    for (TOptionPage* page : FPages)
        page->ApplyLang();
}

void TOptionForm::AlarmStateChanged() {
    for (TOptionPage* page : FPages)
        page->AlarmStateChanged();
}

void TOptionForm::NotifySettingsChanged(TOptionPage* from) {
    for (TOptionPage* page : FPages)
        if (page != from)
            page->MainSettingsChanged();
}

int TOptionForm::ActivePageIndex() const {
    return OptionPageControl->currentIndex();
}

void TOptionForm::SetActivePageIndex(int index) {
    OptionPageControl->setCurrentIndex(index >= 0 && index < kPageCount ? index : 0);
}

void TOptionForm::OptionTabSetTabSelected(TKvTab* tab, bool selected) {
    if (selected && tab)
        SetActivePageIndex(tab->Index());
}

namespace {

// A settings file that cannot be read, or is not yet in this program's form,
// is left to the clock's own save, which keeps it or a copy of it.
bool WritableSettings(const IniDocument& doc) {
    return doc.ReadError().isEmpty() && !doc.ForeignEncoding();
}

} // namespace

void TOptionForm::LoadOptionFormState() {
    const IniDocument doc(FHost.IniFileName());
    TOptionFormState state;
    LoadOptionFormStateFrom(doc, state);
    SetActivePageIndex(state.ActivePageIndex);
    for (TOptionPage* page : FPages)
        page->LoadState(state);
}

void TOptionForm::SaveOptionFormState() {
    IniDocument doc(FHost.IniFileName());
    if (!WritableSettings(doc))
        return;
    TOptionFormState state;
    LoadOptionFormStateFrom(doc, state); // a page that keeps nothing leaves its part
    state.ActivePageIndex = ActivePageIndex();
    for (TOptionPage* page : FPages)
        page->SaveState(state);
    SaveOptionFormStateTo(doc, state);
    doc.UpdateFile();
}

void TOptionForm::CommitEdits() {
    for (TOptionPage* page : FPages)
        page->CommitEdits();
}

bool TOptionForm::FormCloseQuery() {
    for (TOptionPage* page : FPages)
        if (!page->CanClose())
            return false;
    return true;
}

void TOptionForm::FormClose() {
    KvSwitchInputMethodOff(this);
    setResult(QDialog::Accepted);
}

bool TOptionForm::CloseWithOk() {
    CommitEdits();
    if (!FormCloseQuery())
        return false;
    FormClose();
    done(QDialog::Accepted);
    return true;
}

void TOptionForm::SaveSettingsButtonClick() {
    CloseWithOk();
}

void TOptionForm::closeEvent(QCloseEvent* event) {
    // The close box keeps every change like the save button, the edit box that
    // has the focus included.
    if (!isVisible() || CloseWithOk())
        event->accept();
    else
        event->ignore();
}

} // namespace velmora
