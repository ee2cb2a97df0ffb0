#include "core/KvCommandList.h"

#include "core/TextForms.h"

#include <QFileInfo>
#include <algorithm>
#include <stdexcept>
#include <utility>

namespace velmora {

namespace {

// Control characters and the blank, as the switch text is trimmed.
QString TrimControls(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin).unicode() <= 32)
        ++begin;
    while (end > begin && text.at(end - 1).unicode() <= 32)
        --end;
    return text.mid(begin, end - begin);
}

// Every token starts at a "/" and runs to the next "/"; text before the first
// "/" belongs to none.
QStringList SwitchTokens(const QString& text) {
    QStringList tokens;
    qsizetype start = text.indexOf(QLatin1Char('/'));
    while (start >= 0) {
        const qsizetype next = text.indexOf(QLatin1Char('/'), start + 1);
        const qsizetype end = next < 0 ? text.size() : next;
        tokens << TrimControls(text.mid(start, end - start));
        start = next;
    }
    return tokens;
}

bool HasSwitch(const QStringList& tokens, QLatin1StringView name) {
    return std::any_of(tokens.begin(), tokens.end(), [name](const QString& token) {
        return token.compare(name, Qt::CaseInsensitive) == 0;
    });
}

// The text after "=" of the first "/t=..." token, or nothing without one.
std::optional<QString> TimeSwitchValue(const QStringList& tokens) {
    for (const QString& token : tokens) {
        const qsizetype eq = token.indexOf(QLatin1Char('='));
        if (eq >= 0 && token.left(eq).compare(QLatin1StringView("/t"), Qt::CaseInsensitive) == 0)
            return token.mid(eq + 1);
    }
    return std::nullopt;
}

// "hh:mm:ss" on a 24-hour clock with the locale's separator.
QString FormatHms(double dayFraction, const QLocale& locale) {
    const int64_t seconds = TimeOfDayMs(dayFraction) / 1000;
    const QString sep = LocaleTimeSeparator(locale);
    auto two = [](int64_t v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); };
    return two(seconds / 3600) + sep + two(seconds / 60 % 60) + sep + two(seconds % 60);
}

std::vector<int32_t> IndexesWhere(const std::vector<std::unique_ptr<TKvCommandItem>>& items,
                                  bool (TKvCommandItem::*flag)() const) {
    std::vector<int32_t> result;
    for (size_t i = 0; i < items.size(); ++i)
        if (((*items[i]).*flag)())
            result.push_back(int32_t(i));
    return result;
}

} // namespace

// --- TKvCommandItem ---------------------------------------------------------------

void TKvCommandItem::SetCommandOptions(const QString& text, const QLocale& locale) {
    const QStringList tokens = SwitchTokens(text);
    FAsAdmin = HasSwitch(tokens, QLatin1StringView("/a"));
    FHideWindow = HasSwitch(tokens, QLatin1StringView("/h"));
    FAtStartup = HasSwitch(tokens, QLatin1StringView("/s"));
    FAtResume = HasSwitch(tokens, QLatin1StringView("/r"));
    const std::optional<QString> time = TimeSwitchValue(tokens);
    FAtSpTime = time.has_value();
    FSpTime = 0.0;
    if (time)
        FSpTime = StrToTime(*time, locale).value_or(0.0);
}

QString TKvCommandItem::GetCommandOptionsStr(const QLocale& locale) const {
    QString text;
    if (FAsAdmin)
        text += QLatin1StringView("/a ");
    if (FHideWindow)
        text += QLatin1StringView("/h ");
    if (FAtStartup)
        text += QLatin1StringView("/s ");
    if (FAtResume)
        text += QLatin1StringView("/r ");
    if (FAtSpTime)
        text += QLatin1StringView("/t=") + FormatHms(FSpTime, locale);
    return TrimControls(text);
}

// --- TKvCommandList ---------------------------------------------------------------

void TKvCommandList::CheckIndex(int index, int upper) const {
    if (index < 0 || index > upper)
        throw std::out_of_range("command list index out of range");
}

TKvCommandItem& TKvCommandList::Items(int index) {
    CheckIndex(index, Count() - 1);
    return *FItems[size_t(index)];
}

const TKvCommandItem& TKvCommandList::Items(int index) const {
    CheckIndex(index, Count() - 1);
    return *FItems[size_t(index)];
}

