// Feeds arbitrary bytes to the sectioned document and every text form read from it.
// Beyond not crashing: what is written reads back to the same document.
#include "core/ColorText.h"
#include "core/IniDocument.h"
#include "core/TextForms.h"

#include <cstdint>
#include <cstdlib>

using namespace velmora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const QLocale locales[] = {QLocale::c(), QLocale(QLocale::German, QLocale::Germany),
                                      QLocale(QLocale::English, QLocale::UnitedStates)};
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QLocale& locale = locales[size % 3];
    IniDocument doc(QString(), locale);
    doc.LoadFromBytes(bytes);

    for (const QString& section : doc.ReadSections()) {
        for (const QString& line : doc.ReadSectionValues(section)) {
            const QString key = line.section(QLatin1Char('='), 0, 0);
            doc.ReadInteger(section, key, 0);
            doc.ReadBool(section, key, false);
            doc.ReadColor(section, key, 0);
            const double f = doc.ReadFloat(section, key, 0);
            const double t = doc.ReadTime(section, key, 0);
            // What the forms write, they read back.
            IniDocument w(QString(), locale);
            w.WriteFloat("S", "f", f);
            if (w.ReadFloat("S", "f", -12345.0) != f && f == f)
                if (QString::number(f, 'g', 15).toDouble() == f)
                    abort();
            w.WriteTime("S", "t", t);
            if (!SameTimeOfDay(w.ReadTime("S", "t", 0.123), t) && TimeOfDayMs(t) % 1000 == 0)
                abort();
        }
    }
    // Writing and reading again gives the same document.
    IniDocument again(QString(), locale);
    again.LoadFromBytes(doc.ToBytes());
    if (again.GetStrings() != doc.GetStrings())
        abort();
    // Writes keep the structure: one key, one line.
    try {
        again.WriteString(QStringLiteral("Fuzz"), QString::fromUtf8(bytes.left(16)),
                          QString::fromUtf8(bytes.mid(16, 64)));
    } catch (const TIniWriteError&) {
        return 0; // refused, as it should be for a key that could not be read back
    }
    IniDocument third(QString(), locale);
    third.LoadFromBytes(again.ToBytes());
    if (third.ReadSections().size() != again.ReadSections().size())
        abort();
    return 0;
}
