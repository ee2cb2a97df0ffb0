#include "core/ColorText.h"

#include "core/TextForms.h"

namespace velmora {

namespace {

struct NamedColor {
    const char* name;
    uint32_t value;
};

constexpr uint32_t Sys(int index) {
    return 0xFF000000u | uint32_t(index);
}

constexpr NamedColor kNames[] = {
    {"clBlack", 0x000000},
    {"clMaroon", 0x000080},
    {"clGreen", 0x008000},
    {"clOlive", 0x008080},
    {"clNavy", 0x800000},
    {"clPurple", 0x800080},
    {"clTeal", 0x808000},
    {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},
    {"clLime", 0x00FF00},
    {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},
    {"clFuchsia", 0xFF00FF},
    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},
    {"clMoneyGreen", 0xC0DCC0},
    {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF},
    {"clMedGray", 0xA4A0A0},
    {"clNone", 0x1FFFFFFF},
    {"clDefault", 0x20000000},
    {"clScrollBar", Sys(0)},
    {"clBackground", Sys(1)},
    {"clActiveCaption", Sys(2)},
    {"clInactiveCaption", Sys(3)},
    {"clMenu", Sys(4)},
    {"clWindow", Sys(5)},
    {"clWindowFrame", Sys(6)},
    {"clMenuText", Sys(7)},
    {"clWindowText", Sys(8)},
    {"clCaptionText", Sys(9)},
    {"clActiveBorder", Sys(10)},
    {"clInactiveBorder", Sys(11)},
    {"clAppWorkSpace", Sys(12)},
    {"clHighlight", Sys(13)},
    {"clHighlightText", Sys(14)},
    {"clBtnFace", Sys(15)},
    {"clBtnShadow", Sys(16)},
    {"clGrayText", Sys(17)},
    {"clBtnText", Sys(18)},
    {"clInactiveCaptionText", Sys(19)},
    {"clBtnHighlight", Sys(20)},
    {"cl3DDkShadow", Sys(21)},
    {"cl3DLight", Sys(22)},
    {"clInfoText", Sys(23)},
    {"clInfoBk", Sys(24)},
    {"clHotLight", Sys(26)},
    {"clGradientActiveCaption", Sys(27)},
    {"clGradientInactiveCaption", Sys(28)},
    {"clMenuHighlight", Sys(29)},
    {"clMenuBar", Sys(30)},
};

} // namespace

std::optional<TColor> StringToColor(const QString& text) {
    for (const auto& n : kNames)
        if (text.compare(QLatin1String(n.name), Qt::CaseInsensitive) == 0)
            return TColor(n.value);
    return StrToInt32(text);
}

QColor ColorToQColor(TColor color, const TSystemColorFn& systemColor) {
    if (IsSystemColor(color))
        return systemColor ? systemColor(int(color & 0xFF)) : QColor(Qt::black);
    const auto v = uint32_t(color);
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

QString ColorToString(TColor color, const TSystemColorFn& systemColor) {
    if (IsSystemColor(color))
        color = QColorToColor(ColorToQColor(color, systemColor));
    return QStringLiteral("$%1").arg(uint32_t(color), 8, 16, QLatin1Char('0')).toUpper();
}

} // namespace velmora
