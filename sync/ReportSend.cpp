// Sending the answer line: the tool's side alone, so that the clock, which only
// reads such lines, keeps no network library in memory.
#include "Report.h"

#include <QLocalSocket>

namespace velmora {

bool SendReport(const QString& socketPath, const QByteArray& line, int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(line);
    const bool ok = socket.waitForBytesWritten(timeoutMs);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(timeoutMs);
    return ok;
}

bool SendReport(const QString& socketPath, std::uint32_t hash, SyncResult result, int timeoutMs) {
    return SendReport(socketPath, ReportLine(hash, result), timeoutMs);
}

} // namespace velmora
