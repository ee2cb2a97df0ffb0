// The alarm page: loading, live writes, the 255-unit message rule, the sound
// file, and the test button's two states.
#include "OptionFixture.h"
#include "app/clock/ClockMenu.h"
#include "app/options/ColorPanel.h"
#include "app/options/OptionAlarmPage.h"
#include "core/AlarmLogic.h"
#include "core/KvTimer.h"
#include "widgets/KvEdit.h"
#include "widgets/KvTimeSpinEdit.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace velmora;

TEST(OptionAlarmPage, LoadingGivesTheHandlersStates) {
    for (int bits = 0; bits < 16; ++bits) {
        const bool set = bits & 1, color = bits & 2, balloon = bits & 4, sound = bits & 8;
        OptionFixture fx(QStringLiteral("[Alarm]\nIsAlarmSet=%1\nUseAlarmColor=%2\n"
                                        "UseAlarmBalloon=%3\nUseAlarmSound=%4\nUseAlarmBlink=1\n"
                                        "AlarmStartTime=07:30:00\nAlarmHint=Wake up")
                             .arg(set)
                             .arg(color)
                             .arg(balloon)
                             .arg(sound));
        fx.Open();
        auto& a = fx.Page<TOptionAlarmPage>();
        SCOPED_TRACE(bits);
        EXPECT_EQ(a.CheckBox501->isChecked(), set);
        EXPECT_EQ(a.TimeSpinEdit501->isEnabled(), set);
        EXPECT_EQ(a.TimeSpinEdit501->text(), "07:30:00");
        for (QWidget* w : {static_cast<QWidget*>(a.Panel501), static_cast<QWidget*>(a.Label501),
                           static_cast<QWidget*>(a.Panel505), static_cast<QWidget*>(a.Label503)})
            EXPECT_EQ(w->isEnabled(), color) << w->objectName().toStdString();
        EXPECT_EQ(a.Label504->isEnabled(), balloon);
        EXPECT_EQ(a.Edit501->isEnabled(), balloon);
        EXPECT_EQ(a.Edit501->text(), "Wake up");
        EXPECT_EQ(a.Edit502->isEnabled(), sound);
        EXPECT_EQ(a.Button501->isEnabled(), sound);
        EXPECT_TRUE(a.CheckBox502->isChecked());
        EXPECT_EQ(a.Button502->text(), "アラームを テスト");
        EXPECT_EQ(fx.Main->Settings().IsAlarmSet, set);
        EXPECT_DOUBLE_EQ(fx.Main->Settings().AlarmStartTime, 7.5 / 24);
        EXPECT_TRUE(fx.Boxes.isEmpty());
    }
}

TEST(OptionAlarmPage, ControlsWriteTheClockLive) {
    OptionFixture fx;
    QApplication::setActiveWindow(&fx.Open());
    auto& a = fx.Page<TOptionAlarmPage>();
    a.CheckBox501->click();
    EXPECT_TRUE(fx.Main->Settings().IsAlarmSet);
    EXPECT_TRUE(a.TimeSpinEdit501->isEnabled());
    a.TimeSpinEdit501->SetTime(23.0 / 24 + 59.5 / 1440);
    EXPECT_NEAR(fx.Main->Settings().AlarmStartTime, 23.0 / 24 + 59.5 / 1440, 1e-9);
    EXPECT_NEAR(fx.Main->Settings().AlarmStopTime, fx.Main->Settings().AlarmStartTime + 1.0 / 1440,
                1e-12);
    struct {
        QCheckBox* box;
        bool TVlmSettings::*field;
    } boxes[] = {{a.CheckBox502, &TVlmSettings::UseAlarmBlink},
                 {a.CheckBox503, &TVlmSettings::UseAlarmColor},
                 {a.CheckBox504, &TVlmSettings::UseAlarmBalloon},
                 {a.CheckBox505, &TVlmSettings::UseAlarmSound}};
    for (const auto& b : boxes) {
        b.box->click();
        EXPECT_TRUE(fx.Main->Settings().*b.field) << b.box->objectName().toStdString();
    }
    EXPECT_TRUE(a.Panel502->isEnabled());
    EXPECT_TRUE(a.Edit501->isEnabled());
    EXPECT_TRUE(a.Button501->isEnabled());
    a.CheckBox503->click();
    // Every alarm swatch follows, the gradient ones too.
    for (QWidget* w : {static_cast<QWidget*>(a.Panel501), static_cast<QWidget*>(a.Panel502),
                       static_cast<QWidget*>(a.Panel506), static_cast<QWidget*>(a.Label502)})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    // The message and the sound file are stored when the box is left, a change
    // of letter case included.
    fx.Main->Settings().AlarmHint = "tea";
    a.Edit501->setText("Tea");
    a.Edit501Exit();
    EXPECT_EQ(fx.Main->Settings().AlarmHint, "Tea");
    fx.Main->Settings().AlarmSoundFileName = "/snd/ring.wav";
    a.Edit502->setText("/snd/Ring.wav");
    a.Edit502->setFocus();
    QTRY_VERIFY_WITH_TIMEOUT(a.Edit502->hasFocus(), 5000);
    a.Edit501->setFocus(); // leaving the box stores it
    EXPECT_EQ(fx.Main->Settings().AlarmSoundFileName, "/snd/Ring.wav");
}

