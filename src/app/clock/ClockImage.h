// TClockImage: the clock's image kept from one tick to the next.
#pragma once

#include "app/clock/ClockDraw.h"

#include <QFont>
#include <QRect>
#include <optional>
#include <utility>
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

    // Measures are kept only for the font they were taken in; all images share
    // one resolution, so the font alone decides. Measures anew for any other.
    void MeasureIn(const QFont& font) const;
    // Where the kept characters end, in pixels, in the measured font: measuring
    // shapes the text, and the same few prefixes (all but the seconds, all but
    // their last digit) come back every second.
    qreal PrefixAdvance(const QString& prefix) const;

    // The last few answers by text, for the measured font; the oldest goes first.
    template <typename V> class TKeptByText {
    public:
        explicit TKeptByText(size_t capacity) : FCapacity(capacity) {}
        template <typename F> V Get(const QString& text, F measure) {
            for (const auto& [kept, value] : FItems)
                if (kept == text)
                    return value;
            if (FItems.size() >= FCapacity)
                FItems.erase(FItems.begin());
            FItems.emplace_back(text, measure());
            return FItems.back().second;
        }
        void Clear() { FItems.clear(); }

    private:
        size_t FCapacity;
        std::vector<std::pair<QString, V>> FItems;
    };

    std::optional<TClockDrawState> FDrawn; // what the image shows
    TRenderedClock FRendered;
    TVisibleRows FVisibleRows; // FRendered.Visible, row by row
    QImage FTextGradient;      // kept with the image: it depends on nothing the ticks change
    mutable QFont FMeasuredFont;
    mutable std::optional<qreal> FLineHeight; // of FMeasuredFont, once measured
    // The prefixes of one minute (where the kept text ends, and where its last
    // word starts and the word before it ends): a few, then a new minute brings
    // new ones.
    mutable TKeptByText<qreal> FPrefixWidths{8};
    // Whether a tail draws alike, by the text up to its first character: the
    // answer holds while that text does (a day, an hour).
    mutable TKeptByText<bool> FTailChecks{4};
    TTextTail FLastTail;
};

// True when `text` shows its characters in their stored order, left to right:
// no character of a right-to-left script, which would move the digits after it.
bool LeftToRightOnly(const QString& text);

} // namespace velmora
