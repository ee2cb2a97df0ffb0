#include "widgets/KvButtonPaint.h"
#include "widgets/KvPngButton.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QEnterEvent>
#include <QMenu>
#include <QPainter>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace velmora;

namespace {

// Test data only: the button itself decodes with the program's decoder.
QByteArray Png(QSize size, QColor color) {
    QImage img(size, QImage::Format_ARGB32);
    img.fill(color);
    QByteArray data;
    QBuffer buf(&data);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "PNG");
    return data;
}

QImage Grab(QWidget* w, QColor under = Qt::white) {
    QImage img(w->size(), QImage::Format_ARGB32);
    img.fill(under);
    w->render(&img, QPoint(), QRegion(), QWidget::DrawChildren);
    return img;
}

// The rectangle of pixels that are pure `c`.
QRect Extent(const QImage& img, QColor c) {
    QRect r;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) == c.rgb())
                r |= QRect(x, y, 1, 1);
    return r;
}

bool HasColor(const QImage& img, QColor c) {
    return !Extent(img, c).isNull();
}

// Records where its menu would open instead of running it.
class RecordingButton : public TKvPngButton {
public:
    using TKvPngButton::TKvPngButton;
    int Popups = 0;
    QPoint At;

protected:
    void PopupMenuAt(QMenu*, QPoint p) override {
        ++Popups;
        At = p;
    }
};

} // namespace

TEST(LayoutButtonParts, Table) {
    struct Case {
        const char* name;
        TButtonPartsInput in;
        QPoint glyph, caption;
        int captionBottom;
        QRect arrow;
    } cases[] = {
        {"glyph only",
         {{24, 22}, {16, 16}, {0, 0}, pbsFlat, blGlyphLeft, 4, dosRight, false},
         {4, 3},
         {20, 11},
         22,
         QRect(6, 0, 18, 22)},
        {"pressed right",
         {{24, 22}, {16, 16}, {0, 0}, pbsFlat, blGlyphLeft, 4, dosRight, true},
         {5, 3},
         {21, 11},
         22,
         QRect(7, 0, 18, 22)},
        {"pressed bottom right",
         {{24, 22}, {16, 16}, {0, 0}, pbsFlat, blGlyphLeft, 4, dosBottomRight, true},
         {5, 4},
         {21, 12},
         22,
         QRect(7, 1, 18, 22)},
        {"pressed none",
         {{24, 22}, {16, 16}, {0, 0}, pbsFlat, blGlyphLeft, 4, dosNone, true},
         {4, 3},
         {20, 11},
         22,
         QRect(6, 0, 18, 22)},
        // x0 = (100 - (16 + 30 + 4)) div 2 = 25
        {"left",
         {{100, 22}, {16, 16}, {30, 14}, pbsFlat, blGlyphLeft, 4, dosRight, false},
         {25, 3},
         {45, 4},
         22,
         QRect(82, 0, 18, 22)},
        {"right",
         {{100, 22}, {16, 16}, {30, 14}, pbsFlat, blGlyphRight, 4, dosRight, false},
         {59, 3},
         {25, 4},
         22,
         QRect(82, 0, 18, 22)},
        // y0 = (60 - (16 + 14 + 4)) div 2 = 13
        {"top",
         {{100, 60}, {16, 16}, {30, 14}, pbsFlat, blGlyphTop, 4, dosRight, false},
         {42, 13},
         {35, 33},
         60,
         QRect(82, 0, 18, 60)},
        {"bottom",
         {{100, 60}, {16, 16}, {30, 14}, pbsFlat, blGlyphBottom, 4, dosRight, false},
         {42, 31},
         {35, 13},
         31,
         QRect(82, 0, 18, 60)},
        // The arrow area is left out of the centring.
        {"drop-down",
         {{42, 22}, {16, 16}, {0, 0}, pbsDropdown, blGlyphLeft, 4, dosRight, false},
         {4, 3},
         {20, 11},
         22,
         QRect(24, 0, 18, 22)},
        // No spacing without a glyph.
        {"caption only",
         {{100, 22}, {0, 0}, {30, 14}, pbsFlat, blGlyphLeft, 4, dosRight, false},
         {35, 11},
         {35, 4},
         22,
         QRect(82, 0, 18, 22)},
    };
    for (const Case& c : cases) {
        const TButtonParts p = LayoutButtonParts(c.in);
        EXPECT_EQ(p.GlyphRect.topLeft(), c.glyph) << c.name;
        EXPECT_EQ(p.GlyphRect.size(), c.in.Glyph) << c.name;
        EXPECT_EQ(p.CaptionRect.topLeft(), c.caption) << c.name;
        EXPECT_EQ(p.CaptionRect.top() + p.CaptionRect.height(), c.captionBottom) << c.name;
        EXPECT_EQ(p.ArrowRect, c.arrow) << c.name;
    }
}

