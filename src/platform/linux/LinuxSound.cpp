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

// The player's first line: "playing", or "error: " and SDL's reason. Empty when
// it ended or stayed silent without one.
QString FirstLine(QProcess& player) {
    QByteArray line;
    while (!line.endsWith('\n')) {
        if (!player.bytesAvailable() && !player.waitForReadyRead(kAnswerWaitMs))
            break;
        line += player.readLine();
    }
    return QString::fromUtf8(line).trimmed();
}

} // namespace

QString LinuxPlatform::SoundPlayer() const {
    return helpers_.SoundPlayer.isEmpty() ? PlayerBesideProgram() : helpers_.SoundPlayer;
}

bool LinuxPlatform::PlaySound(const QString& fileName, QString* error) {
    StopSound();
    auto player = std::make_unique<QProcess>();
    // SDL's own notes (a missing server, the disk driver) go where the clock's go.
    player->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    player->start(SoundPlayer(), {fileName});
    if (!player->waitForStarted(kAnswerWaitMs)) {
        if (error)
            *error = QStringLiteral("cannot start the sound player %1: %2")
                         .arg(SoundPlayer(), player->errorString());
        return false;
    }
    const QString answer = FirstLine(*player);
    if (answer == QLatin1String("playing")) {
        // A player that ends by itself (a decoder that failed mid-file) is noted
        // for the developer; the alarm goes on silently.
        QObject::connect(player.get(), &QProcess::finished, player.get(),
                         [p = player.get()](int code, QProcess::ExitStatus status) {
                             QTextStream(stderr)
                                 << "velmora: the sound player ended on its own ("
                                 << (status == QProcess::CrashExit ? QStringLiteral("crashed")
                                                                   : QString::number(code))
                                 << ")" << Qt::endl;
                             p->disconnect();
                         });
        sound_ = std::move(player);
        return true;
    }
    if (error)
        *error = answer.startsWith(QLatin1String("error: "))
                     ? answer.mid(7)
                     : QStringLiteral("the sound player gave no answer (%1)")
                           .arg(player->state() == QProcess::NotRunning
                                    ? player->exitStatus() == QProcess::CrashExit
                                          ? QStringLiteral("it crashed")
                                          : QStringLiteral("exit code %1").arg(player->exitCode())
                                    : QStringLiteral("it did not answer"));
    EndPlayer(*player);
    return false;
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
    sound_->disconnect();
    EndPlayer(*sound_);
    sound_.reset();
}

// Its input ends: the player halts, closes the audio device and ends. One that
// does not is killed, so that the next sound finds the device free.
void LinuxPlatform::EndPlayer(QProcess& player) {
    if (player.state() == QProcess::NotRunning)
        return;
    player.closeWriteChannel();
    if (!player.waitForFinished(kEndWaitMs)) {
        player.kill();
        player.waitForFinished(kEndWaitMs);
    }
}

} // namespace velmora
