// The number behind a spin edit: parsing the visible text, limiting to a range,
// rounding and writing the canonical text. Kept free of widgets so that every
// rule can be checked directly.
#pragma once

#include <QChar>
#include <QLocale>
#include <QString>
#include <QtGlobal>
#include <optional>

namespace velmora {

enum TKvValueKind { vkFloat = 0, vkInt = 1, vkHex = 2 };

// The nearest integer, a half going to the even neighbour (2.5 -> 2, 3.5 -> 4).
// Values beyond the 64-bit range saturate instead of overflowing; NaN gives 0.
qint64 KvRoundHalfEven(long double x);

// A real in the locale's notation (its decimal separator, an optional sign, no
// thousands separators). Text that is not a finite number gives nothing.
std::optional<long double> KvParseSpinFloat(const QString& text, const QLocale& locale);

// A signed 64-bit integer: decimal, or hexadecimal after a "$", each with an
// optional sign. Up to 16 hexadecimal digits are read as the 64-bit pattern, so
// "$FFFFFFFFFFFFFFFF" is -1, which is how a negative value is written.
std::optional<qint64> KvParseSpinInt(const QString& text);

// `value` with exactly `decimals` digits after the locale's decimal separator;
// the last digit is rounded half to even. A value that rounds to zero has no sign.
QString KvFormatSpinFloat(long double value, int decimals, const QLocale& locale);
// "$" and the upper-case hexadecimal digits of the 64-bit pattern, at least one.
QString KvFormatSpinHex(qint64 value);

// Whether a typed printable character may go into a box of this kind.
bool KvSpinCharAllowed(QChar c, TKvValueKind kind, const QLocale& locale);

// The settings and the last valid number of one spin edit.
class TKvSpinValue {
public:
    static constexpr int MaxDecimalPlaces = 18;

    TKvValueKind ValueKind() const { return FValueKind; }
    // Switching to an integer kind makes the increment a whole number (at least 1).
    void SetValueKind(TKvValueKind kind);
    int DecimalPlaces() const { return FDecimalPlaces; }
    void SetDecimalPlaces(int places); // limited to 0..MaxDecimalPlaces
    bool ShowPlusSign() const { return FShowPlusSign; }
    void SetShowPlusSign(bool show) { FShowPlusSign = show; }
    long double Increment() const { return FIncrement; }
    void SetIncrement(long double increment) { FIncrement = increment; }
    long double MinValue() const { return FMinValue; }
    void SetMinValue(long double v) { FMinValue = v; }
    long double MaxValue() const { return FMaxValue; }
    void SetMaxValue(long double v) { FMaxValue = v; }
    const QLocale& Locale() const { return FLocale; }
    void SetLocale(const QLocale& locale) { FLocale = locale; }

    // Equal bounds mean no range. Reversed bounds still describe the range between them.
    long double Limit(long double x) const;

    // Reading parses `text` for the current kind; a valid number becomes the
    // last valid one, anything else (or an empty text) gives the last valid one.
    long double ReadFloat(const QString& text);
    qint64 ReadInt(const QString& text);
    // The kind's reading as a real (a float for vkFloat, the integer otherwise).
    long double Read(const QString& text);

    // Limits `v`, stores it as the last valid number and returns the canonical
    // text. A NaN or infinite `v` keeps the last valid number.
    QString Write(long double v);
    // The text after one step from what `text` shows; `direction` is +1 or -1.
    QString Step(const QString& text, int direction);

    long double FValueFloat = 0;
    qint64 FValueInt = 0;

private:
    QString Format() const;

    TKvValueKind FValueKind = vkInt;
    int FDecimalPlaces = 4;
    bool FShowPlusSign = false;
    long double FIncrement = 1;
    long double FMinValue = 0;
    long double FMaxValue = 0;
    QLocale FLocale;
};

} // namespace velmora