TEST(LayoutButtonParts, DropDownPointAndArrow) {
    const QRect monitor(0, 0, 800, 600);
    EXPECT_EQ(DropDownPoint({100, 100}, {24, 22}, paLeft, monitor, 50), QPoint(100, 122));
    EXPECT_EQ(DropDownPoint({100, 100}, {24, 22}, paRight, monitor, 50), QPoint(124, 122));
    EXPECT_EQ(DropDownPoint({100, 100}, {24, 22}, paCenter, monitor, 50), QPoint(112, 122));
    EXPECT_EQ(DropDownPoint({790, 100}, {24, 22}, paRight, monitor, 50), QPoint(800, 122));
    // Too little room below: the point moves up by the button's height.
    EXPECT_EQ(DropDownPoint({100, 550}, {24, 22}, paLeft, monitor, 50), QPoint(100, 550));
    // A second monitor to the right keeps its own coordinates.
    EXPECT_EQ(DropDownPoint({900, 100}, {24, 22}, paLeft, QRect(800, 0, 800, 600), 50),
              QPoint(900, 122));
    EXPECT_EQ(DropDownArrowTriangle(QRect(24, 0, 18, 22)),
              QPolygon({QPoint(29, 9), QPoint(35, 9), QPoint(32, 12)}));
}

TEST(LayoutButtonParts, DisabledGlyphHalvesOpacity) {
    QImage img(2, 1, QImage::Format_ARGB32);
    img.setPixel(0, 0, qRgba(255, 0, 0, 255));
    img.setPixel(1, 0, qRgba(0, 0, 255, 129));
    const QImage d = DisabledGlyph(img);
    EXPECT_EQ(d.pixel(0, 0), qRgba(255, 0, 0, 127));
    EXPECT_EQ(d.pixel(1, 0), qRgba(0, 0, 255, 64));
    EXPECT_TRUE(DisabledGlyph(QImage()).isNull());
}

TEST(TKvPngButton, DefaultsAndDropDownWidth) {
    TKvPngButton b;
    EXPECT_EQ(b.size(), QSize(22, 24));
    EXPECT_EQ(b.ButtonStyle(), pbsFlat);
    EXPECT_EQ(b.DownOffsetStyle(), dosRight);
    EXPECT_EQ(b.Layout(), blGlyphLeft);
    EXPECT_EQ(b.Spacing(), 4);
    EXPECT_TRUE(b.Transparent());
    EXPECT_FALSE(b.Down());
    b.SetButtonStyle(pbsDropdown);
    EXPECT_EQ(b.width(), 40);
    b.SetButtonStyle(pbsDropdown);
    EXPECT_EQ(b.width(), 40);
    b.SetButtonStyle(pbsFlatCheck);
    EXPECT_EQ(b.width(), 22);
    EXPECT_EQ(b.sizeHint(), QSize(22, 22));
    b.SetGlyphUp(Png({16, 16}, Qt::red));
    b.SetCaption("Caption");
    const int tw = b.fontMetrics().horizontalAdvance("Caption");
    EXPECT_EQ(b.sizeHint().width(), 16 + 4 + tw + 8);
}

TEST(TKvPngButton, CaptionMeasuresWithoutItsMnemonicMarks) {
    TKvPngButton b;
    b.resize(300, 24);
    const QFontMetrics fm = b.fontMetrics();
    struct Case {
        QString caption, shown;
    } cases[] = {{"&Create", "Create"}, {"Save && quit", "Save & quit"}, {"A&", "A"}, {"", ""}};
    for (const Case& c : cases) {
        b.SetCaption(c.caption);
        const QSize expected =
            c.shown.isEmpty() ? QSize(0, 0) : QSize(fm.horizontalAdvance(c.shown), fm.height());
        EXPECT_EQ(b.Parts().CaptionRect.width(), expected.width()) << c.caption.toStdString();
    }
}

