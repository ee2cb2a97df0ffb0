// The tab set's captions and the grid's texts stay readable under light and dark
// desktop palettes, with and without the default colours applied: measured on the
// rendered pixels, text against the fill right beside it.
#include "widgets/KvContrast.h"
#include "widgets/KvGrid.h"
#include "TabSetTestUtil.h"

#include <QApplication>
#include <QPainter>
#include <gtest/gtest.h>

using namespace velmora;
using tabsettest::THost;

namespace {

QPalette DarkPalette() {
    QPalette p;
    p.setColor(QPalette::Window, QColor(0x35, 0x35, 0x35));
    p.setColor(QPalette::WindowText, QColor(0xF0, 0xF0, 0xF0));
    p.setColor(QPalette::Base, QColor(0x2A, 0x2A, 0x2A));
    p.setColor(QPalette::Text, QColor(0xF0, 0xF0, 0xF0));
    p.setColor(QPalette::Button, QColor(0x35, 0x35, 0x35));
    p.setColor(QPalette::ButtonText, QColor(0xF0, 0xF0, 0xF0));
    p.setColor(QPalette::Highlight, QColor(0x2A, 0x82, 0xDA));
    p.setColor(QPalette::HighlightedText, Qt::white);
    return p;
}

QPalette LightPalette() {
    QPalette p;
    p.setColor(QPalette::Window, QColor(0xEF, 0xEF, 0xEF));
    p.setColor(QPalette::WindowText, Qt::black);
    p.setColor(QPalette::Base, Qt::white);
    p.setColor(QPalette::Text, Qt::black);
    p.setColor(QPalette::Button, QColor(0xEF, 0xEF, 0xEF));
    p.setColor(QPalette::ButtonText, Qt::black);
    p.setColor(QPalette::Highlight, QColor(0x30, 0x8C, 0xC6));
    return p;
}

// The strongest contrast of any pixel of `box` against `background`: the core of
// the glyph strokes, which anti-aliasing leaves at the text's own colour.
double TextContrast(const QImage& image, const QRect& box, const QColor& background) {
    double best = 1.0;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            best = std::max(best, ContrastRatio(image.pixelColor(x, y), background));
    return best;
}

struct TPaletteCase {
    const char* Name;
    QPalette (*Palette)();
    bool AdjustDefaults;
};

const TPaletteCase kCases[] = {
    {"light, flat greys", LightPalette, false},
    {"light, defaults applied", LightPalette, true},
    {"dark, flat greys", DarkPalette, false},
    {"dark, defaults applied", DarkPalette, true},
};

// Readable text: 4.5:1 for the chosen colour, and the rendered strokes reach at
// least 3:1 against the fill beside them.
constexpr double kChosen = 4.5;
constexpr double kRendered = 3.0;

} // namespace

TEST(ReadableColors, ContrastPicksThePreferredColourOnlyWhenItStandsOut) {
    struct Row {
        QColor Background, Preferred, Expected;
    } rows[] = {
        {QColor(0xEC, 0xEC, 0xEC), Qt::black, Qt::black},
        {QColor(0xEC, 0xEC, 0xEC), QColor(0xF0, 0xF0, 0xF0), Qt::black},
        {QColor(0x30, 0x30, 0x30), QColor(0xF0, 0xF0, 0xF0), QColor(0xF0, 0xF0, 0xF0)},
        {QColor(0x30, 0x30, 0x30), QColor(0x20, 0x20, 0x20), Qt::white},
        {QColor(0xB0, 0xB0, 0xB0), Qt::white, Qt::black},
    };
    for (const Row& r : rows)
        EXPECT_EQ(ReadableTextColor(r.Background, r.Preferred), r.Expected)
            << r.Background.name().toStdString() << " " << r.Preferred.name().toStdString();
    EXPECT_NEAR(ContrastRatio(Qt::black, Qt::white), 21.0, 1e-9);
    EXPECT_TRUE(IsDarkPalette(DarkPalette()));
    EXPECT_FALSE(IsDarkPalette(LightPalette()));
}

