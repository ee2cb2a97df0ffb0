// Feeds arbitrary bytes to the instance channel as a peer on the socket could send
// them: cut into lines as the clock reads them, each line given to the report parser.
// Beyond not crashing: a report read is written back as the same report.
#include "Report.h"

#include <QByteArray>
#include <QList>
#include <algorithm>
#include <cstdint>
#include <cstdlib>

using namespace velmora;

namespace {

// As the channel reads: at most 255 bytes a line, surrounding white space dropped.
QList<QByteArray> ChannelLines(const QByteArray& bytes) {
    QList<QByteArray> lines;
    qsizetype at = 0;
    while (at < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', at);
        end = end < 0 ? bytes.size() : end + 1;
        end = std::min(end, at + 255);
        lines << bytes.mid(at, end - at).trimmed();
        at = end;
    }
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const QByteArray& line : ChannelLines(bytes)) {
        const auto report = ParseReportLine(line);
        if (!report)
            continue;
        const QByteArray written = QByteArray("SYNCRESULT ") + QByteArray::number(report->hash) +
                                   ' ' + QByteArray::number(report->code) + '\n';
        const auto back = ParseReportLine(written);
        if (!back || back->hash != report->hash || back->code != report->code)
            abort();
        if (report->code >= 0 && report->code <= 6 &&
            written != ReportLine(report->hash, SyncResult(report->code)))
            abort();
    }
    return 0;
}
