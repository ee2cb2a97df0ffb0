#include "app/about/AboutForm.h"

#include "app/AppResources.h"
#include "app/Credits.h"
#include "app/LangFiles.h"
#include "app/about/AboutLogic.h"
#include "core/KvVersionInfo.h"
#include "platform/Platform.h"
#include "widgets/KvPng.h"
#include "widgets/KvSpacer.h"

#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <cstdio>

namespace velmora {

namespace {

// Window text colour of the system's menu font.
constexpr int kColorMenuText = 7;
constexpr int kColorBtnFace = 15;
// Labels taller than this are moved so that their text sits where a 12-pixel
// line would.
constexpr int kLabelLineHeight = 12;

QLabel* NewLabel(QWidget* parent, const char* name, QPoint at) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->move(at);
    label->setTextFormat(Qt::PlainText);
    return label;
}

// An auto-sized label: as wide as its text, as tall as its font's line.
void FitLabel(QLabel* label) {
    const QFontMetrics fm(label->font());
    label->resize(fm.horizontalAdvance(label->text()) + 1, fm.height());
}

bool EntersTheBox(const QFocusEvent& e) {
    return e.reason() != Qt::ActiveWindowFocusReason && e.reason() != Qt::PopupFocusReason;
}

void SetTextColor(QWidget* w, const QColor& c) {
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, c);
    w->setPalette(p);
}

} // namespace

TAboutForm::TAboutForm(Platform& platform, QString executable, QWidget* parent)
    : QDialog(parent), FPlatform(platform),
      FExecutable(executable.isEmpty() ? RunningExecutableName() : std::move(executable)) {
    setObjectName(QStringLiteral("AboutForm"));
    // A window of its own with a taskbar entry, not a transient of the clock.
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(382, 206);

    TitleLabel = NewLabel(this, "TitleLabel", {8, 8});
    IconImage = NewLabel(this, "IconImage", {8, 36});
    IconImage->resize(48, 48);
    IconImage->setAlignment(Qt::AlignCenter);
    RegisterAppResources();
    QString why;
    const QImage icon = KvLoadPng(QStringLiteral(":/app/velmora48.png"), &why);
    if (icon.isNull())
        std::fprintf(stderr, "velmora: about dialog icon: %s\n", qPrintable(why));
    else
        IconImage->setPixmap(QPixmap::fromImage(icon));

    VSpacer = new TKvSpacer(this);
    VSpacer->setObjectName(QStringLiteral("VSpacer"));
    VSpacer->SetLineDirection(ldVertical);
    VSpacer->SetLineShape(lsSingle);
    VSpacer->setGeometry(60, 34, 10, 166);

    VersionLabel = NewLabel(this, "VersionLabel", {74, 36});
    AuthorLabel = NewLabel(this, "AuthorLabel", {74, 56});
    WebSiteLabel = NewLabel(this, "WebSiteLabel", {74, 76});
    WebSiteLabel->installEventFilter(this);
    WebSiteLabel->setAttribute(Qt::WA_Hover);

    OKButton = new QPushButton(this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setGeometry(284, 68, 90, 21);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    HSpacer = new TKvSpacer(this);
    HSpacer->setObjectName(QStringLiteral("HSpacer"));
    HSpacer->SetLineDirection(ldHorizontal);
    HSpacer->SetLineShape(lsSingle);
    HSpacer->setGeometry(30, 94, 346, 5);

    CreditMemo = new QPlainTextEdit(this);
    CreditMemo->setObjectName(QStringLiteral("CreditMemo"));
    CreditMemo->setGeometry(74, 106, 300, 92);
    CreditMemo->installEventFilter(this);
    CreditMemo->viewport()->installEventFilter(this);

    FormCreate();
}

void TAboutForm::FormCreate() {
    // OK is both the default button (Enter) and the cancel button (Escape).
    OKButton->setDefault(true);
    OKButton->setAutoDefault(true);

    CreditMemo->setFrameShape(QFrame::NoFrame);
    CreditMemo->setAttribute(Qt::WA_InputMethodEnabled, false);
    QPalette p = CreditMemo->palette();
    p.setColor(QPalette::Base, FPlatform.SystemColor(kColorBtnFace));
    CreditMemo->setPalette(p);
    CreditMemo->setReadOnly(true);
    CreditMemo->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    CreditMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    CreditMemo->setTabChangesFocus(true);
    CreditMemo->clear();

    FIEAnchorColor = GetIEAnchorColor();
}

TColor TAboutForm::GetIEAnchorColor() const {
    const QString text = FPlatform.AnchorColorText();
    return ParseAnchorColor(text.isNull() ? QStringLiteral("0,0,255") : text);
}

void TAboutForm::showEvent(QShowEvent* event) {
    if (!FShown) {
        FShown = true;
        FormShow();
        if (const QScreen* s = screen())
            move(s->availableGeometry().center() - rect().center());
    }
    QDialog::showEvent(event);
}

void TAboutForm::FormShow() {
    setFont(FPlatform.MenuFont());
    SetTextColor(WebSiteLabel, FPlatform.SystemColor(kColorMenuText));
    ApplyTexts();
    CreditMemo->appendPlainText(CarriedLibrariesText());
    QFont title = TitleLabel->font();
    title.setPointSizeF(title.pointSizeF() + 1);
    TitleLabel->setFont(title);
    for (QLabel* l : findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly))
        if (l != IconImage)
            FitLabel(l);
    AdjustLabelTops();
    VersionLabel->setText(VersionText());
    VersionLabel->resize(
        QFontMetrics(VersionLabel->font()).horizontalAdvance(VersionLabel->text()) + 1,
        VersionLabel->height());
    CreditMemo->moveCursor(QTextCursor::Start);
}

