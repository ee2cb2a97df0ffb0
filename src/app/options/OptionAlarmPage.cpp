#include "app/options/OptionAlarmPage.h"

#include "app/LangFiles.h"
#include "app/MessageDialog.h"
#include "app/clock/MainForm.h"
#include "app/options/ColorPanel.h"
#include "app/options/OptionControls.h"
#include "app/options/OptionForm.h"
#include "app/options/OptionHelpers.h"
#include "app/options/OptionHost.h"
#include "core/AlarmLogic.h"
#include "widgets/KvEdit.h"
#include "widgets/KvTimeSpinEdit.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace velmora {

namespace {

constexpr double kOneMinute = 1.0 / 1440.0;
constexpr int kGradientLabelShift = 56;
const QString kSoundFilter = QStringLiteral("Sound Files (*.mp3; *.wav)|*.mp3;*.wav");

} // namespace

QString CutToLength(const QString& text, int limit) {
    if (text.size() <= limit)
        return text;
    int n = limit;
    // Half a character is no character: the pair goes whole or not at all.
    if (n > 0 && text[n - 1].isHighSurrogate() && text[n].isLowSurrogate())
        --n;
    return text.left(n);
}

TOptionAlarmPage::TOptionAlarmPage(IOptionHost& host, TOptionForm& form, QWidget* parent)
    : TOptionPage(host, form, parent) {
    setObjectName(QStringLiteral("TabSheet5"));
    const auto at = [&form](QWidget* w, int x, int y, int width, int height) {
        form.Place(w, x, y, width, height);
    };
    const auto panel = [&form](QWidget* parent, const char* name, int x, int y) {
        return form.NewColorPanel(parent, name, x, y);
    };
    GroupBox501 = NewControl<QGroupBox>(this, "GroupBox501");
    at(GroupBox501, 8, 8, 393, 58);
    CheckBox501 = NewControl<QCheckBox>(GroupBox501, "CheckBox501");
    at(CheckBox501, 16, 26, 260, 20);
    TimeSpinEdit501 = NewControl<TKvTimeSpinEdit>(GroupBox501, "TimeSpinEdit501");
    at(TimeSpinEdit501, 292, 24, 85, 23);

    GroupBox502 = NewControl<QGroupBox>(this, "GroupBox502");
    at(GroupBox502, 8, 72, 393, 292);
    CheckBox502 = NewControl<QCheckBox>(GroupBox502, "CheckBox502");
    at(CheckBox502, 16, 22, 361, 20);
    CheckBox503 = NewControl<QCheckBox>(GroupBox502, "CheckBox503");
    at(CheckBox503, 16, 46, 361, 20);
    Panel501 = panel(GroupBox502, "Panel501", 16, 72);
    Panel502 = panel(GroupBox502, "Panel502", 16, 72);
    Panel503 = panel(GroupBox502, "Panel503", 72, 72);
    Label501 = NewControl<QLabel>(GroupBox502, "Label501");
    at(Label501, 128, 73, 240, 18);
    Panel504 = panel(GroupBox502, "Panel504", 16, 100);
    Panel505 = panel(GroupBox502, "Panel505", 16, 100);
    Panel506 = panel(GroupBox502, "Panel506", 72, 100);
    Label502 = NewControl<QLabel>(GroupBox502, "Label502");
    at(Label502, 128, 101, 240, 18);
    Panel507 = panel(GroupBox502, "Panel507", 16, 128);
    Label503 = NewControl<QLabel>(GroupBox502, "Label503");
    at(Label503, 72, 129, 240, 18);
    CheckBox504 = NewControl<QCheckBox>(GroupBox502, "CheckBox504");
    at(CheckBox504, 16, 156, 361, 20);
    Label504 = NewControl<QLabel>(GroupBox502, "Label504");
    at(Label504, 34, 180, 343, 18);
    Edit501 = NewControl<TKvEdit>(GroupBox502, "Edit501");
    at(Edit501, 34, 200, 343, 23);
    CheckBox505 = NewControl<QCheckBox>(GroupBox502, "CheckBox505");
    at(CheckBox505, 16, 232, 361, 20);
    Edit502 = NewControl<TKvEdit>(GroupBox502, "Edit502");
    at(Edit502, 34, 256, 256, 23);
    Button501 = NewControl<QPushButton>(GroupBox502, "Button501");
    at(Button501, 296, 255, 81, 25);
    Button502 = NewControl<QPushButton>(this, "Button502");
    at(Button502, 8, 372, 200, 26);
    // Not the dialog's default button: Enter in an edit box saves and closes.
    Button502->setAutoDefault(false);
    Button501->setAutoDefault(false);
    FButtonCaption = LangTestCaption();

    Image501 = Panel504->Image(QStringLiteral("Image501"));
    Image501->setPixmap(TransparentMarkPixmap(Image501->size()));
    Image502 = Panel507->Image(QStringLiteral("Image502"));
    Image502->setPixmap(NoBorderMarkPixmap(Image502->size()));

    connect(CheckBox501, &QCheckBox::toggled, this, [this] { CheckBox501Click(); });
    TimeSpinEdit501->SetOnChange([this] { TimeSpinEdit501Change(); });
    connect(CheckBox502, &QCheckBox::toggled, this, [this] { CheckBox502Click(); });
    connect(CheckBox503, &QCheckBox::toggled, this, [this] { CheckBox503Click(); });
    connect(CheckBox504, &QCheckBox::toggled, this, [this] { CheckBox504Click(); });
    connect(CheckBox505, &QCheckBox::toggled, this, [this] { CheckBox505Click(); });
    connect(Edit501, &QLineEdit::textChanged, this, [this] { Edit501Change(); });
    Edit501->SetOnExit([this](QObject*) { Edit501Exit(); });
    Edit502->SetOnExit([this](QObject*) { Edit502Exit(); });
    // The whole text as a tooltip: the box is narrower than a long message or path.
    for (TKvEdit* e : {Edit501, Edit502})
        e->SetOnMouseMove(
            [e](QObject*, Qt::KeyboardModifiers, int, int) { e->setToolTip(e->text()); });
    connect(Button501, &QPushButton::clicked, this, [this] { Button501Click(); });
    connect(Button502, &QPushButton::clicked, this, [this] { Button502Click(); });
}