TEST(TKvPngButton, GlyphSitsAtItsPixelsAndMovesWhenPressed) {
    TKvPngButton b;
    b.resize(24, 22);
    ASSERT_TRUE(b.SetGlyphUp(Png({16, 16}, Qt::red)));
    EXPECT_FALSE(b.SetGlyphHot("not a png"));
    b.show();
    struct Case {
        TKvDownOffsetStyle style;
        bool pressed;
        QRect expected;
    } cases[] = {
        {dosRight, false, QRect(4, 3, 16, 16)},
        {dosRight, true, QRect(5, 3, 16, 16)},
        {dosBottomRight, true, QRect(5, 4, 16, 16)},
        {dosNone, true, QRect(4, 3, 16, 16)},
    };
    for (const Case& c : cases) {
        b.SetDownOffsetStyle(c.style);
        if (c.pressed)
            QTest::mousePress(&b, Qt::LeftButton, {}, QPoint(10, 10));
        EXPECT_EQ(Extent(Grab(&b), Qt::red), c.expected) << c.style << " " << c.pressed;
        if (c.pressed)
            QTest::mouseRelease(&b, Qt::LeftButton, {}, QPoint(10, 10));
    }
}

TEST(TKvPngButton, GlyphFollowsTheState) {
    TKvPngButton b;
    b.resize(24, 22);
    b.show();
    ASSERT_TRUE(b.SetGlyphUp(Png({16, 16}, Qt::red)));
    const auto colour = [&] { return b.CurrentGlyph().pixelColor(8, 8); };
    EXPECT_EQ(colour(), QColor(Qt::red));
    QEnterEvent enter(QPointF(3, 3), QPointF(3, 3), QPointF(3, 3));
    QApplication::sendEvent(&b, &enter);
    EXPECT_EQ(colour(), QColor(Qt::red)); // no hot glyph: the up glyph
    b.SetGlyphHot(Png({16, 16}, Qt::green));
    b.SetGlyphDown(Png({16, 16}, Qt::blue));
    EXPECT_EQ(colour(), QColor(Qt::green));
    QTest::mousePress(&b, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(colour(), QColor(Qt::blue));
    QTest::mouseRelease(&b, Qt::LeftButton, {}, QPoint(5, 5));
    b.setEnabled(false);
    EXPECT_EQ(b.CurrentGlyph().pixel(8, 8), qRgba(255, 0, 0, 127));
}

TEST(TKvPngButton, FrameByStyleAndState) {
    enum Frame { None, Raised, Sunken };
    enum Action { Hover, Press, LatchDown, Disable };
    struct Case {
        TKvPngButtonStyle style;
        Action action;
        Frame expected;
    } cases[] = {
        {pbsFlat, Hover, Raised},     {pbsFlat, Press, Sunken},  {pbsFlatCheck, LatchDown, Sunken},
        {pbsDropdown, Hover, Raised}, {pbsNoFrame, Hover, None}, {pbsNoFrame, Press, None},
        {pbsFlat, Disable, None},
    };
    const QRgb face = QColor(0, 160, 0).rgb();
    for (const Case& c : cases) {
        QWidget host;
        auto* b = new TKvPngButton(&host);
        b->resize(30, 22);
        b->SetColor(QColor(0, 160, 0));
        b->SetTransparent(false);
        b->SetButtonStyle(c.style);
        host.show();
        QEnterEvent enter(QPointF(3, 3), QPointF(3, 3), QPointF(3, 3));
        if (c.action != Disable)
            QApplication::sendEvent(b, &enter);
        if (c.action == Press)
            QTest::mousePress(b, Qt::LeftButton, {}, QPoint(5, 5));
        if (c.action == LatchDown) {
            b->SetDown(true);
            QEvent leave(QEvent::Leave);
            QApplication::sendEvent(b, &leave);
        }
        if (c.action == Disable)
            b->setEnabled(false);
        const QImage img = Grab(b);
        const QRgb topLeft = img.pixel(0, 5);
        const QRgb bottomRight = img.pixel(b->width() - 1, 5);
        switch (c.expected) {
        case None:
            EXPECT_EQ(topLeft, face) << c.style << " " << c.action;
            EXPECT_EQ(bottomRight, face) << c.style << " " << c.action;
            break;
        case Raised:
            EXPECT_EQ(topLeft, SysButtonHighlight().rgb()) << c.style << " " << c.action;
            EXPECT_EQ(bottomRight, SysButtonShadow().rgb()) << c.style << " " << c.action;
            break;
        case Sunken:
            EXPECT_EQ(topLeft, SysButtonShadow().rgb()) << c.style << " " << c.action;
            EXPECT_EQ(bottomRight, SysButtonHighlight().rgb()) << c.style << " " << c.action;
            break;
        }
        if (c.action == Press)
            QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(5, 5));
    }
}

