// TKvTabSet: painting of the bar, the tabs, their images, captions, glyphs and
// the focus rectangle.
#include "widgets/KvContrast.h"
#include "widgets/KvTabSet.h"
#include "widgets/KvTextFit.h"

#include <QPainter>
#include <algorithm>

namespace velmora {

// --- painting -------------------------------------------------------------------

void TKvTabSet::paintEvent(QPaintEvent*) {
    QPainter canvas(this);
    PaintAll(canvas);
}

QImage TKvTabSet::Render() {
    QImage image(size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter canvas(&image);
    PaintAll(canvas);
    return image;
}

void TKvTabSet::PaintAll(QPainter& canvas) {
    const QRect client = rect();
    if (FTabOptions.TabDrawingStyle() == tdsGradientTransparent) {
        FTempBmp = QImage(client.size(), QImage::Format_ARGB32_Premultiplied);
        QPainter bar(&FTempBmp);
        DrawTabBar(bar, client, FTabOptions);
        bar.end();
        canvas.drawImage(0, 0, FTempBmp);
    } else {
        DrawTabBar(canvas, client, FTabOptions);
    }
    DoAdditionalDrawBar(canvas, client);
    if (FTabs.Count() == 0)
        return;
    const int first = std::max(0, FFirstIndex);
    const int last = std::min(FTabs.Count() - 1, FLastIndex);
    for (int i = first; i <= last; ++i)
        PaintTab(canvas, i);
    if (FMarkerTab >= 0)
        canvas.drawImage(FMarkerAt, FMarkers.For(FTabOptions.TabPosition()));
}

void TKvTabSet::PaintTab(QPainter& canvas, int index) {
    const QRect r = GetTabRect(index);
    const bool active = index == FTabIndex;
    const bool hot = index == FHotIndex;
    canvas.save();
    DrawTabShape(canvas, r, active, hot, FTabOptions, FTempBmp);
    DoAdditionalDrawBefore(canvas, index, r, active, hot);
    DrawTabImage(canvas, index, r);
    DrawTabCaption(canvas, index, r);
    DrawGlyph(canvas, GetGlyphRect(index), FTabs[index]->GlyphState());
    DoAdditionalDrawAfter(canvas, index, r, active, hot);
    if (FShowFocus)
        DrawTabFocus(canvas, r, active);
    canvas.restore();
}

void TKvTabSet::DrawTabImage(QPainter& canvas, int index, const QRect& rect) {
    const int image = FTabs[index]->ImageIndex();
    if (image < 0 || image >= FImages.size())
        return;
    const QImage& picture = FImages[image];
    canvas.drawImage(
        QPoint(rect.x() + FTabOptions.TabLeftMargin(),
               rect.y() + RoundPixels((FTabOptions.TabHeight() - picture.height()) / 2.0)),
        picture);
}

QMargins TKvTabSet::CaptionMargins(int index) const {
    // Room for a 16-pixel image (scaled with the screen) is kept whenever the
    // tab names one, even without an image list.
    const int left = FTabs[index]->ImageIndex() < 0
                         ? FTabOptions.TabLeftMargin()
                         : RoundPixels(16 * logicalDpiX() / 96.0) + FTabOptions.TabLeftMargin() + 4;
    // The widest glyph image, as GetGlyphRect places it, so that a caption
    // never runs under a glyph whose active image happens to be empty.
    const int glyphWidth = GetGlyphSize().width();
    const int right = glyphWidth == 0 ? FTabOptions.TabRightMargin()
                                      : glyphWidth + FTabOptions.TabRightMargin() + 4;
    return QMargins(left, 0, right, 0);
}

QString TKvTabSet::FittedCaption(int AIndex) const {
    if (AIndex < 0 || AIndex >= FTabs.Count())
        return QString();
    const QMargins m = CaptionMargins(AIndex);
    return FitTextWithEllipsis(QFontMetrics(font()), FTabOptions.TabWidth() - m.left() - m.right(),
                               FTabs[AIndex]->Caption())
        .Text;
}

void TKvTabSet::DrawTabCaption(QPainter& canvas, int index, const QRect& rect) {
    const QString text = FittedCaption(index);
    if (text.isEmpty())
        return;
    const QFontMetrics metrics(font());
    const int h = metrics.height();
    const int y = RoundPixels((FTabOptions.TabHeight() - h) / 2.0);
    const TKvTab* tab = FTabs[index];
    canvas.save();
    canvas.setFont(font());
    canvas.setClipRect(rect, Qt::IntersectClip);
    canvas.setPen(tab->Modified() ? FTabOptions.ModifiedFontColor() : CaptionColor(index));
    canvas.drawText(QRect(rect.x() + CaptionMargins(index).left(), rect.y() + y,
                          metrics.horizontalAdvance(text) + 1, h),
                    Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    canvas.restore();
}

QColor TKvTabSet::TabFillColor(int index) const {
    const TTabOptions& o = FTabOptions;
    if (index == FTabIndex)
        return MidColor(o.ActiveStartColor(), o.ActiveEndColor());
    if (index == FHotIndex)
        return MidColor(o.HotStartColor(), o.HotEndColor());
    return MidColor(o.InactiveStartColor(), o.InactiveEndColor());
}

QColor TKvTabSet::CaptionColor(int index) const {
    // The palette's text, unless it would vanish into the tab's own greys (light
    // text of a dark palette on the flat light look).
    return ReadableTextColor(TabFillColor(index), palette().color(QPalette::WindowText));
}

void TKvTabSet::DrawGlyph(QPainter& canvas, const QRect& glyphRect, TGlyphState state) {
    const QImage& glyph = FGlyphs[std::size_t(state)];
    if (!glyph.isNull())
        canvas.drawImage(glyphRect.topLeft(), glyph);
}

void TKvTabSet::DrawTabFocus(QPainter& canvas, const QRect& rect, bool active) {
    if (!active || !FFocused)
        return;
    const QRect r = rect.adjusted(2, 3, -2, -3);
    canvas.save();
    canvas.setRenderHint(QPainter::Antialiasing, false);
    QPen pen(CaptionColor(FTabIndex), 0);
    pen.setDashPattern({1, 1});
    canvas.setPen(pen);
    canvas.setBrush(Qt::NoBrush);
    canvas.setBackgroundMode(Qt::OpaqueMode);
    canvas.setBackground(palette().color(QPalette::Button));
    canvas.drawRect(r.adjusted(0, 0, -1, -1));
    canvas.restore();
}

} // namespace velmora
