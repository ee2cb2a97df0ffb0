// The language files' keys and their built-in texts: every key in file order with
// its section and the line the default language file carries, the fallbacks a
// message or a caption shows while no file has filled it in, and the default
// language file itself.
#pragma once

#include "core/MessageTable.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <span>
#include <vector>

namespace velmora {

inline const QString kDefaultLangFileName = QStringLiteral("Vlm日本語_かな.lang");

// One key of a language file: where it lives, the line the default file carries
// (none for keys added later), its built-in text when that differs from the
// line, and the message-table field it fills (none: a caption).
struct TLangKey {
    const char* Section;
    const char* Key;
    const char* FileText;
    const char* Fallback;
    QString TMessageTable::*Field;
};
// Every key in file order; the default file is written from this table.
std::span<const TLangKey> LangKeyTable();
// The built-in text of one key of the table.
QString FallbackOf(const TLangKey& key);

// The 139 lines of the default language file, as written (BOM, CR LF).
QByteArray DefaultLangFileBytes();
// Replaces `path` by the default language file; throws TIniWriteError.
void WriteDefaultLangFile(const QString& path);
// The built-in text of a key ("ActPopQuit.Caption", "MsgDialogCaption"); empty
// for an unknown key.
QString FallbackText(const QString& key);
// `text`, or the built-in text of `key` while no language file has filled it in:
// a message must say something even before one is loaded.
QString OrFallback(const QString& text, const QString& key);

// One key of the language files, in file order, with the text the default file
// carries for it (its built-in text where the default file has no line for it).
struct TLangKeyInfo {
    QString Section;
    QString Key;
    QString DefaultText;
};
std::vector<TLangKeyInfo> LangKeys();

// The caption keys of a section in file order ("MainForm": the clock window's
// actions, menu items and icon tooltip, as Captions() holds them after loading).
QStringList CaptionKeys(const QString& section);

// Lines as this program writes its own files: UTF-16 LE with the byte order mark
// FF FE and CR LF after every line.
QByteArray TextFileBytes(const QStringList& lines);

} // namespace velmora