TEST(TKvPngButton, CaptionAndGlyphCentreAsAWhole) {
    TKvPngButton b;
    b.resize(200, 24);
    b.SetGlyphUp(Png({16, 16}, Qt::red));
    b.SetCaption(QStringLiteral("ショートカット作成"));
    const int tw = b.fontMetrics().horizontalAdvance(b.Caption());
    EXPECT_EQ(b.Parts().GlyphRect.left(), (200 - 16 - tw - 4) / 2);
    EXPECT_EQ(b.Parts().CaptionRect.left(), (200 - 16 - tw - 4) / 2 + 20);
    EXPECT_EQ(Extent(Grab(&b), Qt::red).left(), (200 - 16 - tw - 4) / 2);
}

TEST(TKvPngButton, ClickFiresOnReleaseOverTheButton) {
    TKvPngButton b;
    b.show();
    int clicks = 0;
    b.SetOnClick([&](QObject* s) { clicks += s == &b; });
    QTest::mouseClick(&b, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicks, 1);
    QTest::mousePress(&b, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(b.ButtonState(), bsDown);
    QTest::mouseMove(&b, QPoint(50, 50));
    EXPECT_EQ(b.ButtonState(), bsUp);
    QTest::mouseRelease(&b, Qt::LeftButton, {}, QPoint(50, 50));
    EXPECT_EQ(clicks, 1);
    QTest::mouseClick(&b, Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicks, 1);
}

TEST(TKvPngButton, CheckButtonTogglesOnlyWhenReleasedOver) {
    TKvPngButton b;
    b.SetButtonStyle(pbsFlatCheck);
    b.show();
    QTest::mouseClick(&b, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(b.Down());
    EXPECT_EQ(b.ButtonState(), bsExclusive);
    QTest::mousePress(&b, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(&b, QPoint(60, 60));
    QTest::mouseRelease(&b, Qt::LeftButton, {}, QPoint(60, 60));
    EXPECT_TRUE(b.Down());
    QTest::mouseClick(&b, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(b.Down());
    EXPECT_EQ(b.ButtonState(), bsUp);
}

TEST(TKvPngButton, GroupedButtonsActAsRadioButtons) {
    QWidget host;
    auto* a = new TKvPngButton(&host);
    auto* b = new TKvPngButton(&host);
    auto* loose = new TKvPngButton(&host); // not grouped: left alone
    b->move(30, 0);
    for (TKvPngButton* x : {a, b, loose}) {
        x->SetButtonStyle(pbsFlatCheck);
        x->SetGrouped(x != loose);
    }
    host.show();
    loose->SetGrouped(false);
    loose->SetDown(true);
    QTest::mouseClick(a, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(a->Down());
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(b->Down());
    EXPECT_FALSE(a->Down());
    EXPECT_EQ(a->ButtonState(), bsUp);
    EXPECT_TRUE(loose->Down());
    // The down one stays down ...
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(b->Down());
    b->SetDown(false);
    EXPECT_TRUE(b->Down());
    // ... unless the group allows all up; the setting spreads to the group.
    b->SetAllowAllUp(true);
    EXPECT_TRUE(a->AllowAllUp());
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(b->Down());
}

TEST(TKvPngButton, DisabledGlyphAtHalfOpacityAndEmbossedCaption) {
    TKvPngButton b;
    b.resize(120, 24);
    b.SetGlyphUp(Png({16, 16}, Qt::red));
    b.SetCaption("Create");
    b.SetColor(QColor(0, 160, 0));
    b.SetTransparent(false);
    QImage img = Grab(&b);
    EXPECT_FALSE(HasColor(img, SysButtonHighlight()));
    b.setEnabled(false);
    EXPECT_EQ(b.ButtonState(), bsDisabled);
    img = Grab(&b);
    const QPoint g = b.Parts().GlyphRect.center();
    const QColor c = img.pixelColor(g);
    // Half red over the green face.
    EXPECT_NEAR(c.red(), 128, 3);
    EXPECT_NEAR(c.green(), 80, 3);
    EXPECT_TRUE(HasColor(img, SysButtonHighlight()));
    EXPECT_TRUE(HasColor(img, SysButtonShadow()));
}

TEST(TKvPngButton, PressOpensTheMenuWithoutAClick) {
    QWidget host;
    auto* b = new RecordingButton(&host);
    b->move(10, 10);
    host.show();
    QMenu menu;
    b->SetDropDownMenu(&menu);
    int clicks = 0;
    b->SetOnClick([&](QObject*) { ++clicks; });
    // An empty menu is not shown: an ordinary click.
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(b->Popups, 0);
    EXPECT_EQ(clicks, 1);

    menu.addAction("One");
    QTest::mousePress(b, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(b->Popups, 1);
    EXPECT_EQ(b->At, b->mapToGlobal(QPoint(0, b->height())));
    EXPECT_EQ(b->ButtonState(), bsUp); // released when the menu closed
    EXPECT_FALSE(b->MenuTracking());
    QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicks, 1);
}

TEST(TKvPngButton, RealMenuRunsUntilClosed) {
    TKvPngButton b;
    b.show();
    QMenu menu;
    menu.addAction("One");
    b.SetDropDownMenu(&menu);
    bool tracking = false;
    QTimer::singleShot(0, [&] {
        tracking = b.MenuTracking();
        menu.close();
    });
    int clicks = 0;
    b.SetOnClick([&](QObject*) { ++clicks; });
    QTest::mousePress(&b, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(tracking);
    EXPECT_FALSE(b.MenuTracking());
    QTest::mouseRelease(&b, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicks, 0);
}

TEST(TKvPngButton, ActionSuppliesCaptionStateAndImage) {
    QWidget host;
    auto* b = new TKvPngButton(&host);
    host.show();
    QAction action("&Create shortcut");
    QPixmap icon(16, 16);
    icon.fill(Qt::blue);
    action.setIcon(QIcon(icon));
    action.setCheckable(true);
    action.setChecked(true);
    b->SetAction(&action);
    EXPECT_EQ(b->Caption(), action.text());
    EXPECT_TRUE(b->Down());
    EXPECT_TRUE(b->ImageFromAction());
    EXPECT_EQ(b->GlyphUp().size(), QSize(16, 16));
    EXPECT_EQ(b->GlyphUp().pixelColor(8, 8), QColor(Qt::blue));
    action.setEnabled(false);
    EXPECT_FALSE(b->isEnabled());
    action.setEnabled(true);
    action.setChecked(false);
    EXPECT_FALSE(b->Down());
    action.setText("Other");
    EXPECT_EQ(b->Caption(), "Other");

    int triggered = 0;
    QObject::connect(&action, &QAction::triggered, [&] { ++triggered; });
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(triggered, 1);

    // A glyph of its own is not replaced by the action's image.
    b->SetGlyphUp(Png({16, 16}, Qt::red));
    action.setIcon(QIcon(icon));
    EXPECT_FALSE(b->ImageFromAction());
    EXPECT_EQ(b->GlyphUp().pixelColor(8, 8), QColor(Qt::red));
}

TEST(TKvPngButton, DoubleClickOnlyWhenDownAndHandlersMayDestroy) {
    TKvPngButton b;
    b.show();
    int dbl = 0;
    b.SetOnDblClick([&](QObject*) { ++dbl; });
    QTest::mouseDClick(&b, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(dbl, 0);
    b.SetDown(true);
    QTest::mouseDClick(&b, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(dbl, 1);

    QWidget host;
    QPointer<TKvPngButton> doomed = new TKvPngButton(&host);
    host.show();
    doomed->SetOnClick([](QObject* s) { delete s; });
    QTest::mouseClick(doomed.data(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(doomed.isNull());
}