TEST(ReadableColors, TabCaptionsStandOutFromTheirTabs) {
    for (const TPaletteCase& c : kCases) {
        SCOPED_TRACE(c.Name);
        THost host(QSize(300, 300), tpLeft);
        host.Window->setPalette(c.Palette());
        host.Tabs->TabOptions().SetTabWidth(130);
        host.Tabs->TabOptions().SetTabHeight(28);
        if (c.AdjustDefaults)
            host.Tabs->TabOptions().AdjustDefaultColors();
        host.Tabs->AddTab("Selected");
        host.Tabs->AddTab("Other");
        host.Tabs->SetTabIndex(0);
        const QImage image = host.Tabs->Render().convertToFormat(QImage::Format_RGB32);
        for (int i = 0; i < 2; ++i) {
            const QRect tab = host.Tabs->GetTabRect(i);
            const QColor beside = image.pixelColor(tab.right() - 12, tab.center().y());
            EXPECT_GE(ContrastRatio(host.Tabs->CaptionColor(i), beside), kChosen) << "tab " << i;
            const QRect caption(tab.left() + 4, tab.top() + 4, 60, tab.height() - 8);
            EXPECT_GE(TextContrast(image, caption, beside), kRendered) << "tab " << i;
        }
        if (c.AdjustDefaults && IsDarkPalette(c.Palette())) {
            EXPECT_LT(host.Tabs->TabOptions().ActiveStartColor().lightness(), 128)
                << "a dark palette gets dark tabs";
        }
    }
}

TEST(ReadableColors, GridHeaderAndRowTextsStandOut) {
    for (const TPaletteCase& c : kCases) {
        SCOPED_TRACE(c.Name);
        TKvGrid grid;
        grid.setPalette(c.Palette());
        grid.SetColCount(2);
        grid.SetRowCount(4);
        grid.SetFixedRows(1);
        grid.SetFixedCols(0);
        grid.SetDefaultColWidth(120);
        grid.SetDefaultRowHeight(22);
        grid.SetOptions(grid.Options() | goRowSelect);
        if (c.AdjustDefaults)
            grid.ViewOptions().AdjustDefaultColors();
        grid.SetOnDrawCell([](QPainter& canvas, int, int row, const QRect& rect, TGridDrawState) {
            canvas.drawText(rect.adjusted(6, 3, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                            row == 0 ? QStringLiteral("Heading") : QStringLiteral("Command"));
        });
        grid.resize(260, 120);
        grid.show();
        grid.SetRow(2);
        QApplication::processEvents();
        const QImage image = grid.grab().toImage().convertToFormat(QImage::Format_RGB32);
        for (int row : {0, 1, 2}) { // heading, plain row, selected row
            const QRect cell = grid.CellRect(0, row);
            const QColor beside = image.pixelColor(cell.right() - 8, cell.center().y());
            const QRect text(cell.left() + 6, cell.top() + 2, 60, cell.height() - 4);
            EXPECT_GE(TextContrast(image, text, beside), kRendered) << "row " << row;
        }
    }
}

TEST(ReadableColors, TabCaptionsSitInTheMiddleOfTheirTabs) {
    for (TTabPosition position : {tpTop, tpLeft}) {
        THost host(QSize(300, 300), position);
        // Sized after the tabs were added, in a font set afterwards, as a dialog
        // that applies its look when shown does.
        host.Tabs->AddTab(QStringLiteral("もじ"));
        host.Tabs->AddTab(QStringLiteral("フォント・いろ"));
        host.Tabs->SetAllowDragTab(false);
        host.Tabs->SetShowFocus(false);
        host.Tabs->TabOptions().SetTabPosition(position);
        host.Tabs->TabOptions().SetTabWidth(130);
        host.Tabs->TabOptions().SetTabHeight(28);
        host.Tabs->TabOptions().SetTabCloseFigure(false);
        host.Tabs->TabOptions().AdjustDefaultColors();
        host.Tabs->TabOptions().SetTabLeftMargin(8);
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPointSize(9);
        host.Window->setFont(font);
        host.Tabs->SetTabIndex(0);
        const QImage image = host.Tabs->Render().convertToFormat(QImage::Format_RGB32);
        const QRect tab = host.Tabs->GetTabRect(1);
        const QColor fill = image.pixelColor(tab.right() - 12, tab.center().y());
        int top = -1, bottom = -1;
        // Inside the outline: the caption's own pixels only.
        for (int y = tab.top() + 3; y < tab.bottom() - 2; ++y)
            for (int x = tab.left() + 6; x < tab.left() + 60; ++x)
                if (ContrastRatio(image.pixelColor(x, y), fill) > 2.0) {
                    top = top < 0 ? y : top;
                    bottom = y;
                }
        ASSERT_GE(top, 0) << "no caption drawn";
        const double middle = (top + bottom) / 2.0;
        EXPECT_NEAR(middle, tab.top() + tab.height() / 2.0, 3.0)
            << "caption rows " << top << ".." << bottom << " in tab " << tab.top() << ".."
            << tab.bottom();
    }
}
