// The alarm's sound routine between the file checks, the player and the texts
// the user reads.
#include "app/LangFiles.h"
#include "core/AlarmLogic.h"
#include "fakes/FakePlatform.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace velmora;

namespace {

class AlarmSound : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Dir.isValid());
        Texts.MsgWarnNoSoundFileName = QStringLiteral("No sound file.");
        Texts.MsgErrorFileNotFound = QStringLiteral("File not found: [%s]");
        Texts.MsgWarnNotSupportedFileType = QStringLiteral("Not supported.");
        Texts.MsgErrorCannotOpenItem = QStringLiteral("Cannot open: [%s]");
    }
    QString Touch(const QString& name) {
        QFile f(Dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        return f.fileName();
    }
    // What the player's answer (or the file check) reports for `file`, if anything.
    std::optional<TAlarmMessage> Report(const QString& file) {
        std::optional<TAlarmMessage> m;
        PlayAlarmSound(P, file, [&m](const TAlarmMessage& got) { m = got; });
        return m;
    }
    // What the window would show for `file`, or nothing.
    QString Play(const QString& file) {
        const std::optional<TAlarmMessage> m = Report(file);
        return m ? AlarmMessageText(*m, Texts) : QString();
    }

    QTemporaryDir Dir;
    FakePlatform P;
    TMessageTable Texts;
};

} // namespace

TEST_F(AlarmSound, StopsFirstThenPlaysWhatItCan) {
    const QString mp3 = Touch(QStringLiteral("Bell.MP3"));
    EXPECT_EQ(Play(mp3), QString());
    EXPECT_EQ(P.Calls, QStringList({QStringLiteral("stop-sound"), "play:" + mp3}));
}

TEST_F(AlarmSound, MessagesForFilesThatCannotPlay) {
    const QString missing = Dir.filePath(QStringLiteral("gone.wav"));
    const QString ogg = Touch(QStringLiteral("bell.ogg"));
    const struct {
        QString File;
        QString Shown;
    } cases[] = {
        {QString(), QStringLiteral("No sound file.")},
        {missing, "File not found: [" + missing + "]"},
        {ogg, QStringLiteral("Not supported.")},
    };
    for (const auto& c : cases) {
        P.Calls.clear();
        EXPECT_EQ(Play(c.File), c.Shown);
        // Whatever played before is stopped even when nothing new can play.
        EXPECT_EQ(P.Calls, QStringList(QStringLiteral("stop-sound")));
    }
}

TEST_F(AlarmSound, ThePlayersReasonStaysOutOfTheBox) {
    const QString wav = Touch(QStringLiteral("broken.wav"));
    P.SoundResult = false;
    P.SoundError = QStringLiteral("Unrecognized audio format");
    EXPECT_EQ(Play(wav), "Cannot open: [" + wav + "]");
    EXPECT_EQ(Report(wav)->Detail, QStringLiteral("Unrecognized audio format"));
}

// The player is started and left to answer: until it does, nothing is reported
// and nothing waits; its late answer still reaches the user.
TEST_F(AlarmSound, APlayerThatHasNotAnsweredHoldsNothingUp) {
    const QString wav = Touch(QStringLiteral("slow.wav"));
    P.SoundAnswers = false;
    std::optional<TAlarmMessage> m;
    PlayAlarmSound(P, wav, [&m](const TAlarmMessage& got) { m = got; });
    EXPECT_EQ(P.Calls, QStringList({QStringLiteral("stop-sound"), "play:" + wav}));
    EXPECT_FALSE(m.has_value());
    ASSERT_TRUE(P.SoundWatch);
    P.SoundWatch({false, QStringLiteral("the sound player gave no answer")});
    ASSERT_TRUE(m.has_value());
    EXPECT_EQ(AlarmMessageText(*m, Texts), "Cannot open: [" + wav + "]");
}

TEST_F(AlarmSound, StopAlarmSoundStopsThePlayer) {
    StopAlarmSound(P);
    EXPECT_EQ(P.Calls, QStringList(QStringLiteral("stop-sound")));
}