TEST(OptionAlarmPage, MessageIsCutTo255UnitsWithOneWarning) {
    const QString face = QString::fromUtf8("😀");
    struct {
        const char* name;
        QString pasted;
        int kept;
        bool warned;
    } cases[] = {
        {"255 fits", QString(255, 'a'), 255, false},
        {"300 letters", QString(300, 'b'), 255, true},
        {"a pair on the edge", QString(254, 'c') + face + "dd", 254, true},
        {"a pair before the edge", QString(253, 'e') + face + "ff", 255, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        OptionFixture fx("[Alarm]\nUseAlarmBalloon=1");
        fx.Open();
        auto& a = fx.Page<TOptionAlarmPage>();
        a.Edit501->clear();
        a.Edit501->insert(c.pasted); // as a paste does
        EXPECT_EQ(a.Edit501->text(), c.pasted.left(c.kept));
        EXPECT_EQ(a.Edit501->cursorPosition(), c.kept);
        EXPECT_EQ(fx.Boxes.size(), c.warned ? 1 : 0);
        if (c.warned) {
            EXPECT_EQ(fx.Boxes.first(), FallbackText("MsgWarnTooManyCharacters"));
        }
    }
    EXPECT_EQ(CutToLength(QString::fromUtf8("😀"), 1), "");
    EXPECT_EQ(CutToLength("abc", 5), "abc");
}

TEST(OptionAlarmPage, SoundFileBrowse) {
    OptionFixture fx("[Alarm]\nUseAlarmSound=1");
    TOptionForm& f = fx.Open();
    auto& a = fx.Page<TOptionAlarmPage>();
    std::optional<QString> answer = fx.Dir.filePath("bell.wav");
    QStringList filters;
    f.Dialogs.OpenFile = [&](QFileDialog& d) {
        filters = d.nameFilters();
        return answer;
    };
    a.Button501->click();
    EXPECT_EQ(filters, QStringList{"Sound Files (*.mp3 *.wav)"});
    EXPECT_EQ(a.Edit502->text(), fx.Dir.filePath("bell.wav"));
    EXPECT_EQ(fx.Main->Settings().AlarmSoundFileName, fx.Dir.filePath("bell.wav"));
    answer.reset();
    a.Button501->click();
    EXPECT_EQ(fx.Main->Settings().AlarmSoundFileName, fx.Dir.filePath("bell.wav"));
}

TEST(OptionAlarmPage, TestButtonStartsAndStopsTheAlarm) {
    OptionFixture fx("[Alarm]\nIsAlarmSet=1");
    fx.Open();
    auto& a = fx.Page<TOptionAlarmPage>();
    // No action: the warning, no alarm.
    a.Button502->click();
    EXPECT_FALSE(fx.Main->RunState().IsAlarmRunning);
    EXPECT_EQ(fx.Boxes, QStringList{FallbackText("MsgWarnAlarmOptionNotChecked")});
    a.CheckBox504->click();
    a.CheckBox503->click();
    a.Button502->click();
    EXPECT_TRUE(fx.Main->RunState().IsAlarmRunning);
    EXPECT_EQ(a.Button502->text(), FallbackText("StopAlarmCaption"));
    for (QWidget* w :
         {static_cast<QWidget*>(a.CheckBox502), static_cast<QWidget*>(a.Panel501),
          static_cast<QWidget*>(a.Edit501), static_cast<QWidget*>(a.Button501),
          static_cast<QWidget*>(a.CheckBox501), static_cast<QWidget*>(a.TimeSpinEdit501)})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_TRUE(a.Button502->isEnabled());
    a.Button502->click();
    EXPECT_FALSE(fx.Main->RunState().IsAlarmRunning);
    EXPECT_EQ(a.Button502->text(), a.ButtonCaption());
    EXPECT_TRUE(a.CheckBox501->isEnabled());
    EXPECT_TRUE(a.TimeSpinEdit501->isEnabled());
    EXPECT_TRUE(a.Edit501->isEnabled());
    EXPECT_TRUE(a.Panel501->isEnabled());
    EXPECT_FALSE(a.Button501->isEnabled()); // sound still off
    // The alarm started by the clock's own time reaches the open page too.
    fx.Main->ActStartAlarmExecute();
    EXPECT_EQ(a.Button502->text(), FallbackText("StopAlarmCaption"));
    EXPECT_FALSE(a.CheckBox501->isEnabled());
    fx.Main->ActPopStopAlarmExecute();
    EXPECT_TRUE(a.CheckBox501->isEnabled());
}

TEST(OptionAlarmPage, AnAlarmRunningBeforeTheFirstOpeningIsStoppedByTheTestButton) {
    // The alarm rings at its time; then the user opens the dialog for the first
    // time in this run and stops the alarm with the page's button.
    OptionFixture fx("[Alarm]\nIsAlarmSet=1\nUseAlarmColor=1");
    fx.Main->ActStartAlarmExecute();
    ASSERT_TRUE(fx.Main->RunState().IsAlarmRunning);
    fx.Open();
    auto& a = fx.Page<TOptionAlarmPage>();
    EXPECT_EQ(a.Button502->text(), FallbackText("StopAlarmCaption"));
    EXPECT_EQ(a.ButtonCaption(), "アラームを テスト");
    a.Button502->click();
    EXPECT_FALSE(fx.Main->RunState().IsAlarmRunning);
    EXPECT_EQ(a.Button502->text(), "アラームを テスト");
    // The button now tests, as it says.
    a.Button502->click();
    EXPECT_TRUE(fx.Main->RunState().IsAlarmRunning);
    EXPECT_EQ(a.Button502->text(), FallbackText("StopAlarmCaption"));
    // So does it after the language is applied again while the alarm runs.
    fx.Form->ApplyLangToOptionForm();
    EXPECT_EQ(a.ButtonCaption(), "アラームを テスト");
    a.Button502->click();
    EXPECT_EQ(a.Button502->text(), "アラームを テスト");
}

TEST(OptionAlarmPage, AnUneditedMessageSpeaksTheChosenLanguage) {
    OptionFixture fx; // no settings file: the message was never edited
    const QString unedited = fx.Main->Settings().AlarmHint;
    const QDir shipped(QStringLiteral(VELMORA_SHIPPED_LANG_DIR));
    const QStringList files = shipped.entryList({QStringLiteral("*.lang")}, QDir::Files);
    ASSERT_EQ(files.size(), 5);
    for (const QString& name : files) {
        SCOPED_TRACE(name.toStdString());
        const QString file = shipped.filePath(name);
        fx.Main->Menu().LanguageListClick(file);
        const QString own = IniDocument(file).ReadString("Lang: Msg", "MsgAlarmHintDefault", "");
        ASSERT_FALSE(own.isEmpty());
        EXPECT_NE(own, unedited);
        // The balloon the alarm shows, and what the dialog offers to edit.
        EXPECT_EQ(AlarmBalloon(fx.Main->Settings(), Messages()).Hint, own);
        fx.Open();
        auto& a = fx.Page<TOptionAlarmPage>();
        EXPECT_EQ(a.Edit501->text(), own);
        a.Edit501Exit(); // leaving the box unchanged keeps it unedited
        EXPECT_EQ(fx.Main->Settings().AlarmHint, unedited);
        fx.Main->FOptionForm = nullptr;
        fx.Form.reset();
    }
    // Once edited, the message is the user's in every language.
    fx.Open();
    auto& page = fx.Page<TOptionAlarmPage>();
    page.Edit501->setText("Tea is ready");
    page.Edit501Exit();
    fx.Main->FOptionForm = nullptr;
    fx.Form.reset();
    for (const QString& name : files) {
        fx.Main->Menu().LanguageListClick(shipped.filePath(name));
        EXPECT_EQ(AlarmBalloon(fx.Main->Settings(), Messages()).Hint, "Tea is ready");
    }
}
