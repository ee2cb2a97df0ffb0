// TClockImage: the clock's image kept from one tick to the next.
#pragma once

#include "app/clock/ClockDraw.h"

#include <QFont>
#include <QRect>
#include <optional>
#include <vector>

namespace velmora {

// Most ticks change only the last digits of the text. The image is then drawn
// again from the first changed character on (the rest, the see-through pixels
// and the region of drawn pixels are kept, and so is the text's gradient), and
// only the last word of the text is shaped for it; anything else it depends on
// (size, font, colours, modes, the see-through way) draws it whole.
class TClockImage {
public:
    // Brings the image in line with `s`; returns the pixels drawn again (empty
    // when nothing changed, the whole box when more than the text did).
    QRect Update(const TClockDrawState& s);
    const TRenderedClock& Rendered() const { return FRendered; }
    // Where the last update drew the text from (0: the whole text).
    qsizetype LastTextFrom() const { return FLastTail.From; }

private:
    // Where a text that changed from the old one only after its start begins to
    // differ on screen; empty when the image is to be drawn whole.
    std::optional<QRect> ChangedPart(const TClockDrawState& s) const;
    QRect RenderWhole(const TClockDrawState& s);
    QRect RenderPart(const TClockDrawState& s, const QRect& part);
    // The text from the start of the word that holds the part's left edge, when
    // the words before it are wholly left of the part and draw alike without it.
    TTextTail Tail(const TClockDrawState& s, const QRect& part) const;
    bool TailChecked(const TClockDrawState& s, const QRect& area, TTextTail tail) const;

    // Where the kept characters end, in pixels: measuring shapes the text, and
    // the same few prefixes (all but the seconds, all but their last digit) come
    // back every second. Measured again for any other font.
    qreal PrefixAdvance(const QFont& font, const QString& prefix) const;

    std::optional<TClockDrawState> FDrawn; // what the image shows
    TRenderedClock FRendered;
    TVisibleRows FVisibleRows; // FRendered.Visible, row by row
    QImage FTextGradient;      // kept with the image: it depends on nothing the ticks change
    struct TPrefixWidth {
        QString Prefix;
        qreal Advance = 0;
    };
    mutable QFont FMeasuredFont;
    mutable std::vector<TPrefixWidth> FPrefixWidths; // for FMeasuredFont; a few at most
    // Whether a tail draws alike, by the text up to its first character, for
    // FMeasuredFont: the answer holds while that text does (a day, an hour).
    struct TTailCheck {
        QString Upto;
        bool Alike = false;
    };
    mutable std::vector<TTailCheck> FTailChecks;
    TTextTail FLastTail;
};

// True when `text` shows its characters in their stored order, left to right:
// no character of a right-to-left script, which would move the digits after it.
bool LeftToRightOnly(const QString& text);

} // namespace velmora
