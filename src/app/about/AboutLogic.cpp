#include "app/about/AboutLogic.h"

#include <cmath>
#include <limits>

namespace velmora {

namespace {

bool IsBlank(QChar c) {
    return c.unicode() >= 1 && c.unicode() <= ' ';
}

// A decimal integer with an optional sign that fits 32 bits.
std::optional<int32_t> DecimalInt(const QString& part) {
    bool ok = false;
    const qlonglong v = part.toLongLong(&ok, 10);
    if (!ok || v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max())
        return std::nullopt;
    // toLongLong accepts surrounding blanks; a part never has any.
    if (part.trimmed() != part)
        return std::nullopt;
    return int32_t(v);
}

} // namespace

QStringList SplitCommaText(const QString& text) {
    QStringList parts;
    qsizetype p = 0;
    const qsizetype n = text.size();
    while (p < n && IsBlank(text[p]))
        ++p;
    while (p < n) {
        QString part;
        if (text[p] == QLatin1Char('"')) {
            ++p;
            while (p < n) {
                if (text[p] == QLatin1Char('"')) {
                    if (p + 1 < n && text[p + 1] == QLatin1Char('"')) {
                        part += QLatin1Char('"');
                        p += 2;
                        continue;
                    }
                    ++p;
                    break;
                }
                part += text[p++];
            }
        } else {
            const qsizetype begin = p;
            while (p < n && !IsBlank(text[p]) && text[p] != QLatin1Char(',') && text[p] != QChar(0))
                ++p;
            part = text.mid(begin, p - begin);
        }
        parts << part;
        while (p < n && IsBlank(text[p]))
            ++p;
        if (p < n && text[p] == QLatin1Char(',')) {
            if (p + 1 == n)
                parts << QString(); // a comma at the very end ends an empty part
            do
                ++p;
            while (p < n && IsBlank(text[p]));
        } else if (p < n && text[p] == QChar(0)) {
            break;
        }
    }
    return parts;
}

TColor ParseAnchorColor(const QString& text) {
    const QStringList parts = SplitCommaText(text);
    const auto part = [&](int i, int32_t fallback) {
        if (i >= parts.size())
            return fallback;
        return DecimalInt(parts[i]).value_or(fallback);
    };
    const uint32_t r = uint32_t(part(0, 0)) & 0xFF;
    const uint32_t g = uint32_t(part(1, 0)) & 0xFF;
    const uint32_t b = uint32_t(part(2, 255)) & 0xFF;
    return TColor(r | g << 8 | b << 16);
}

int TextTopMargin(int height, int textHeight) {
    const int diff = height - textHeight;
    if (diff >= 0)
        return diff / 2;
    return int(std::nearbyint(diff / 2.0)); // the default rounding: halves to even
}

QStringList CreditLines(const std::vector<TLibraryCredit>& credits) {
    QStringList lines;
    const QString indent = QStringLiteral("  ");
    for (const TLibraryCredit& c : credits) {
        lines << QStringLiteral("* ") + c.Name +
                     (c.Version.isEmpty() ? QString() : QLatin1Char(' ') + c.Version);
        lines << indent + c.Notice;
        lines << indent + c.Licence;
        lines << indent + c.Address;
    }
    return lines;
}

} // namespace velmora
