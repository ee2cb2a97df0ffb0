#include "Report.h"

#include <QDir>
#include <QLocalSocket>
#include <algorithm>
#include <unistd.h>

namespace velmora {

namespace {
const QString kSocketName = QStringLiteral("VelmoLimitMultiInstance");

bool IsDecimal(const QString& s) {
    if (s.isEmpty() || s.size() > 10)
        return false;
    for (const QChar c : s) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    bool ok = false;
    s.toUInt(&ok);
    return ok;
}
} // namespace

QString ClockSocketPath(const SocketEnvironment& env) {
    const QString sockName = kSocketName + QStringLiteral(".sock");
    const auto exists = [&env](const QString& dir) { return env.dirExists && env.dirExists(dir); };
    if (!env.xdgRuntimeDir.isEmpty())
        return (exists(env.xdgRuntimeDir) ? env.xdgRuntimeDir : env.tempDir) + QLatin1Char('/') +
               sockName;
    unsigned uid = env.realUid;
    if (IsDecimal(env.pkexecUid)) {
        uid = env.pkexecUid.toUInt();
        const QString userRun = QStringLiteral("/run/user/%1").arg(uid);
        if (exists(userRun))
            return userRun + QLatin1Char('/') + sockName;
    }
    return env.tempDir + QLatin1Char('/') + kSocketName + QStringLiteral("-%1.sock").arg(uid);
}

QString ClockSocketPathFromEnvironment() {
    SocketEnvironment env;
    env.xdgRuntimeDir = qEnvironmentVariable("XDG_RUNTIME_DIR");
    env.pkexecUid = qEnvironmentVariable("PKEXEC_UID");
    env.tempDir = QDir::tempPath();
    env.realUid = getuid();
    env.dirExists = [](const QString& dir) { return QDir(dir).exists(); };
    return ClockSocketPath(env);
}

QByteArray ReportLine(std::uint32_t hash, SyncResult result) {
    return QByteArray("SYNCRESULT ") + QByteArray::number(hash) + ' ' +
           QByteArray::number(int(result)) + '\n';
}

std::optional<SyncReportLine> ParseReportLine(const QByteArray& line) {
    QByteArray text = line;
    if (text.endsWith('\n'))
        text.chop(1);
    const QList<QByteArray> parts = text.split(' ');
    if (parts.size() != 3 || parts[0] != "SYNCRESULT")
        return std::nullopt;
    const auto digitsOnly = [](const QByteArray& s) {
        return !s.isEmpty() && s.size() <= 10 &&
               std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (!digitsOnly(parts[1]) || !digitsOnly(parts[2]))
        return std::nullopt;
    bool hashOk = false;
    bool codeOk = false;
    SyncReportLine r;
    r.hash = parts[1].toUInt(&hashOk);
    r.code = parts[2].toInt(&codeOk);
    if (!hashOk || !codeOk)
        return std::nullopt;
    return r;
}

bool SendReport(const QString& socketPath, std::uint32_t hash, SyncResult result, int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(ReportLine(hash, result));
    const bool ok = socket.waitForBytesWritten(timeoutMs);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(timeoutMs);
    return ok;
}

} // namespace velmora
