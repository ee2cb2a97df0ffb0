// The alarm sound through the real player and audio stack, with SDL's disk
// driver standing in for a sound card: what would reach the speakers lands in a
// raw file (44.1 kHz, 16-bit, two channels) that the tests read back.
#include "platform/linux/LinuxPlatform.h"
#include "unit/ScopedEnv.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <numbers>
#include <optional>

using namespace velmora;

namespace {

constexpr int kOutputBytesPerSecond = 44100 * 2 * 2;

void PutLE(QByteArray& b, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        b.append(char((v >> (8 * i)) & 0xFF));
}

// A RIFF/WAVE file of a 440 Hz sine: mono, 16-bit, 22050 Hz.
QByteArray SineWav(double seconds) {
    const int rate = 22050;
    const int frames = int(seconds * rate);
    QByteArray data;
    for (int i = 0; i < frames; ++i) {
        const double v = 0.5 * std::sin(2 * std::numbers::pi * 440.0 * i / rate);
        PutLE(data, uint16_t(int16_t(v * 32767)), 2);
    }
    QByteArray b("RIFF");
    PutLE(b, 36 + data.size(), 4);
    b.append("WAVEfmt ");
    PutLE(b, 16, 4);
    PutLE(b, 1, 2); // PCM
    PutLE(b, 1, 2); // channels
    PutLE(b, rate, 4);
    PutLE(b, rate * 2, 4);
    PutLE(b, 2, 2);
    PutLE(b, 16, 2);
    b.append("data");
    PutLE(b, data.size(), 4);
    return b + data;
}

// MPEG-1 Layer III frames of silence (128 kbit/s, 44.1 kHz, stereo, 1152 samples
// each): all-zero side information and main data decode to quiet samples, so a
// valid mp3 needs no encoder.
QByteArray SilentMp3(int frames) {
    QByteArray frame(417, '\0');
    frame[0] = char(0xFF);
    frame[1] = char(0xFB);
    frame[2] = char(0x90);
    return frame.repeated(frames);
}

// The loudest sample of the output between byte offsets `from` and `to`.
int Loudest(const QByteArray& raw, qsizetype from, qsizetype to) {
    int peak = 0;
    to = std::min(to, raw.size() - 1);
    for (qsizetype i = from & ~qsizetype(1); i + 1 <= to; i += 2) {
        const auto s = int16_t(uint8_t(raw[i]) | (uint8_t(raw[i + 1]) << 8));
        peak = std::max(peak, std::abs(int(s)));
    }
    return peak;
}

class Sound : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Dir.isValid());
        Output = Dir.filePath(QStringLiteral("speaker.raw"));
        Driver.Set("disk");
        DriverFile.Set(QFile::encodeName(Output));
    }
    void TearDown() override { P.StopSound(); }

    QString Write(const QString& name, const QByteArray& bytes) {
        QFile f(Dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    }
    qint64 OutputSize() const { return QFileInfo(Output).size(); }
    // Waits (generously) until the output holds at least `bytes`.
    bool WaitForOutput(qint64 bytes) const {
        for (int i = 0; i < 400 && OutputSize() < bytes; ++i)
            QThread::msleep(50);
        return OutputSize() >= bytes;
    }
    QByteArray ReadOutput() const {
        QFile f(Output);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // Stops the sound; the player ends in the background (the stop never waits for
    // it), so the output is given a bounded while to come to rest.
    void StopAndLetItEnd() {
        P.StopSound();
        QElapsedTimer waited;
        waited.start();
        qint64 before = -1;
        while (OutputSize() != before && waited.elapsed() < 5000) {
            before = OutputSize();
            QCoreApplication::processEvents(QEventLoop::AllEvents, 300);
            QThread::msleep(300);
        }
    }
    // True when the output stays the same size over a while.
    bool OutputStill() const {
        const qint64 before = OutputSize();
        QThread::msleep(400);
        return OutputSize() == before;
    }

    // The player plays into a file; the variables outlive it.
    const ScopedEnv Driver{"SDL_AUDIODRIVER"};
    const ScopedEnv DriverFile{"SDL_DISKAUDIOFILE"};
    QTemporaryDir Dir;
    QString Output;
    LinuxPlatform P{TLaunchHelpers{.SoundPlayer = QStringLiteral(VELMORA_SOUND_PLAYER)}};
};

// Starts `file` and waits, boundedly, for the player's answer as the clock's
// event loop would deliver it; true when it plays, else `error` says why.
bool PlayAndWait(LinuxPlatform& platform, const QString& file, QString* error = nullptr) {
    std::optional<TSoundAnswer> answer;
    platform.PlaySound(file, [&answer](const TSoundAnswer& a) { answer = a; });
    QElapsedTimer waited;
    waited.start();
    while (!answer && waited.elapsed() < 30000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    if (answer && !answer->Playing && error)
        *error = answer->Reason;
    return answer && answer->Playing;
}

// True when this process has a library whose path holds `name` mapped.
bool HasMapped(const char* name) {
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains(name);
}

// An executable shell script standing in for the player.
QString FakePlayer(const QTemporaryDir& dir, const QString& name, const QByteArray& body) {
    QFile f(dir.filePath(name));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("#!/bin/sh\n" + body);
    f.close();
    f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
    return f.fileName();
}

} // namespace

TEST_F(Sound, WavLoopsUntilStopped) {
    // A quarter-second sound: output of several times its length proves the loop.
    const QString wav = Write(QStringLiteral("chime.wav"), SineWav(0.25));
    QString error;
    ASSERT_TRUE(PlayAndWait(P, wav, &error)) << error.toStdString();
    const qint64 oneLoop = kOutputBytesPerSecond / 4;
    ASSERT_TRUE(WaitForOutput(3 * oneLoop));
    const QByteArray raw = ReadOutput();
    EXPECT_GT(Loudest(raw, 0, oneLoop), 8000);
    EXPECT_GT(Loudest(raw, 2 * oneLoop, 3 * oneLoop), 8000);

    StopAndLetItEnd();
    EXPECT_TRUE(OutputStill());
}

TEST_F(Sound, CapitalExtensionAndUnicodeNamePlay) {
    const QString wav = Write(QStringLiteral("ベル.WAV"), SineWav(0.2));
    QString error;
    EXPECT_TRUE(PlayAndWait(P, wav, &error)) << error.toStdString();
    ASSERT_TRUE(WaitForOutput(kOutputBytesPerSecond / 10));
    EXPECT_GT(Loudest(ReadOutput(), 0, kOutputBytesPerSecond / 10), 8000);
}

TEST_F(Sound, PlayingAgainReplacesTheSound) {
    const QString wav = Write(QStringLiteral("a.wav"), SineWav(0.2));
    ASSERT_TRUE(PlayAndWait(P, wav));
    ASSERT_TRUE(PlayAndWait(P, wav));
    ASSERT_TRUE(WaitForOutput(kOutputBytesPerSecond / 4));
    EXPECT_GT(Loudest(ReadOutput(), 0, kOutputBytesPerSecond / 4), 8000);
    StopAndLetItEnd();
    EXPECT_TRUE(OutputStill());
    P.StopSound(); // stopping twice is harmless
}

TEST_F(Sound, FilesThatCannotPlayReportWhy) {
    const QString cases[] = {
        Dir.filePath(QStringLiteral("missing.wav")),
        Write(QStringLiteral("noise.wav"), QByteArray(4096, '\x5A')),
        Write(QStringLiteral("cut.wav"), SineWav(0.1).left(20)),
        Write(QStringLiteral("empty.mp3"), QByteArray()),
    };
    for (const QString& file : cases) {
        QString error;
        EXPECT_FALSE(PlayAndWait(P, file, &error)) << file.toStdString();
        EXPECT_FALSE(error.isEmpty()) << file.toStdString();
    }
    // A failure leaves the player ready for the next sound.
    EXPECT_TRUE(PlayAndWait(P, Write(QStringLiteral("ok.wav"), SineWav(0.1))));
}

TEST_F(Sound, Mp3DecodesAndLoops) {
    // Ten frames last about a quarter second; a second of output means it looped.
    const QString mp3 = Write(QStringLiteral("quiet.Mp3"), SilentMp3(10));
    QString error;
    ASSERT_TRUE(PlayAndWait(P, mp3, &error)) << error.toStdString();
    EXPECT_TRUE(WaitForOutput(kOutputBytesPerSecond));
    StopAndLetItEnd();
    EXPECT_TRUE(OutputStill());
}

TEST_F(Sound, EncodedMp3IsAudible) {
    // A second of a 440 Hz sine at half the full scale, made once by an encoder
    // (LAME 3.100: mono, 32 kbit/s, 22.05 kHz) and kept with the tests, so that
    // real encoded frames are decoded on every machine, with or without one.
    const QString mp3 = QStringLiteral(VELMORA_SOURCE_DIR "/tests/unit/app/data/tone440.mp3");
    ASSERT_TRUE(QFileInfo(mp3).isFile()) << mp3.toStdString();
    QString error;
    ASSERT_TRUE(PlayAndWait(P, mp3, &error)) << error.toStdString();
    ASSERT_TRUE(WaitForOutput(kOutputBytesPerSecond));
    EXPECT_GT(Loudest(ReadOutput(), 0, kOutputBytesPerSecond), 8000);
}

TEST_F(Sound, TheClocksProcessNeverLoadsTheSoundLibraries) {
    // Once loaded, the sound servers' libraries could never be unloaded again.
    ASSERT_TRUE(PlayAndWait(P, Write(QStringLiteral("a.wav"), SineWav(0.2))));
    ASSERT_TRUE(WaitForOutput(kOutputBytesPerSecond / 10));
    P.StopSound();
    EXPECT_FALSE(HasMapped("libSDL2"));
    EXPECT_FALSE(HasMapped("libpulse"));
}

TEST_F(Sound, PlayerEndsWhenItsInputEnds) {
    // So a clock that is killed while its alarm sounds leaves no sound behind.
    QProcess player;
    player.start(QStringLiteral(VELMORA_SOUND_PLAYER),
                 {Write(QStringLiteral("a.wav"), SineWav(0.2))});
    ASSERT_TRUE(player.waitForReadyRead(5000));
    EXPECT_EQ(player.readLine().trimmed(), "playing");
    player.closeWriteChannel();
    ASSERT_TRUE(player.waitForFinished(5000));
    EXPECT_EQ(player.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(player.exitCode(), 0);
    EXPECT_TRUE(OutputStill());
}

TEST_F(Sound, PlayerNamesTheLibrariesItRunsWith) {
    QProcess player;
    player.start(QStringLiteral(VELMORA_SOUND_PLAYER), {QStringLiteral("--versions")});
    ASSERT_TRUE(player.waitForFinished(5000));
    const QString out = QString::fromUtf8(player.readAllStandardOutput());
    EXPECT_TRUE(out.contains(QRegularExpression(QStringLiteral("^SDL \\d+\\.\\d+\\.\\d+\n"
                                                               "SDL_mixer \\d+\\.\\d+\\.\\d+\n$"))))
        << out.toStdString();
}

TEST_F(Sound, APlayerThatFailsIsReportedAndTheNextSoundPlays) {
    const QString wav = Write(QStringLiteral("a.wav"), SineWav(0.1));
    struct TCase {
        const char* Name;
        QString Player;
        const char* Reason;
    };
    const TCase cases[] = {
        {"missing", Dir.filePath(QStringLiteral("no-such-player")),
         "cannot start the sound player"},
        {"ends at once", FakePlayer(Dir, QStringLiteral("ends.sh"), "exit 3\n"), "exit code 3"},
        {"crashes", FakePlayer(Dir, QStringLiteral("crashes.sh"), "kill -SEGV $$\n"), "crashed"},
    };
    for (const TCase& c : cases) {
        LinuxPlatform broken{TLaunchHelpers{.SoundPlayer = c.Player}};
        QString error;
        EXPECT_FALSE(PlayAndWait(broken, wav, &error)) << c.Name;
        EXPECT_TRUE(error.contains(QLatin1String(c.Reason)))
            << c.Name << ": " << error.toStdString();
    }
    EXPECT_TRUE(PlayAndWait(P, wav));
}

TEST_F(Sound, APlayerThatEndsWhilePlayingLeavesTheClockRunning) {
    // A decoder that trips over its file mid-way ends the player, not the clock.
    LinuxPlatform p{TLaunchHelpers{.SoundPlayer = FakePlayer(Dir, QStringLiteral("dies.sh"),
                                                             "echo playing\nkill -SEGV $$\n")}};
    EXPECT_TRUE(PlayAndWait(p, Write(QStringLiteral("a.wav"), SineWav(0.1))));
    QThread::msleep(200);
    QCoreApplication::processEvents();
    p.StopSound();
    EXPECT_TRUE(PlayAndWait(p, Write(QStringLiteral("b.wav"), SineWav(0.1))));
}

// A player stuck on its file (a stalled network folder) holds nothing up: the
// start returns before any answer, the silence is reported after a while, and
// the next sound plays.
TEST_F(Sound, APlayerThatNeverAnswersIsNotWaitedFor) {
    LinuxPlatform stuck{TLaunchHelpers{
        .SoundPlayer = FakePlayer(Dir, QStringLiteral("stuck.sh"), "exec sleep 600\n")}};
    std::optional<TSoundAnswer> answer;
    stuck.PlaySound(Write(QStringLiteral("a.wav"), SineWav(0.1)),
                    [&answer](const TSoundAnswer& a) { answer = a; });
    EXPECT_FALSE(answer.has_value()) << "the start waited for the player";
    QElapsedTimer waited;
    waited.start();
    while (!answer && waited.elapsed() < 30000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    ASSERT_TRUE(answer.has_value());
    EXPECT_FALSE(answer->Playing);
    EXPECT_TRUE(answer->Reason.contains(QLatin1String("did not answer")))
        << answer->Reason.toStdString();
    stuck.StopSound(); // returns at once; the player is killed in the background
    EXPECT_TRUE(PlayAndWait(P, Write(QStringLiteral("b.wav"), SineWav(0.1))));
}
