// Feeds arbitrary bytes to the version reader as a whole file (PE or ELF) and as
// a bare version block. Beyond not crashing or reading out of bounds: a file's
// reader either fails with one of its three texts or answers every query.
#include "core/ExecutableImage.h"
#include "core/KvVersionInfo.h"
#include "core/VersionStamp.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

using namespace velmora;

namespace {

void Query(const TKvVersionInfo& info) {
    if (!info.HasVersionInfo()) {
        if (info.TranslationCount() != 0 ||
            info.GetProductVersionStr(0) != QStringLiteral("No Version Information"))
            abort();
        return;
    }
    for (int i = 0; i < info.TranslationCount() && i < 4; ++i)
        info.GetStringValue(info.GetTranslationStr(i), QStringLiteral("ProductVersion"));
    info.GetProductVersionStr(0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView image(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        Query(TKvVersionInfo::FromImage(image));
    } catch (const TKvVersionInfoError& e) {
        if (std::strcmp(e.what(), kCannotLoadVersionInformation) != 0 &&
            std::strcmp(e.what(), kCannotReadFixedFileInfo) != 0 &&
            std::strcmp(e.what(), kFixedFileInfoWrongSize) != 0)
            abort();
    }
    // The bytes as a block of their own.
    const QByteArray block = image.toByteArray();
    TVSFixedFileInfo fixed;
    ReadFixedFileInfo(block, fixed);
    for (const TTransRec& t : ReadTranslationTable(block))
        ReadStringFileInfo(block,
                           QStringLiteral("%1%2")
                               .arg(t.Lang, 4, 16, QLatin1Char('0'))
                               .arg(t.CharSet, 4, 16, QLatin1Char('0')),
                           QStringLiteral("ProductVersion"));
    VerQueryValue(block, QStringLiteral("\\StringFileInfo\\041103A4\\ProductVersion"));
    return 0;
}
