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
    MeasureIn(s.Font);
    const int left = int(std::floor(PrefixAdvance(s.Text.left(kept)) - *FLineHeight / 2));
    if (left <= 0)
        return std::nullopt;
    return QRect(left, 0, s.Size.width() - left, s.Size.height());
}

void TClockImage::MeasureIn(const QFont& font) const {
    if (FLineHeight && font == FMeasuredFont)
        return;
    FMeasuredFont = font;
    FLineHeight = QFontMetricsF(font, &FRendered.Image).height();
    FPrefixWidths.Clear();
    FTailChecks.Clear();
}

qreal TClockImage::PrefixAdvance(const QString& prefix) const {
    return FPrefixWidths.Get(prefix, [&] {
        return QFontMetricsF(FMeasuredFont, &FRendered.Image).horizontalAdvance(prefix);
    });
}

TTextTail TClockImage::Tail(const TClockDrawState& s, const QRect& part) const {
    const qsizetype kept = CommonPrefix(FDrawn->Text, s.Text) - 1;
    const qsizetype space = s.Text.lastIndexOf(QChar(' '), kept);
    if (space <= 0)
        return {};
    // What the words before the space draw may reach right of where they end by
    // as much as a glyph may reach left of where it begins (half the line height,
    // as in ChangedPart). Right of that, the tail alone decides the pixels.
    MeasureIn(s.Font);
    const qreal wordsEnd = PrefixAdvance(s.Text.left(space));
    const int tailOnly = int(std::ceil(wordsEnd + *FLineHeight / 2));
    if (tailOnly > part.left())
        return {};
    const TTextTail tail{space + 1, PrefixAdvance(s.Text.left(space + 1))};
    const QRect checked(QPoint(tailOnly, 0), QPoint(s.Size.width() - 1, s.Size.height() - 1));
    return TailChecked(s, checked, tail) ? tail : TTextTail{};
}

bool TClockImage::TailChecked(const TClockDrawState& s, const QRect& area, TTextTail tail) const {
    // Checked over all the tail alone decides, once for the text up to the tail's
    // first character: the later seconds change only characters right of it.
    return FTailChecks.Get(s.Text.left(tail.From + 1),
                           [&] { return TailDrawsAlike(s, area, tail); });
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
    FLastTail = {};
    FTextGradient = TextGradient(s);
    FRendered.Image = QImage(ImageSize(s), QImage::Format_ARGB32_Premultiplied);
    FRendered.Image.fill(Qt::transparent);
    RenderClockPart(FRendered.Image, s, FRendered.Image.rect(), FTextGradient);
    FVisibleRows.Rescan(FRendered.Image, 0);
    FRendered.Visible = FVisibleRows.Region();
    return FRendered.Image.rect();
}

QRect TClockImage::RenderPart(const TClockDrawState& s, const QRect& part) {
    FLastTail = Tail(s, part);
    RenderClockPart(FRendered.Image, s, part, FTextGradient, FLastTail);
    // The part runs from its left edge to the right of the box, top to bottom.
    FVisibleRows.Rescan(FRendered.Image, part.left());
    FRendered.Visible = FVisibleRows.Region();
    return part;
}

} // namespace velmora