void TOptionAlarmPage::ApplyLang() {
    // From the language texts, never read back from the button: while an alarm
    // runs the button shows the stop text.
    FButtonCaption = LangTestCaption();
    ShowTestCaption();
}

QString TOptionAlarmPage::LangTestCaption() {
    return MsgText(Captions().value(QStringLiteral("Button502.Caption")), "Button502.Caption");
}

void TOptionAlarmPage::ShowTestCaption() {
    Button502->setText(FHost.RunState().IsAlarmRunning
                           ? MsgText(Messages().StopAlarmCaption, "StopAlarmCaption")
                           : FButtonCaption);
}

void TOptionAlarmPage::LoadFromMain() {
    CheckBox501->setChecked(FHost.Settings().IsAlarmSet);
    TimeSpinEdit501->SetTime(FHost.Settings().AlarmStartTime);
    CheckBox502->setChecked(FHost.Settings().UseAlarmBlink);
    CheckBox503->setChecked(FHost.Settings().UseAlarmColor);
    SetupColorPanels(GroupBox502, FForm);
    MainSettingsChanged(); // swatches and marks as the colour modes say
    CheckBox504->setChecked(FHost.Settings().UseAlarmBalloon);
    Edit501->SetDefaultContextMenuEnabled(true);
    Edit501->setText(AlarmHintText(FHost.Settings().AlarmHint, Messages()));
    Edit501->SetOnDblClick([this](QObject*) { EditDblClick(Edit501); });
    CheckBox505->setChecked(FHost.Settings().UseAlarmSound);
    Edit502->SetDefaultContextMenuEnabled(true);
    Edit502->setText(FHost.Settings().AlarmSoundFileName);
    Edit502->SetOnDblClick([this](QObject*) { EditDblClick(Edit502); });
    ShowTestCaption();
    SetAlarmOptionEnabled();
}

void TOptionAlarmPage::MainSettingsChanged() {
    const bool fontGradient = FHost.Settings().FontColorMode == cmGradient;
    Panel501->setVisible(!fontGradient);
    Panel502->setVisible(fontGradient);
    Panel503->setVisible(fontGradient);
    Label501->move(Panel503->x() + (fontGradient ? FForm.Scaled(kGradientLabelShift) : 0),
                   Label501->y());
    const bool backGradient = FHost.Settings().BackgroundColorMode == cmGradient;
    Image501->setVisible(!backGradient && FHost.Settings().TransparentColor);
    Panel504->setVisible(!backGradient);
    Panel505->setVisible(backGradient);
    Panel506->setVisible(backGradient);
    Label502->move(Panel506->x() + (backGradient ? FForm.Scaled(kGradientLabelShift) : 0),
                   Label502->y());
    Image502->setVisible(!FHost.Settings().ShowBorder);
}

void TOptionAlarmPage::AlarmStateChanged() {
    ShowTestCaption();
    SetAlarmOptionEnabled();
}

bool TOptionAlarmPage::IsAlarmActionChecked() const {
    return CheckBox502->isChecked() || CheckBox503->isChecked() || CheckBox504->isChecked() ||
           CheckBox505->isChecked();
}

QList<QWidget*> TOptionAlarmPage::ColorControls() const {
    return {Panel501, Panel502, Panel503, Label501, Panel504,
            Panel505, Panel506, Label502, Panel507, Label503};
}