QString TAboutForm::CarriedLibrariesText() {
    const TSoundLibraryVersions sound = FPlatform.SoundLibraryVersions();
    return CreditLines(CarriedLibraries(sound.Sdl, sound.Mixer)).join(QLatin1Char('\n'));
}

void TAboutForm::ApplyTexts() {
    for (const TCaption& c : LoadAboutFormTexts()) {
        if (c.Key == QLatin1String("AboutForm.Caption"))
            setWindowTitle(c.Text);
        else if (c.Key == QLatin1String("TitleLabel.Caption"))
            TitleLabel->setText(c.Text);
        else if (c.Key == QLatin1String("AuthorLabel.Caption"))
            AuthorLabel->setText(c.Text);
        else if (c.Key == QLatin1String("WebSiteLabel.Caption"))
            WebSiteLabel->setText(c.Text);
        else if (c.Key == QLatin1String("CreditMemo.Text"))
            CreditMemo->setPlainText(c.Text);
    }
    const QString ok = Messages().ButtonCaptionOK;
    OKButton->setText(ok.isEmpty() ? FallbackText(QStringLiteral("ButtonCaptionOK")) : ok);
}

QString TAboutForm::VersionText() const {
    try {
        return TKvVersionInfo(FExecutable).GetProductVersionStr(0);
    } catch (const TKvVersionInfoError& e) {
        // Shown where the version would be, so the user learns why it is missing.
        std::fprintf(stderr, "velmora: version of %s: %s\n", qPrintable(FExecutable), e.what());
        return QString::fromUtf8(e.what());
    }
}

void TAboutForm::AdjustLabelTops() {
    for (QLabel* l : findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly)) {
        // The icon is an image, not a line of text.
        if (l == IconImage || l->height() <= kLabelLineHeight)
            continue;
        const int textHeight = QFontMetrics(l->font()).height();
        l->move(l->x(), l->y() + TextTopMargin(kLabelLineHeight, textHeight));
    }
}

void TAboutForm::keyPressEvent(QKeyEvent* event) {
    // Escape closes as OK does (QDialog would reject).
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        OKButton->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TAboutForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == WebSiteLabel) {
        switch (event->type()) {
        case QEvent::Enter:
            WebSiteLabelMouseEnter();
            break;
        case QEvent::Leave:
            WebSiteLabelMouseLeave();
            break;
        case QEvent::MouseButtonRelease:
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
                WebSiteLabel->rect().contains(
                    static_cast<QMouseEvent*>(event)->position().toPoint()))
                WebSiteLabelClick(watched);
            break;
        default:
            break;
        }
        return false;
    }
    if (watched == CreditMemo || watched == CreditMemo->viewport()) {
        switch (event->type()) {
        case QEvent::ContextMenu:
            event->accept(); // handled: no menu
            return true;
        case QEvent::FocusIn:
            // The box taking the focus, not the window getting it back (or a menu
            // closing): the user's selection stays when they come back.
            if (watched == CreditMemo && EntersTheBox(*static_cast<QFocusEvent*>(event)))
                CreditMemoEnter();
            return false;
        case QEvent::KeyPress:
            return watched == CreditMemo && CreditMemoKeyDown(static_cast<QKeyEvent*>(event));
        default:
            return false;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TAboutForm::WebSiteLabelClick(QObject* sender) {
    if (sender != WebSiteLabel)
        return;
    QString why;
    if (!FPlatform.OpenUrl(kMakerWebSite, &why)) // not reported to the user
        std::fprintf(stderr, "velmora: %s\n", qPrintable(why));
}

void TAboutForm::WebSiteLabelMouseEnter() {
    WebSiteLabel->setCursor(Qt::PointingHandCursor);
    SetTextColor(WebSiteLabel, ColorToQColor(FIEAnchorColor, [this](int index) {
                     return FPlatform.SystemColor(index);
                 }));
    QFont f = WebSiteLabel->font();
    f.setUnderline(true);
    WebSiteLabel->setFont(f);
    WebSiteLabel->setToolTip(kMakerWebSite);
}

void TAboutForm::WebSiteLabelMouseLeave() {
    WebSiteLabel->unsetCursor();
    SetTextColor(WebSiteLabel, FPlatform.SystemColor(kColorMenuText));
    QFont f = WebSiteLabel->font();
    f.setUnderline(false);
    WebSiteLabel->setFont(f);
    WebSiteLabel->setToolTip(QString());
}

void TAboutForm::CreditMemoEnter() {
    CreditMemo->selectAll();
}

bool TAboutForm::CreditMemoKeyDown(QKeyEvent* event) {
    const Qt::KeyboardModifiers mods =
        event->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
    if (event->key() == Qt::Key_A && mods == Qt::ControlModifier) {
        CreditMemo->selectAll();
        return true;
    }
    // Enter does not go into the box: it reaches the dialog's default button.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        OKButton->click();
        return true;
    }
    return false;
}

} // namespace velmora
