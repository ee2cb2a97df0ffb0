#include "app/clock/ClockImage.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <cmath>

namespace velmora {

bool LeftToRightOnly(const QString& text) {
    for (const QChar c : text) {
        switch (c.direction()) {
        case QChar::DirR:
        case QChar::DirAL:
        case QChar::DirAN:
        case QChar::DirRLE:
        case QChar::DirRLO:
        case QChar::DirRLI:
            return false;
        default:
            break;
        }
    }
    return true;
}

namespace {

// Everything but the text is the same.
bool SameLook(const TClockDrawState& a, const TClockDrawState& b) {
    TClockDrawState c = b;
    c.Text = a.Text;
    return c == a;
}

// The image of a box of no size still has a pixel.
QSize ImageSize(const TClockDrawState& s) {
    return s.Size.expandedTo(QSize(1, 1));
}

qsizetype CommonPrefix(const QString& a, const QString& b) {
    const qsizetype n = std::min(a.size(), b.size());
    qsizetype i = 0;
    while (i < n && a[i] == b[i])
        ++i;
    return i;
}

} // namespace

std::optional<QRect> TClockImage::ChangedPart(const TClockDrawState& s) const {
    if (!FDrawn || !SameLook(*FDrawn, s) || FRendered.Image.size() != ImageSize(s) ||
        QGuiApplication::layoutDirection() != Qt::LeftToRight || !LeftToRightOnly(FDrawn->Text) ||
        !LeftToRightOnly(s.Text))
        return std::nullopt;
    // One character before the first that differs: a pair of characters may be
    // kerned or joined, which moves the glyph before the change as well.
    const qsizetype kept = CommonPrefix(FDrawn->Text, s.Text) - 1;
    if (kept <= 0)
        return std::nullopt;
    // A glyph may reach left of where its character begins (italic faces, a
    // negative bearing): half the line height more covers it.
    const int left = int(std::floor(PrefixAdvance(s.Font, s.Text.left(kept)) -
                                    QFontMetricsF(s.Font, &FRendered.Image).height() / 2));
    if (left <= 0)
        return std::nullopt;
    return QRect(left, 0, s.Size.width() - left, s.Size.height());
}

qreal TClockImage::PrefixAdvance(const QFont& font, const QString& prefix) const {
    // Kept only for the font they were measured in; all images share one
    // resolution, so the font alone decides.
    if (font != FMeasuredFont) {
        FMeasuredFont = font;
        FPrefixWidths.clear();
    }
    for (const TPrefixWidth& w : FPrefixWidths)
        if (w.Prefix == prefix)
            return w.Advance;
    // The prefixes of one minute: a few, then a new minute brings new ones.
    constexpr size_t kKept = 4;
    if (FPrefixWidths.size() >= kKept)
        FPrefixWidths.erase(FPrefixWidths.begin());
    const qreal advance = QFontMetricsF(font, &FRendered.Image).horizontalAdvance(prefix);
    FPrefixWidths.push_back({prefix, advance});
    return advance;
}

QRect TClockImage::Update(const TClockDrawState& s) {
    if (FDrawn && *FDrawn == s && FRendered.Image.size() == ImageSize(s))
        return {};
    const std::optional<QRect> part = ChangedPart(s);
    const QRect changed = part ? RenderPart(s, *part) : RenderWhole(s);
    FDrawn = s;
    return changed;
}

QRect TClockImage::RenderWhole(const TClockDrawState& s) {
    FTextGradient = TextGradient(s);
    FRendered.Image = QImage(ImageSize(s), QImage::Format_ARGB32_Premultiplied);
    FRendered.Image.fill(Qt::transparent);
    RenderClockPart(FRendered.Image, s, FRendered.Image.rect(), FTextGradient);
    FRendered.Visible = VisibleRegion(FRendered.Image);
    return FRendered.Image.rect();
}

QRect TClockImage::RenderPart(const TClockDrawState& s, const QRect& part) {
    RenderClockPart(FRendered.Image, s, part, FTextGradient);
    FRendered.Visible =
        FRendered.Visible.subtracted(part).united(VisibleRegion(FRendered.Image, part));
    return part;
}

} // namespace velmora
