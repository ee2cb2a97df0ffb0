// The alarm sound, played by VelmoSound in a process of its own. SDL's sound
// servers' libraries cannot be unloaded once a process has loaded them, so
// playing in the clock would leave megabytes behind after the first alarm for
// the rest of the day; a decoder that trips over a hostile file ends the player,
// not the clock. The audio device is held only while the player runs.
#include "platform/linux/LinuxPlatform.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QTextStream>
#include <QTimer>
#include <algorithm>

namespace velmora {

namespace {

// Starting SDL's audio on a busy sound server takes a moment; a player that
// has said nothing by then is taken as stuck.
constexpr int kAnswerWaitMs = 5000;
// How long a player gets to close the audio device after its input ends.
constexpr int kEndWaitMs = 2000;

QString PlayerBesideProgram() {
    const QString dir = QCoreApplication::applicationDirPath();
    // The portable folder holds it beside the program; the package, beside the sync tool.
    for (const QString& relative :
         {QStringLiteral("/VelmoSound"), QStringLiteral("/../libexec/velmora/VelmoSound")}) {
        const QFileInfo candidate(dir + relative);
        if (candidate.isFile() && candidate.isExecutable())
            return candidate.canonicalFilePath();
    }
    return dir + QStringLiteral("/VelmoSound");
}

// The name a player's answer watch goes by among the player's children.
constexpr char kAnswerWatchName[] = "velmora-sound-answer";

// Why a player that has not said "playing" cannot play, from how it ended.
QString NoAnswerReason(const QProcess& player) {
    if (player.state() != QProcess::NotRunning)
        return QStringLiteral("the sound player gave no answer (it did not answer)");
    return QStringLiteral("the sound player gave no answer (%1)")
        .arg(player.exitStatus() == QProcess::CrashExit
                 ? QStringLiteral("it crashed")
                 : QStringLiteral("exit code %1").arg(player.exitCode()));
}

// The player's answer, given once: "playing", or "error: " and SDL's reason, or
// its silence. Everything arrives through the player's signals: the clock never
// waits for it.
class TSoundAnswerWatch : public QObject {
public:
    TSoundAnswerWatch(QProcess* player, TSoundWatch onAnswer, std::function<void()> onFailed)
        : QObject(player), FPlayer(player), FOnAnswer(std::move(onAnswer)),
          FOnFailed(std::move(onFailed)) {
        setObjectName(QLatin1String(kAnswerWatchName));
        FDeadline.setSingleShot(true);
        FDeadline.setInterval(kAnswerWaitMs);
        connect(&FDeadline, &QTimer::timeout, this, [this] { Fail(NoAnswerReason(*FPlayer)); });
        connect(player, &QProcess::readyReadStandardOutput, this, &TSoundAnswerWatch::Read);
        connect(player, &QProcess::finished, this, [this] { Fail(NoAnswerReason(*FPlayer)); });
        connect(player, &QProcess::errorOccurred, this, [this](QProcess::ProcessError e) {
            if (e == QProcess::FailedToStart)
                Fail(QStringLiteral("cannot start the sound player %1: %2")
                         .arg(FPlayer->program(), FPlayer->errorString()));
        });
        FDeadline.start();
    }
    // The answer no longer counts: nothing more is said.
    void Silence() {
        FAnswered = true;
        FDeadline.stop();
    }

private:
    void Read() {
        // A first line longer than any answer is no answer.
        FLine += FPlayer->read(256 - FLine.size());
        const qsizetype end = FLine.indexOf('\n');
        if (end < 0 && FLine.size() < 256)
            return;
        const QString answer = QString::fromUtf8(FLine.left(std::max<qsizetype>(end, 0))).trimmed();
        if (answer == QLatin1String("playing"))
            Answer({true, QString()});
        else
            Fail(answer.startsWith(QLatin1String("error: ")) ? answer.mid(7)
                                                             : NoAnswerReason(*FPlayer));
    }
    void Fail(const QString& reason) {
        if (FAnswered)
            return;
        Answer({false, reason});
        if (FOnFailed)
            FOnFailed();
    }
    void Answer(const TSoundAnswer& answer) {
        if (FAnswered)
            return;
        FAnswered = true;
        FDeadline.stop();
        disconnect(FPlayer, &QProcess::readyReadStandardOutput, this, nullptr);
        if (answer.Playing)
            WatchTheEnd();
        if (FOnAnswer)
            FOnAnswer(answer);
    }
    // A player that ends by itself (a decoder that failed mid-file) is noted for
    // the developer; the alarm goes on silently.
    void WatchTheEnd() {
        disconnect(FPlayer, &QProcess::finished, this, nullptr);
        connect(FPlayer, &QProcess::finished, this, [this](int code, QProcess::ExitStatus status) {
            QTextStream(stderr) << "velmora: the sound player ended on its own ("
                                << (status == QProcess::CrashExit ? QStringLiteral("crashed")
                                                                  : QString::number(code))
                                << ")" << Qt::endl;
        });
    }

