// The day-of-week words file "VlmDay.lang" in the language folder: named sets of
// seven words ("kinds"), one of which is current. Every operation opens the file
// afresh; every write is atomic and throws TIniWriteError when it fails (the file
// is then as it was).
//
// Use from the clock window at start-up, after LoadLangFile():
//   DayWords = InitDayWords(LangDir());
// and from the options dialog: ReadDayKinds, ReadDayKindLines, DaySectionExists,
// DayKindTitleProblem, WriteDaySection, EraseDaySection, ChooseDayLangKind and,
// when it closes, WriteDayLangKind(DayLangFile(), CurrentDayLangKind()).
#pragma once

#include "core/DayOfTheWeekStr.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <stdexcept>

namespace velmora {

inline const QString kDayLangSection = QStringLiteral("DayLang");
inline const QString kDayLangKindKey = QStringLiteral("DayLangKind");
inline const QString kDefaultDayLangKind = QStringLiteral("English_LatinAlphabet");

// A word longer than this (UTF-16 code units) takes its default.
inline constexpr qsizetype kMaxDayWordLength = 255;

// Raised when a kind cannot be stored under the title or with the lines given.
class TDayKindError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The 19 lines of the default file, as written (BOM, CR LF).
QByteArray DefaultDayFileBytes();
// Replaces `path` by the default file.
void WriteDefaultDayFile(const QString& path);

// DayLangKind of section DayLang, or "English_LatinAlphabet" when missing.
QString ReadDayLangKind(const QString& path);
// The words of section `kind`; keys "1" (Monday) to "7" (Sunday), each missing
// key giving its English default; a key present but empty gives an empty word.
TDayOfTheWeekStr LoadDayWords(const QString& path, const QString& kind);
// Stores `kind` as DayLangKind (section DayLang, made at the end when missing).
void WriteDayLangKind(const QString& path, const QString& kind);
// Every section name in file order, DayLang included.
QStringList ReadDaySections(const QString& path);
// The kinds: the section names without DayLang.
QStringList ReadDayKinds(const QString& path);
// The lines of a kind ("1=Mon" ...), for editing.
QStringList ReadDayKindLines(const QString& path, const QString& kind);
// True when the kind exists with at least one line.
bool DaySectionExists(const QString& path, const QString& kind);

// Why `title` cannot name a kind (the text to show, from the message table), or
// empty when it can. DayLang, "[" and "]" anywhere and a leading ";" are refused:
// such a section would not read back as the kind that was written.
QString DayKindTitleProblem(const QString& title);
// True for exactly seven lines "key=word": keys reading as 1 to 7, each key text
// once, words not empty.
bool DayKindLinesValid(const QStringList& lines);
// Adds kind `title` with `lines` as the last section of the file, replacing any
// section of that title (an overwritten kind moves to the end). Throws
// TDayKindError for a refused title or invalid lines (nothing is written), and
// TIniWriteError when the file cannot be read or written (it stays as it was).
void WriteDaySection(const QString& path, const QString& title, const QStringList& lines);
// The kind of `kinds` a delete of `title` removes: the one of exactly that name,
// else the first whose name differs from it only in case (else `title`).
QString DayKindToDelete(const QStringList& kinds, const QString& title);
// Removes one kind from the file: DayKindToDelete of its sections.
void EraseDaySection(const QString& path, const QString& kind);

// The file and the current kind, fixed by InitDayWords.
QString DayLangFile();
QString CurrentDayLangKind();
// Makes `kind` current and returns its words (the clock shows them at once).
TDayOfTheWeekStr ChooseDayLangKind(const QString& kind);

// DayLangFile := langDir + "VlmDay.lang", written as the default file when
// missing; returns the words of the current kind. When the file cannot be written
// the words are the defaults and `error` (if given) says why.
TDayOfTheWeekStr InitDayWords(const QString& langDir, QString* error = nullptr);

} // namespace velmora