void TOptionAlarmPage::SetAlarmOptionEnabled() {
    const QList<QWidget*> actions =
        GroupBox502->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    if (FHost.RunState().IsAlarmRunning) {
        // While the alarm runs, what it does and when cannot change; only the
        // test button (stop) stays.
        for (QWidget* w : actions)
            w->setEnabled(false);
        CheckBox501->setEnabled(false);
        TimeSpinEdit501->setEnabled(false);
        return;
    }
    for (QWidget* w : actions)
        w->setEnabled(true);
    CheckBox501->setEnabled(true);
    TimeSpinEdit501->setEnabled(CheckBox501->isChecked());
    for (QWidget* w : ColorControls())
        w->setEnabled(CheckBox503->isChecked());
    Label504->setEnabled(CheckBox504->isChecked());
    Edit501->setEnabled(CheckBox504->isChecked());
    Button501->setEnabled(CheckBox505->isChecked());
    Edit502->setEnabled(CheckBox505->isChecked());
}

bool TOptionAlarmPage::CanClose() {
    if (CheckBox501->isChecked() && !IsAlarmActionChecked()) {
        ShowMessageDialog(
            MsgText(Messages().MsgWarnAlarmOptionNotChecked, "MsgWarnAlarmOptionNotChecked"),
            TMsgDlgType::Warning, mbOK, &FForm);
        return false;
    }
    return true;
}

void TOptionAlarmPage::CommitEdits() {
    Edit501Exit();
    Edit502Exit();
}

void TOptionAlarmPage::CheckBox501Click() {
    FHost.Settings().IsAlarmSet = CheckBox501->isChecked();
    TimeSpinEdit501->setEnabled(CheckBox501->isChecked());
}

void TOptionAlarmPage::TimeSpinEdit501Change() {
    FHost.Settings().AlarmStartTime = TimeSpinEdit501->Time();
    FHost.Settings().AlarmStopTime = FHost.Settings().AlarmStartTime + kOneMinute;
}

void TOptionAlarmPage::CheckBox502Click() {
    FHost.Settings().UseAlarmBlink = CheckBox502->isChecked();
}

void TOptionAlarmPage::CheckBox503Click() {
    FHost.Settings().UseAlarmColor = CheckBox503->isChecked();
    // Every alarm swatch follows, the gradient ones too: a swatch of an option
    // that is off must not stay clickable.
    for (QWidget* w : ColorControls())
        w->setEnabled(FHost.Settings().UseAlarmColor);
}

void TOptionAlarmPage::CheckBox504Click() {
    FHost.Settings().UseAlarmBalloon = CheckBox504->isChecked();
    Label504->setEnabled(CheckBox504->isChecked());
    Edit501->setEnabled(CheckBox504->isChecked());
}

void TOptionAlarmPage::CheckBox505Click() {
    FHost.Settings().UseAlarmSound = CheckBox505->isChecked();
    Edit502->setEnabled(CheckBox505->isChecked());
    Button501->setEnabled(CheckBox505->isChecked());
}

void TOptionAlarmPage::Edit501Change() {
    if (FCutting || Edit501->text().size() <= kMaxAlarmHintLength)
        return;
    FCutting = true; // the cut changes the text again: one warning per paste
    ShowMessageDialog(MsgText(Messages().MsgWarnTooManyCharacters, "MsgWarnTooManyCharacters"),
                      TMsgDlgType::Warning, mbOK, &FForm);
    const QString cut = CutToLength(Edit501->text(), kMaxAlarmHintLength);
    Edit501->setText(cut);
    Edit501->setCursorPosition(int(cut.size()));
    FCutting = false;
}

void TOptionAlarmPage::Edit501Exit() {
    // A change of letter case is a change of the message too. The text shown for
    // an unedited message is the language's: left as it is, it stays unedited.
    if (Edit501->text() != AlarmHintText(FHost.Settings().AlarmHint, Messages()))
        FHost.Settings().AlarmHint = Edit501->text();
}

void TOptionAlarmPage::Edit502Exit() {
    // File names differing only in letter case are different files here.
    if (Edit502->text() != FHost.Settings().AlarmSoundFileName)
        FHost.Settings().AlarmSoundFileName = Edit502->text();
}

void TOptionAlarmPage::Button501Click() {
    QFileDialog dialog(&FForm);
    dialog.setObjectName(QStringLiteral("OpenDialog1"));
    PrepareOpenDialog(dialog, Edit502->text(), kSoundFilter,
                      QFileInfo(FHost.IniFileName()).absolutePath());
    const std::optional<QString> chosen = FForm.Dialogs.OpenFile(dialog);
    if (!chosen)
        return;
    Edit502->setText(QFileInfo(*chosen).absoluteFilePath());
    FHost.Settings().AlarmSoundFileName = Edit502->text();
}

void TOptionAlarmPage::Button502Click() {
    // The state decides, not the caption: a language may give both the same text.
    if (FHost.RunState().IsAlarmRunning) {
        FHost.ActPopStopAlarmExecute();
        return;
    }
    if (IsAlarmActionChecked())
        FHost.ActStartAlarmExecute();
    else
        ShowMessageDialog(
            MsgText(Messages().MsgWarnAlarmOptionNotChecked, "MsgWarnAlarmOptionNotChecked"),
            TMsgDlgType::Warning, mbOK, &FForm);
}

} // namespace velmora
