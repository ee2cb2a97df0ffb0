#include "Report.h"

#include <QLocalSocket>
#include <algorithm>

namespace velmora {

QString ClockSocketPath(const QString& runtimeDir) {
    return runtimeDir + QStringLiteral("/VelmoLimitMultiInstance.sock");
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
