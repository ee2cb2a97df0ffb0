// Feeds arbitrary bytes as the day-of-week words file to what the clock and the
// options dialog read from it. Beyond not crashing: no word grows past its limit,
// and a kind the dialog may store again reads back with the same words.
#include "app/DayWords.h"
#include "FuzzLangFiles.h"
#include "core/IniDocument.h"
#include "app/LangFiles.h"

using namespace velmora;

namespace {

bool Same(const TDayOfTheWeekStr& a, const TDayOfTheWeekStr& b) {
    for (int day = 1; day <= 7; ++day)
        if (a.ForIsoDay(day) != b.ForIsoDay(day))
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = FuzzFolder() + kDayLangFileName;
    WriteFuzzFile(path, data, size);
    ReadDayLangKind(path);
    const QStringList sections = ReadDaySections(path);
    for (const QString& kind : ReadDayKinds(path)) {
        const TDayOfTheWeekStr words = LoadDayWords(path, kind);
        for (int day = 1; day <= 7; ++day)
            if (words.ForIsoDay(day).size() > kMaxDayWordLength)
                abort();
        const QStringList lines = ReadDayKindLines(path, kind);
        DaySectionExists(path, kind);
        // Only a kind that appears once reads as one set of lines.
        if (sections.count(kind) != 1 || !DayKindTitleProblem(kind).isEmpty() ||
            !DayKindLinesValid(lines))
            continue;
        try {
            WriteDaySection(path, kind, lines);
        } catch (const TIniWriteError&) {
            continue; // not UTF-16, say: refused and left alone
        } catch (const TDayKindError&) {
            continue;
        }
        if (!Same(LoadDayWords(path, kind), words))
            abort();
        break; // the file has changed; the other kinds are for other inputs
    }
    return 0;
}
