#include "Report.h"

#include <QList>
#include <algorithm>

namespace velmora {

QString ClockSocketPath(const QString& runtimeDir) {
    return runtimeDir + QStringLiteral("/VelmoLimitMultiInstance.sock");
}

QByteArray ReportLine(std::uint32_t hash, SyncResult result, SyncReason reason,
                      std::int64_t stepS) {
    QByteArray line = QByteArray("SYNCRESULT ") + QByteArray::number(hash) + ' ' +
                      QByteArray::number(int(result));
    if (reason != SyncReason::None)
        line += ' ' + QByteArray::number(int(reason)) + ' ' + QByteArray::number(qint64(stepS));
    return line + '\n';
}

namespace {

bool DigitsOnly(const QByteArray& s, int most) {
    return !s.isEmpty() && s.size() <= most &&
           std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The optional reason and step; false when they are not well formed or out of range.
bool ParseReason(const QByteArray& reason, const QByteArray& step, SyncReportLine* r) {
    const bool negative = step.startsWith('-');
    const QByteArray digits = negative ? step.mid(1) : step;
    if (!DigitsOnly(reason, 3) || !DigitsOnly(digits, 12))
        return false;
    const int code = reason.toInt();
    const qint64 size = digits.toLongLong();
    if (code < 1 || code > kLastSyncReason || size > kMaxReportStepS)
        return false;
    r->reason = SyncReason(code);
    r->stepS = negative ? -size : size;
    return true;
}

} // namespace

std::optional<SyncReportLine> ParseReportLine(const QByteArray& line) {
    QByteArray text = line;
    if (text.endsWith('\n'))
        text.chop(1);
    const QList<QByteArray> parts = text.split(' ');
    if ((parts.size() != 3 && parts.size() != 5) || parts[0] != "SYNCRESULT")
        return std::nullopt;
    if (!DigitsOnly(parts[1], 10) || !DigitsOnly(parts[2], 10))
        return std::nullopt;
    bool hashOk = false;
    bool codeOk = false;
    SyncReportLine r;
    r.hash = parts[1].toUInt(&hashOk);
    r.code = parts[2].toInt(&codeOk);
    if (!hashOk || !codeOk)
        return std::nullopt;
    if (parts.size() == 5 && !ParseReason(parts[3], parts[4], &r))
        return std::nullopt;
    return r;
}

} // namespace velmora