    QProcess* FPlayer;
    TSoundWatch FOnAnswer;
    std::function<void()> FOnFailed;
    QTimer FDeadline;
    QByteArray FLine;
    bool FAnswered = false;
};

} // namespace

QString LinuxPlatform::SoundPlayer() const {
    return helpers_.SoundPlayer.isEmpty() ? PlayerBesideProgram() : helpers_.SoundPlayer;
}

void LinuxPlatform::PlaySound(const QString& fileName, TSoundWatch onAnswer) {
    StopSound();
    // Owned by sounds_ until it has ended, also after StopSound.
    auto* player = new QProcess(sounds_.get());
    // SDL's own notes (a missing server, the disk driver) go where the clock's go.
    player->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    sound_ = player;
    // A player that cannot play is ended; the next sound finds the device free.
    new TSoundAnswerWatch(player, std::move(onAnswer), [this, player] {
        if (sound_ == player)
            sound_ = nullptr;
        EndPlayer(player);
    });
    player->start(SoundPlayer(), {fileName});
}

// "SDL 2.26.5" and "SDL_mixer 2.6.3", one a line, from the player itself: the
// libraries it runs with, never loaded into the clock for the question.
TSoundLibraryVersions LinuxPlatform::SoundLibraryVersions() {
    QProcess player;
    player.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    player.start(SoundPlayer(), {QStringLiteral("--versions")});
    TSoundLibraryVersions versions;
    if (!player.waitForFinished(kAnswerWaitMs)) {
        player.kill();
        player.waitForFinished(kEndWaitMs);
        return versions;
    }
    const QString out = QString::fromUtf8(player.readAllStandardOutput());
    for (const QString& line : out.split(QLatin1Char('\n'))) {
        const QStringList parts = line.trimmed().split(QLatin1Char(' '));
        if (parts.size() != 2)
            continue;
        if (parts[0] == QLatin1String("SDL"))
            versions.Sdl = parts[1];
        else if (parts[0] == QLatin1String("SDL_mixer"))
            versions.Mixer = parts[1];
    }
    return versions;
}

void LinuxPlatform::StopSound() {
    if (!sound_)
        return;
    QProcess* player = sound_;
    sound_ = nullptr;
    EndPlayer(player);
}

// Its input ends: the player halts, closes the audio device and ends. One that
// does not is killed soon after, so that the next sound finds the device free.
// Nothing here waits: the player goes away when it has ended.
void LinuxPlatform::EndPlayer(QProcess* player) {
    // Its answer no longer counts.
    if (QObject* watch = player->findChild<QObject*>(QLatin1String(kAnswerWatchName),
                                                     Qt::FindDirectChildrenOnly)) {
        static_cast<TSoundAnswerWatch*>(watch)->Silence();
        watch->deleteLater(); // it may be the one whose answer led here
    }
    if (player->state() == QProcess::NotRunning) {
        player->deleteLater();
        return;
    }
    QObject::connect(player, &QProcess::finished, player, &QObject::deleteLater);
    player->closeWriteChannel();
    QTimer::singleShot(kEndWaitMs, player, [player] { player->kill(); });
}

} // namespace velmora
