// Feeds arbitrary bytes as a language file to what the clock, the options dialog and
// the about dialog read from it. Beyond not crashing: no text grows past its limit,
// and a message pattern from the file cannot make a message longer than its pattern
// and arguments.
#include "FuzzLangFiles.h"
#include "app/LangFiles.h"

using namespace velmora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString dir = FuzzFolder();
    const QString path = dir + QStringLiteral("Fuzz.lang");
    WriteFuzzFile(path, data, size);
    SetLangDir(dir);
    SetCurrentLangFile(path);
    LoadLangFile();
    for (const TCaption& c : LoadOptionFormTexts())
        if (c.Text.size() > kMaxLangTextLength)
            abort();
    for (const TCaption& c : LoadAboutFormTexts())
        if (c.Text.size() > kMaxLangTextLength)
            abort();
    for (const QString& text : Captions())
        if (text.size() > kMaxLangTextLength)
            abort();
    for (const TBalloonContent& b : BalloonContents())
        if (b.Hint.size() > 4 * kMaxLangTextLength)
            abort();
    const QString pattern = QString::fromUtf8(reinterpret_cast<const char*>(data),
                                              qsizetype(std::min<size_t>(size, 512)));
    const QStringList args = {QStringLiteral("a"), QStringLiteral("bb")};
    if (FormatMsg(pattern, args).size() > pattern.size() + 3)
        abort();
    return 0;
}
