#include "app/options/OptionTextPage.h"

#include "app/DayWords.h"
#include "app/LangFiles.h"
#include "app/MessageDialog.h"
#include "app/clock/MainForm.h"
#include "app/options/OptionControls.h"
#include "app/options/OptionForm.h"
#include "app/options/OptionHelpers.h"
#include "app/options/OptionHost.h"
#include "core/IniDocument.h"
#include "widgets/KvEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>

namespace velmora {

namespace {

constexpr int kDayLines = 7;

int IndexOfIgnoringCase(const QStringList& list, const QString& s) {
    for (int i = 0; i < list.size(); ++i)
        if (list[i].compare(s, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

} // namespace

TOptionTextPage::TOptionTextPage(IOptionHost& host, TOptionForm& form, QWidget* parent)
    : TOptionPage(host, form, parent) {
    setObjectName(QStringLiteral("TabSheet1"));
    const auto at = [&form](QWidget* w, int x, int y, int width, int height) {
        form.Place(w, x, y, width, height);
    };
    GroupBox101 = NewControl<QGroupBox>(this, "GroupBox101");
    at(GroupBox101, 8, 8, 393, 120);
    CheckBox101 = NewControl<QCheckBox>(GroupBox101, "CheckBox101");
    at(CheckBox101, 16, 24, 170, 20);
    CheckBox102 = NewControl<QCheckBox>(GroupBox101, "CheckBox102");
    at(CheckBox102, 200, 24, 177, 20);
    RadioGroup101 = NewControl<TRadioGroup>(GroupBox101, "RadioGroup101");
    RadioGroup101->SetItems({QString(), QString()});
    at(RadioGroup101, 16, 52, 361, 56);

    GroupBox102 = NewControl<QGroupBox>(this, "GroupBox102");
    at(GroupBox102, 8, 136, 393, 352);
    Label101 = NewControl<QLabel>(GroupBox102, "Label101");
    at(Label101, 16, 24, 361, 18);
    ComboBox101 = NewControl<QComboBox>(GroupBox102, "ComboBox101");
    at(ComboBox101, 16, 44, 361, 24);
    Label102 = NewControl<QLabel>(GroupBox102, "Label102");
    at(Label102, 16, 76, 361, 18);
    Edit101 = NewControl<TKvEdit>(GroupBox102, "Edit101");
    at(Edit101, 16, 96, 361, 23);
    Label103 = NewControl<QLabel>(GroupBox102, "Label103");
    at(Label103, 16, 128, 361, 18);
    Memo101 = NewControl<QPlainTextEdit>(GroupBox102, "Memo101");
    Memo101->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo101->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo101->setTabChangesFocus(true);
    at(Memo101, 16, 148, 361, 160);
    Button101 = NewControl<QPushButton>(GroupBox102, "Button101");
    at(Button101, 204, 316, 173, 24);
    Button101->installEventFilter(this);

    connect(CheckBox101, &QCheckBox::toggled, this, [this] { CheckBox101Click(); });
    connect(CheckBox102, &QCheckBox::toggled, this, [this] { CheckBox102Click(); });
    RadioGroup101->SetOnClick([this] { RadioGroup101Click(); });
    // Only the user's choice runs the handler; filling the list does not.
    connect(ComboBox101, &QComboBox::activated, this, [this] { ComboBox101Change(); });
    connect(Button101, &QPushButton::clicked, this, [this] { Button101Click(); });
}

void TOptionTextPage::LoadFromMain() {
    CheckBox101->setChecked(FHost.Settings().ShowDate);
    CheckBox102->setChecked(FHost.Settings().ShowDayOfTheWeek);
    try {
        FDaySectionList = ReadDayKinds(DayLangFile());
    } catch (const std::exception& e) {
        FDaySectionList.clear();
        qWarning("Velmora: the day words file cannot be read: %s", e.what());
    }
    FillChooser();
    ComboBox101->setCurrentIndex(IndexOfIgnoringCase(FDaySectionList, CurrentDayLangKind()));
    RadioGroup101->SetItemIndex(FHost.Settings().ShowSecond ? 0 : 1);
    RadioGroup101->SetColumns(2);
    Edit101->SetDefaultContextMenuEnabled(true);
    Edit101->clear();
    Edit101->SetOnDblClick([this](QObject*) { EditDblClick(Edit101); });
    Memo101->clear();
    ShowCurrentDayLang();
}

void TOptionTextPage::FillChooser() {
    ComboBox101->clear();
    ComboBox101->addItems(FDaySectionList);
}

void TOptionTextPage::CheckBox101Click() {
    FHost.Settings().ShowDate = CheckBox101->isChecked();
    FHost.SettingsChanged(TSettingChange::Size);
}

void TOptionTextPage::CheckBox102Click() {
    FHost.Settings().ShowDayOfTheWeek = CheckBox102->isChecked();
    FHost.SettingsChanged(TSettingChange::Size);
}

void TOptionTextPage::RadioGroup101Click() {
    if (RadioGroup101->ItemIndex() == 0)
        FHost.Settings().ShowSecond = true;
    else if (RadioGroup101->ItemIndex() == 1)
        FHost.Settings().ShowSecond = false;
    FHost.SettingsChanged(TSettingChange::Size);
}

void TOptionTextPage::ComboBox101Change() {
    const int index = ComboBox101->currentIndex();
    if (index < 0 || index >= FDaySectionList.size())
        return;
    FHost.DayWords() = ChooseDayLangKind(FDaySectionList[index]);
    FHost.SettingsChanged(TSettingChange::Size);
    ShowCurrentDayLang();
}

void TOptionTextPage::ShowCurrentDayLang() {
    Edit101->setText(CurrentDayLangKind());
    QStringList lines;
    try {
        lines = ReadDayKindLines(DayLangFile(), CurrentDayLangKind());
    } catch (const std::exception& e) {
        qWarning("Velmora: the day words file cannot be read: %s", e.what());
    }
    Memo101->setPlainText(lines.join(QLatin1Char('\n')));
}

QStringList TOptionTextPage::MemoLines() const {
    QStringList lines = Memo101->toPlainText().split(QLatin1Char('\n'));
    while (lines.size() < kDayLines)
        lines << QString();
    return lines.mid(0, kDayLines);
}

bool TOptionTextPage::Confirm(const QString& text) {
    return ShowMessageDialog(text, TMsgDlgType::Confirmation, mbOK | mbCancel, &FForm) == mrOk;
}

void TOptionTextPage::Warn(const QString& text) {
    ShowMessageDialog(text, TMsgDlgType::Warning, mbOK, &FForm);
}

void TOptionTextPage::Button101Click() {
    if (Edit101->text().isEmpty() || Memo101->toPlainText().isEmpty()) {
        Warn(MsgText(Messages().MsgWarnEditMemoEmpty, "MsgWarnEditMemoEmpty"));
        return;
    }
    UpdateDayLang();
}

void TOptionTextPage::ChooseKind(const QString& title) {
    ComboBox101->setCurrentIndex(IndexOfIgnoringCase(FDaySectionList, title));
    ComboBox101Change();
    WriteDayLangKind(DayLangFile(), CurrentDayLangKind());
}

void TOptionTextPage::UpdateDayLang() {
    const TMessageTable& m = Messages();
    // A title the file cannot hold as a section of its own is refused before
    // anything is asked.
    const QString title = Edit101->text().trimmed();
    if (const QString problem = DayKindTitleProblem(title); !problem.isEmpty()) {
        Warn(problem);
        return;
    }
    const QStringList lines = MemoLines();
    if (!DayKindLinesValid(lines)) {
        Warn(JoinMsg(MsgText(m.MsgWarnNameValueInvalid, "MsgWarnNameValueInvalid"),
                     MsgText(m.MsgWarnCheckNameValue, "MsgWarnCheckNameValue")));
        return;
    }
    const QString file = DayLangFile();
    const bool exists = DaySectionExists(file, title);
    const QString ask = exists ? MsgText(m.MsgConfirmOverwriteItem, "MsgConfirmOverwriteItem")
                               : MsgText(m.MsgConfirmAddItem, "MsgConfirmAddItem");
    if (!Confirm(
            FormatMsg(JoinMsg(ask, MsgText(m.MsgConfirmOKCancel, "MsgConfirmOKCancel")), {title})))
        return;
    WriteDaySection(file, title, lines); // a failure is shown by the error handler
    if (!FDaySectionList.contains(title, Qt::CaseInsensitive)) {
        FDaySectionList << title;
        FillChooser();
    }
    ShowMessageDialog(FormatMsg(exists ? MsgText(m.MsgInfoOverwroteItem, "MsgInfoOverwroteItem")
                                       : MsgText(m.MsgInfoAddedItem, "MsgInfoAddedItem"),
                                {title}),
                      TMsgDlgType::Information, mbOK, &FForm);
    ChooseKind(title);
    KvSwitchInputMethodOff(&FForm);
}

void TOptionTextPage::DeleteDayLang() {
    const TMessageTable& m = Messages();
    const QString title = Edit101->text().trimmed();
    const QString exitText = MsgText(m.MsgWarnExitWithoutDelete, "MsgWarnExitWithoutDelete");
    const QString file = DayLangFile();
    // The control section is no set: refused as updating refuses it.
    if (const QString problem = DayKindTitleProblem(title); !problem.isEmpty()) {
        Warn(problem);
        ShowCurrentDayLang();
        return;
    }
    if (FDaySectionList.size() < 2) {
        Warn(FormatMsg(
            JoinMsg(MsgText(m.MsgWarnDayLangTheLastSection, "MsgWarnDayLangTheLastSection"),
                    exitText),
            {title}));
        ShowCurrentDayLang();
        return;
    }
    // A kind listed without lines can be deleted too.
    if (!FDaySectionList.contains(title, Qt::CaseInsensitive) && !DaySectionExists(file, title)) {
        Warn(FormatMsg(JoinMsg(MsgText(m.MsgWarnDayLangSameSectionNotExists,
                                       "MsgWarnDayLangSameSectionNotExists"),
                               exitText),
                       {title}));
        ShowCurrentDayLang();
        return;
    }
    if (!Confirm(FormatMsg(JoinMsg(MsgText(m.MsgConfirmDeleteItem, "MsgConfirmDeleteItem"),
                                   MsgText(m.MsgConfirmOKCancel, "MsgConfirmOKCancel")),
                           {title}))) {
        ShowCurrentDayLang();
        return;
    }
    const QString remembered = ComboBox101->currentText();
    const QString deleted = DayKindToDelete(FDaySectionList, title);
    EraseDaySection(file, deleted);
    FDaySectionList.removeOne(deleted);
    ShowMessageDialog(FormatMsg(MsgText(m.MsgInfoDeletedItem, "MsgInfoDeletedItem"), {title}),
                      TMsgDlgType::Information, mbOK, &FForm);
    FillChooser();
    const bool deletedInUse = remembered == deleted;
    const int index = deletedInUse ? 0 : IndexOfIgnoringCase(FDaySectionList, remembered);
    ComboBox101->setCurrentIndex(std::max(index, 0));
    ComboBox101Change();
    WriteDayLangKind(file, CurrentDayLangKind());
}

bool TOptionTextPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Button101 && event->type() == QEvent::MouseButtonPress) {
        const auto* e = static_cast<QMouseEvent*>(event);
        const bool shiftOnly =
            (e->modifiers() & Qt::ShiftModifier) && !(e->modifiers() & Qt::AltModifier);
        if (e->button() == Qt::LeftButton && shiftOnly && !Edit101->text().isEmpty() &&
            Memo101->toPlainText().isEmpty()) {
            // The press is the delete: the ordinary click does not follow.
            DeleteDayLang();
            return true;
        }
    }
    return TOptionPage::eventFilter(watched, event);
}

} // namespace velmora
