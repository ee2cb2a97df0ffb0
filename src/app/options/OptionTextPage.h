// The text page of the options dialog: which parts of the clock text show, and
// the editor of the day-of-week word sets ("kinds") of the words file.
#pragma once

#include "app/options/OptionPage.h"

#include <QStringList>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace velmora {

class TKvEdit;
class TRadioGroup;

class TOptionTextPage : public TOptionPage {
    Q_OBJECT
public:
    TOptionTextPage(IOptionHost& host, TOptionForm& form, QWidget* parent);

    void LoadFromMain() override;

    QGroupBox* GroupBox101 = nullptr;
    QCheckBox* CheckBox101 = nullptr;
    QCheckBox* CheckBox102 = nullptr;
    TRadioGroup* RadioGroup101 = nullptr;
    QGroupBox* GroupBox102 = nullptr;
    QLabel* Label101 = nullptr;
    QComboBox* ComboBox101 = nullptr;
    QLabel* Label102 = nullptr;
    TKvEdit* Edit101 = nullptr;
    QLabel* Label103 = nullptr;
    QPlainTextEdit* Memo101 = nullptr;
    QPushButton* Button101 = nullptr;

    // The kinds of the words file in file order, DayLang left out; the chooser's
    // items are these, in step with them.
    const QStringList& DaySectionList() const { return FDaySectionList; }

    void CheckBox101Click();
    void CheckBox102Click();
    void RadioGroup101Click();
    void ComboBox101Change();
    void Button101Click();
    // The title and the lines of the kind in use, read afresh from the file.
    void ShowCurrentDayLang();
    // Add or overwrite the kind of the title box with the contents box.
    void UpdateDayLang();
    // Delete the kind named in the title box (Shift-click with empty contents).
    void DeleteDayLang();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The first seven lines of the contents box (missing lines empty).
    QStringList MemoLines() const;
    void FillChooser();
    void ChooseKind(const QString& title);
    bool Confirm(const QString& text);
    void Warn(const QString& text);

    QStringList FDaySectionList;
};

} // namespace velmora
