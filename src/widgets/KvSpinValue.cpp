#include "widgets/KvSpinValue.h"

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <limits>

namespace velmora {

namespace {

constexpr long double Int64Min = -9223372036854775808.0L;
constexpr long double Int64Limit = 9223372036854775808.0L; // 2^63, the first value beyond

// Numbers are written with ASCII digits and signs, the characters the filter lets
// the user type; only the decimal separator comes from the locale.
QLocale PlainNumbers() {
    QLocale l = QLocale::c();
    l.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
    return l;
}

QString DecimalSeparator(const QLocale& locale) {
    const QString sep = locale.decimalPoint();
    return sep.isEmpty() ? QStringLiteral(".") : sep;
}

int HexDigit(QChar c) {
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    return -1;
}

// Digits after an optional sign, read as an unsigned magnitude; nothing on
// overflow or on any stray character.
std::optional<quint64> ParseMagnitude(QStringView digits, int base, quint64 limit) {
    if (digits.isEmpty())
        return std::nullopt;
    quint64 value = 0;
    for (QChar c : digits) {
        const int d = HexDigit(c);
        if (d < 0 || d >= base)
            return std::nullopt;
        if (value > (limit - quint64(d)) / quint64(base))
            return std::nullopt;
        value = value * quint64(base) + quint64(d);
    }
    return value;
}

} // namespace

qint64 KvRoundHalfEven(long double x) {
    if (std::isnan(x))
        return 0;
    // nearbyint follows the current rounding mode, which is to-nearest-even
    // unless someone changed it; make sure of it for this one call.
    const int oldMode = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const long double r = std::nearbyint(x);
    std::fesetround(oldMode);
    if (r >= Int64Limit)
        return std::numeric_limits<qint64>::max();
    if (r <= Int64Min)
        return std::numeric_limits<qint64>::min();
    return qint64(r);
}

std::optional<long double> KvParseSpinFloat(const QString& text, const QLocale& locale) {
    if (text.isEmpty())
        return std::nullopt;
    const QString sep = DecimalSeparator(locale);
    QString plain = text;
    if (sep != u'.') {
        if (plain.contains(u'.'))
            return std::nullopt;
        plain.replace(sep, QStringLiteral("."));
    }
    bool ok = false;
    const double v = PlainNumbers().toDouble(plain, &ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

std::optional<qint64> KvParseSpinInt(const QString& text) {
    QStringView rest(text);
    bool negative = false;
    if (!rest.isEmpty() && (rest.front() == u'+' || rest.front() == u'-')) {
        negative = rest.front() == u'-';
        rest = rest.mid(1);
    }
    if (!rest.isEmpty() && rest.front() == u'$') {
        const auto bits = ParseMagnitude(rest.mid(1), 16, std::numeric_limits<quint64>::max());
        if (!bits)
            return std::nullopt;
        // The 64-bit pattern, negated in unsigned arithmetic so that no case overflows.
        return qint64(negative ? quint64(0) - *bits : *bits);
    }
    const quint64 limit = negative ? quint64(1) << 63 : (quint64(1) << 63) - 1;
    const auto magnitude = ParseMagnitude(rest, 10, limit);
    if (!magnitude)
        return std::nullopt;
    return qint64(negative ? quint64(0) - *magnitude : *magnitude);
}

QString KvFormatSpinFloat(long double value, int decimals, const QLocale& locale) {
    decimals = std::clamp(decimals, 0, TKvSpinValue::MaxDecimalPlaces);
    // Round the last shown digit ourselves: the toolkit's fixed notation takes an
    // exact half away from zero, the program takes it to the even digit.
    const long double scale = std::pow(10.0L, decimals);
    const long double scaled = value * scale;
    if (std::fabs(scaled) < 1e18L) {
        const long double units = std::nearbyint(scaled);
        value = units == 0 ? 0.0L : units / scale;
    }
    QString text = PlainNumbers().toString(double(value), 'f', decimals);
    return text.replace(u'.', DecimalSeparator(locale));
}

QString KvFormatSpinHex(qint64 value) {
    return QStringLiteral("$") + QString::number(quint64(value), 16).toUpper();
}

bool KvSpinCharAllowed(QChar c, TKvValueKind kind, const QLocale& locale) {
    const char16_t u = c.unicode();
    if (kind == vkFloat) {
        // The separator passes even where it lies beyond Latin-1, or it could never be typed.
        if (c == DecimalSeparator(locale).front())
            return true;
    }
    if (u > 255)
        return false;
    if (u == '+' || u == '-' || (u >= '0' && u <= '9'))
        return true;
    if (kind == vkHex)
        return u == '$' || (u >= 'A' && u <= 'F') || (u >= 'a' && u <= 'f');
    return false;
}

void TKvSpinValue::SetValueKind(TKvValueKind kind) {
    if (kind != FValueKind && kind != vkFloat) {
        FIncrement = KvRoundHalfEven(FIncrement);
        if (FIncrement == 0)
            FIncrement = 1;
    }
    FValueKind = kind;
}

void TKvSpinValue::SetDecimalPlaces(int places) {
    FDecimalPlaces = std::clamp(places, 0, MaxDecimalPlaces);
}

long double TKvSpinValue::Limit(long double x) const {
    if (FMinValue == FMaxValue)
        return x;
    const long double lo = std::min(FMinValue, FMaxValue);
    const long double hi = std::max(FMinValue, FMaxValue);
    return std::clamp(x, lo, hi);
}

long double TKvSpinValue::ReadFloat(const QString& text) {
    if (const auto v = KvParseSpinFloat(text, FLocale))
        FValueFloat = *v;
    return FValueFloat;
}

qint64 TKvSpinValue::ReadInt(const QString& text) {
    if (const auto v = KvParseSpinInt(text))
        FValueInt = *v;
    return FValueInt;
}

long double TKvSpinValue::Read(const QString& text) {
    return FValueKind == vkFloat ? ReadFloat(text) : static_cast<long double>(ReadInt(text));
}

QString TKvSpinValue::Write(long double v) {
    if (!std::isfinite(v))
        v = FValueFloat;
    const long double x = Limit(v);
    FValueFloat = x;
    FValueInt = KvRoundHalfEven(x);
    return Format();
}

QString TKvSpinValue::Step(const QString& text, int direction) {
    return Write(Read(text) + direction * FIncrement);
}

QString TKvSpinValue::Format() const {
    QString text;
    bool positive = false;
    switch (FValueKind) {
    case vkFloat:
        text = KvFormatSpinFloat(FValueFloat, FDecimalPlaces, FLocale);
        // The sign follows what is shown: 0.001 with two decimals shows as 0.00.
        positive = FValueFloat > 0 && text != KvFormatSpinFloat(0, FDecimalPlaces, FLocale);
        break;
    case vkInt:
        text = QString::number(FValueInt);
        positive = FValueInt > 0;
        break;
    case vkHex:
        text = KvFormatSpinHex(FValueInt);
        positive = FValueInt > 0;
        break;
    }
    if (FShowPlusSign && positive)
        text.prepend(u'+');
    return text;
}

} // namespace velmora
