#include "core/CommandSections.h"

#include <algorithm>
#include <vector>

namespace velmora {

namespace {

const QString kListSection = QStringLiteral("CommandList");
const QString kCount = QStringLiteral("Count");

QString SectionName(int index) {
    return QStringLiteral("Command%1").arg(index);
}

// The k of every "Command<k>" section in the document.
std::vector<int> CommandSectionIndexes(const IniDocument& doc) {
    static const QString prefix = QStringLiteral("Command");
    std::vector<int> indexes;
    for (const QString& name : doc.ReadSections()) {
        if (!name.startsWith(prefix, Qt::CaseInsensitive))
            continue;
        bool ok = false;
        const int k = name.mid(prefix.size()).toInt(&ok);
        if (ok && k >= 0)
            indexes.push_back(k);
    }
    return indexes;
}

// The values an item takes for keys its section lacks.
struct TItemDefaults {
    QString Title;
    QString FileName;
    QString OptionStr;
};

std::unique_ptr<TKvCommandItem> ReadItem(const IniDocument& doc, const QString& section,
                                         const TItemDefaults& def) {
    auto item = std::make_unique<TKvCommandItem>();
    item->SetTitle(doc.ReadString(section, QStringLiteral("Title"), def.Title));
    item->SetFileName(doc.ReadString(section, QStringLiteral("FileName"), def.FileName));
    item->SetOptionStr(doc.ReadString(section, QStringLiteral("OptionStr"), def.OptionStr));
    item->SetAsAdmin(doc.ReadBool(section, QStringLiteral("AsAdmin"), false));
    item->SetHideWindow(doc.ReadBool(section, QStringLiteral("HideWindow"), false));
    item->SetAtStartup(doc.ReadBool(section, QStringLiteral("AtStartup"), false));
    item->SetAtResume(doc.ReadBool(section, QStringLiteral("AtResume"), false));
    item->SetAtSpTime(doc.ReadBool(section, QStringLiteral("AtSpTime"), false));
    item->SetSpTime(doc.ReadTime(section, QStringLiteral("SpTime"), 0.0));
    return item;
}

void WriteItem(IniDocument& doc, const QString& section, const TKvCommandItem& item,
               const TPathForm& toFile) {
    doc.WriteString(section, QStringLiteral("Title"), item.Title());
    doc.WriteString(section, QStringLiteral("FileName"),
                    toFile ? toFile(item.FileName()) : item.FileName());
    doc.WriteString(section, QStringLiteral("OptionStr"), item.OptionStr());
    doc.WriteBool(section, QStringLiteral("AsAdmin"), item.AsAdmin());
    doc.WriteBool(section, QStringLiteral("HideWindow"), item.HideWindow());
    doc.WriteBool(section, QStringLiteral("AtStartup"), item.AtStartup());
    doc.WriteBool(section, QStringLiteral("AtResume"), item.AtResume());
    doc.WriteBool(section, QStringLiteral("AtSpTime"), item.AtSpTime());
    doc.WriteTime(section, QStringLiteral("SpTime"), item.SpTime());
}

} // namespace

QString DefaultCommand0SectionTitle() {
    return QStringLiteral("とけー あわせ");
}

QString SyncToolPath(const QString& programDir) {
    return programDir + QStringLiteral("/Sync/VelmoSync");
}

std::unique_ptr<TKvCommandItem> BuiltInCommand0(const QString& command0Title,
                                                const QString& syncTool) {
    auto item = std::make_unique<TKvCommandItem>();
    item->SetTitle(command0Title);
    item->SetFileName(syncTool);
    item->SetOptionStr(QString::fromLatin1(kDefaultNtpServer));
    // The tool runs as the user and asks the system's time service to set the clock.
    item->SetAsAdmin(false);
    return item;
}

namespace {

// Reads the commands as stored; true when the file holds more than the limit.
bool ReadCommandList(const IniDocument& doc, TKvCommandList& list, const QString& command0Title,
                     const QString& syncTool) {
    // SectionExists is false for a section without any line, which then counts as
    // missing: the built-in command takes its place.
    const QString first = SectionName(0);
    if (doc.SectionExists(first))
        list.Add(ReadItem(
            doc, first,
            {DefaultCommand0SectionTitle(), syncTool, QString::fromLatin1(kDefaultNtpServer)}));
    else
        list.Add(BuiltInCommand0(command0Title, syncTool));

    if (!doc.SectionExists(kListSection))
        return false;
    const int32_t count = doc.ReadInteger(kListSection, kCount, 1);
    for (int32_t k = 1; k < std::min(count, kMaxCommandCount); ++k) {
        const QString section = SectionName(k);
        if (!doc.SectionExists(section))
            return false; // a gap ends the list
        list.Add(ReadItem(doc, section, {section, QString(), QString()}));
    }
    return count > kMaxCommandCount && doc.SectionExists(SectionName(kMaxCommandCount));
}

} // namespace

bool LoadCommandList(const IniDocument& doc, TKvCommandList& list, const QString& command0Title,
                     const QString& syncTool, const TPathForm& fromFile) {
    const bool more = ReadCommandList(doc, list, command0Title, syncTool);
    if (fromFile)
        for (int k = 0; k < list.Count(); ++k)
            list.Items(k).SetFileName(fromFile(list.Items(k).FileName()));
    return more;
}

void SaveCommandSections(IniDocument& doc, const TKvCommandList& list, const TPathForm& toFile) {
    // The sections of the previous save go, and so does any older section whose name
    // is about to be written (a stale one would keep foreign keys and its old place).
    // They are found among the sections present rather than by counting up to a
    // Count that a hand-edited file may set to two billion. Sections beyond the
    // most that loading takes were never loaded: they stay as they are.
    const int32_t previous = std::min(doc.ReadInteger(kListSection, kCount, 1), kMaxCommandCount);
    const int32_t limit = std::max(previous, int32_t(list.Count()));
    for (const int k : CommandSectionIndexes(doc))
        if (k < limit)
            doc.EraseSection(SectionName(k));
    doc.EraseSection(kListSection);
    doc.WriteInteger(kListSection, kCount, list.Count());
    for (int k = 0; k < list.Count(); ++k)
        WriteItem(doc, SectionName(k), list.Items(k), toFile);
}

} // namespace velmora