int TKvCommandList::Add(std::unique_ptr<TKvCommandItem> item) {
    if (!item)
        throw std::invalid_argument("no command item");
    FItems.push_back(std::move(item));
    return Count() - 1;
}

void TKvCommandList::Insert(int index, std::unique_ptr<TKvCommandItem> item) {
    CheckIndex(index, Count());
    if (!item)
        throw std::invalid_argument("no command item");
    FItems.insert(FItems.begin() + index, std::move(item));
}

void TKvCommandList::Delete(int index) {
    CheckIndex(index, Count() - 1);
    FItems.erase(FItems.begin() + index);
}

int TKvCommandList::Remove(const TKvCommandItem* item) {
    const int index = IndexOf(item);
    if (index >= 0)
        Delete(index);
    return index;
}

int TKvCommandList::IndexOf(const TKvCommandItem* item) const {
    for (size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i].get() == item)
            return int(i);
    return -1;
}

void TKvCommandList::DeleteEmptyItems() {
    // Item 0 is the time sync whatever it holds: dropping it would make the
    // next command the sync command.
    for (int i = Count() - 1; i >= 1; --i)
        if (FItems[size_t(i)]->IsEmpty())
            Delete(i);
}

std::vector<int32_t> TKvCommandList::GetAtStartupArray() const {
    return IndexesWhere(FItems, &TKvCommandItem::AtStartup);
}

std::vector<int32_t> TKvCommandList::GetAtResumeArray() const {
    return IndexesWhere(FItems, &TKvCommandItem::AtResume);
}

std::vector<int32_t> TKvCommandList::GetAtSpTimeArray() const {
    return IndexesWhere(FItems, &TKvCommandItem::AtSpTime);
}

// --- word splitting -----------------------------------------------------------------

namespace {

bool IsBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n');
}

// Inside double quotes a backslash escapes only these; before anything else it
// stays a backslash.
bool EscapableInDoubleQuotes(QChar c) {
    return c == QLatin1Char('"') || c == QLatin1Char('\\') || c == QLatin1Char('$') ||
           c == QLatin1Char('`');
}

} // namespace

std::optional<QStringList> SplitCommandLine(const QString& text, QString* error) {
    enum class State { Blank, Word, Single, Double };
    QStringList words;
    QString word;
    State state = State::Blank;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        const bool hasNext = i + 1 < n;
        switch (state) {
        case State::Blank:
        case State::Word:
            if (IsBlank(c)) {
                if (state == State::Word)
                    words << std::exchange(word, QString());
                state = State::Blank;
                continue;
            }
            state = State::Word;
            if (c == QLatin1Char('\'')) {
                state = State::Single;
            } else if (c == QLatin1Char('"')) {
                state = State::Double;
            } else if (c == QLatin1Char('\\') && hasNext) {
                ++i;
                if (text.at(i) != QLatin1Char('\n')) // a backslash-newline joins lines
                    word += text.at(i);
            } else {
                word += c; // a trailing backslash stays as it is
            }
            break;
        case State::Single:
            if (c == QLatin1Char('\''))
                state = State::Word;
            else
                word += c;
            break;
        case State::Double:
            if (c == QLatin1Char('"')) {
                state = State::Word;
            } else if (c == QLatin1Char('\\') && hasNext &&
                       (EscapableInDoubleQuotes(text.at(i + 1)) ||
                        text.at(i + 1) == QLatin1Char('\n'))) {
                ++i;
                if (text.at(i) != QLatin1Char('\n'))
                    word += text.at(i);
            } else {
                word += c;
            }
            break;
        }
    }
    if (state == State::Single || state == State::Double) {
        if (error)
            *error = state == State::Single ? QStringLiteral("A single quote is not closed.")
                                            : QStringLiteral("A double quote is not closed.");
        return std::nullopt;
    }
    if (state == State::Word)
        words << word;
    return words;
}

TLaunchProblem LaunchProblemOf(const QString& fileName, const QString& params, bool asAdmin) {
    if (fileName.isEmpty())
        return TLaunchProblem::NoFileName;
    const QFileInfo info(fileName);
    if (!info.exists())
        return TLaunchProblem::FileMissing;
    const bool executable = info.isFile() && info.isExecutable();
    if (asAdmin && !executable)
        return TLaunchProblem::NotExecutableForAdmin;
    if (executable && !SplitCommandLine(params))
        return TLaunchProblem::ParametersUnreadable;
    return TLaunchProblem::CannotStart;
}

} // namespace velmora
