// The alarm page of the options dialog: the alarm time, what the alarm does
// (blink, colours, balloon with its message, sound file), the alarm colours, and
// the test button that starts and stops the real alarm.
#pragma once

#include "app/options/OptionPage.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace velmora {

class TColorPanel;
class TKvEdit;
class TKvTimeSpinEdit;

// The balloon message's longest text, in UTF-16 code units.
inline constexpr int kMaxAlarmHintLength = 255;
// `text` cut to at most `limit` code units, never inside a surrogate pair.
QString CutToLength(const QString& text, int limit);

class TOptionAlarmPage : public TOptionPage {
    Q_OBJECT
public:
    TOptionAlarmPage(IOptionHost& host, TOptionForm& form, QWidget* parent);

    void ApplyLang() override;
    void LoadFromMain() override;
    void CommitEdits() override;
    void MainSettingsChanged() override;
    void AlarmStateChanged() override;
    bool CanClose() override;

    QGroupBox* GroupBox501 = nullptr;
    QCheckBox* CheckBox501 = nullptr;
    TKvTimeSpinEdit* TimeSpinEdit501 = nullptr;
    QGroupBox* GroupBox502 = nullptr;
    QCheckBox* CheckBox502 = nullptr;
    QCheckBox* CheckBox503 = nullptr;
    TColorPanel* Panel501 = nullptr;
    TColorPanel* Panel502 = nullptr;
    TColorPanel* Panel503 = nullptr;
    QLabel* Label501 = nullptr;
    TColorPanel* Panel504 = nullptr;
    TColorPanel* Panel505 = nullptr;
    TColorPanel* Panel506 = nullptr;
    QLabel* Label502 = nullptr;
    TColorPanel* Panel507 = nullptr;
    QLabel* Label503 = nullptr;
    QLabel* Image501 = nullptr; // see-through mark over Panel504
    QLabel* Image502 = nullptr; // no-outline mark over Panel507
    QCheckBox* CheckBox504 = nullptr;
    QLabel* Label504 = nullptr;
    TKvEdit* Edit501 = nullptr;
    QCheckBox* CheckBox505 = nullptr;
    TKvEdit* Edit502 = nullptr;
    QPushButton* Button501 = nullptr;
    QPushButton* Button502 = nullptr;

    // The test button's caption in the language in use (its "start" text).
    QString ButtonCaption() const { return FButtonCaption; }
    // At least one of blink, colours, balloon and sound is checked.
    bool IsAlarmActionChecked() const;
    // Enabled states for the alarm state and the check boxes.
    void SetAlarmOptionEnabled();

    void CheckBox501Click();
    void TimeSpinEdit501Change();
    void CheckBox502Click();
    void CheckBox503Click();
    void CheckBox504Click();
    void CheckBox505Click();
    void Edit501Change();
    void Edit501Exit();
    void Edit502Exit();
    void Button501Click();
    void Button502Click();

private:
    // The test caption of the current language.
    static QString LangTestCaption();
    void ShowTestCaption();
    QList<QWidget*> ColorControls() const;

    QString FButtonCaption;
    bool FCutting = false;
};

} // namespace velmora
