// The font and colour page and the alarm swatches it steers: loading gives the
// handlers' states on both pages, each choice reaches the clock at once.
#include "OptionFixture.h"
#include "app/options/ColorPanel.h"
#include "app/options/OptionAlarmPage.h"
#include "app/options/OptionControls.h"
#include "app/options/OptionFontPage.h"
#include "widgets/KvPaintBox.h"
#include "widgets/KvTabSet.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QFontDialog>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace velmora;

TEST(OptionFontPage, FontDescription) {
    const QString pattern = "%s / %s / %d pt (%d px)";
    EXPECT_EQ(FontDescription(pattern, "Tahoma", 0, 9, 96), "Tahoma / Roman / 9 pt (12 px)");
    EXPECT_EQ(FontDescription(pattern, "Tahoma", fsBold | fsItalic, 8, 96),
              "Tahoma / Bold, Italic / 8 pt (11 px)");
    EXPECT_EQ(FontDescription(pattern, "Tahoma", 0, -16, 96), "Tahoma / Roman / 12 pt (16 px)");
    EXPECT_EQ(FontDescription(pattern, "Tahoma", 0, 9, 192), "Tahoma / Roman / 9 pt (24 px)");
    EXPECT_EQ(FontDescription("%s", "Tahoma", 0, 9, 96), "Tahoma"); // a short pattern
}

TEST(OptionFontPage, LoadingGivesTheHandlersStatesOnBothPages) {
    for (int fontMode : {1, 2})
        for (int backMode : {0, 1, 2})
            for (bool border : {false, true}) {
                SCOPED_TRACE(QStringLiteral("font %1 back %2 border %3")
                                 .arg(fontMode)
                                 .arg(backMode)
                                 .arg(border)
                                 .toStdString());
                OptionFixture fx(QStringLiteral("[Appearance]\nFontColorMode=%1\n"
                                                "BackgroundColorMode=%2\nShowBorder=%3\n"
                                                "FontGradientDirection=1\n[Alarm]\nUseAlarmColor=1")
                                     .arg(fontMode)
                                     .arg(backMode)
                                     .arg(border));
                TOptionForm& f = fx.Open();
                auto& p = fx.Page<TOptionFontPage>();
                auto& a = fx.Page<TOptionAlarmPage>();
                const bool fontGradient = fontMode == 2;
                EXPECT_EQ(p.RadioButton202->isChecked(), fontGradient);
                EXPECT_EQ(p.RadioButton201->isChecked(), !fontGradient);
                EXPECT_EQ(p.Panel201->isHidden(), fontGradient);
                EXPECT_EQ(p.Panel202->isHidden(), !fontGradient);
                EXPECT_EQ(p.Panel203->isHidden(), !fontGradient);
                EXPECT_EQ(p.RadioGroup201->isEnabled(), fontGradient);
                EXPECT_EQ(p.RadioGroup201->ItemIndex(), 1);
                EXPECT_EQ(fx.Main->ClockPaintBox()->D2DEnabled(), fontGradient);
                EXPECT_EQ(a.Panel501->isHidden(), fontGradient);
                EXPECT_EQ(a.Panel502->isHidden(), !fontGradient);
                EXPECT_EQ(a.Label501->x(), a.Panel503->x() + (fontGradient ? f.Scaled(56) : 0));
                const bool backGradient = backMode == 2;
                EXPECT_EQ(p.Panel204->isHidden(), backGradient);
                EXPECT_EQ(p.Panel205->isHidden(), !backGradient);
                EXPECT_EQ(p.Panel206->isHidden(), !backGradient);
                EXPECT_EQ(p.RadioGroup202->isEnabled(), backGradient);
                EXPECT_EQ(p.Image201->isHidden(), backMode != 0);
                EXPECT_EQ(fx.Main->Settings().TransparentColor, backMode == 0);
                EXPECT_EQ(a.Panel504->isHidden(), backGradient);
                EXPECT_EQ(a.Panel505->isHidden(), !backGradient);
                EXPECT_EQ(a.Image501->isHidden(), backMode != 0);
                EXPECT_EQ(a.Label502->x(), a.Panel506->x() + (backGradient ? f.Scaled(56) : 0));
                EXPECT_EQ(p.CheckBox201->isChecked(), border);
                EXPECT_EQ(p.Image202->isHidden(), border);
                EXPECT_EQ(a.Image502->isHidden(), border);
                EXPECT_EQ(int(fx.Main->Settings().FontColorMode), fontMode);
                EXPECT_EQ(int(fx.Main->Settings().BackgroundColorMode), backMode);
            }
}

TEST(OptionFontPage, ChoicesReachTheClockAndTheAlarmPage) {
    OptionFixture fx("[Appearance]\nFontColorMode=1\nBackgroundColorMode=1\nShowBorder=1");
    TOptionForm& f = fx.Open();
    auto& p = fx.Page<TOptionFontPage>();
    auto& a = fx.Page<TOptionAlarmPage>();
    p.RadioButton202->click();
    EXPECT_EQ(fx.Main->Settings().FontColorMode, cmGradient);
    EXPECT_TRUE(fx.Main->Settings().D2DEnabled);
    EXPECT_TRUE(fx.Main->ClockPaintBox()->D2DEnabled());
    EXPECT_EQ(a.Label501->x(), a.Panel503->x() + f.Scaled(56));
    p.RadioGroup201->Item(1)->click();
    EXPECT_EQ(fx.Main->Settings().FontGradientDirection, gdVertical);
    p.RadioButton205->click();
    EXPECT_EQ(fx.Main->Settings().BackgroundColorMode, cmGradient);
    EXPECT_FALSE(a.Panel506->isHidden());
    p.RadioGroup202->Item(1)->click();
    EXPECT_EQ(fx.Main->Settings().BackgroundGradientDirection, gdVertical);
    p.RadioButton203->click();
    EXPECT_EQ(fx.Main->Settings().BackgroundColorMode, cmTransparent);
    EXPECT_TRUE(fx.Main->Settings().TransparentColor);
    EXPECT_FALSE(a.Image501->isHidden());
    p.CheckBox201->click();
    EXPECT_FALSE(fx.Main->Settings().ShowBorder);
    EXPECT_FALSE(p.Image202->isHidden());
    EXPECT_FALSE(a.Image502->isHidden());
    p.RadioButton201->click();
    EXPECT_EQ(fx.Main->Settings().FontColorMode, cmSolid);
    EXPECT_FALSE(fx.Main->ClockPaintBox()->D2DEnabled());
    EXPECT_EQ(a.Label501->x(), a.Panel503->x());
}

TEST(OptionFontPage, SwatchesChooseColoursAndMarksCoverThem) {
    OptionFixture fx("[Appearance]\nBackgroundColorMode=0\nShowBorder=0");
    TOptionForm& f = fx.Open();
    auto& p = fx.Page<TOptionFontPage>();
    std::optional<QColor> answer = QColor(200, 10, 20);
    int asked = 0;
    QColor initial;
    f.Dialogs.Color = [&](QColorDialog& d) {
        ++asked;
        initial = d.currentColor();
        return answer;
    };
    const QPoint middle(p.Panel204->width() / 2, p.Panel204->height() / 2);
    // Covered by the see-through mark: a click does nothing.
    QTest::mouseClick(p.Panel204->childAt(middle), Qt::LeftButton, {}, QPoint(3, 3));
    QTest::mouseClick(p.Panel204, Qt::LeftButton, {}, middle);
    EXPECT_EQ(asked, 0);
    p.RadioButton204->click();
    QTest::mouseClick(p.Panel204, Qt::LeftButton, {}, middle);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(initial, QColor(0xC0, 0xDC, 0xC0)); // money green, the field's colour
    EXPECT_EQ(fx.Main->Settings().NormalBackgroundColor, RgbToColor(200, 10, 20));
    EXPECT_EQ(p.Panel204->Color(), QColor(200, 10, 20));
    EXPECT_EQ(QColorDialog::customColor(0), QColor(0xC0, 0xDC, 0xC0));
    // Cancelled: nothing changes.
    answer.reset();
    QTest::mouseClick(p.Panel201, Qt::LeftButton, {}, middle);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(fx.Main->Settings().NormalFontColor, RgbToColor(0, 0x80, 0));
    // The alarm swatches write the alarm set.
    answer = QColor(1, 2, 3);
    ColorPanelClick(fx.Page<TOptionAlarmPage>().Panel507, f);
    EXPECT_EQ(fx.Main->Settings().AlarmBorderColor, RgbToColor(1, 2, 3));
}

TEST(OptionFontPage, PanelNumbers) {
    QWidget host;
    struct {
        const char* name;
        int number;
    } cases[] = {{"Panel201", 201}, {"Panel507", 507}, {"Panel20x", -1}, {"P1", -1}, {"", -1}};
    for (const auto& c : cases) {
        TColorPanel panel(QLatin1String(c.name), &host);
        EXPECT_EQ(GetPanelNumber(&panel), c.number) << c.name;
    }
    TVlmSettings s;
    EXPECT_EQ(PanelColorField(s, 203), &s.NormalFontEndColor);
    EXPECT_EQ(PanelColorField(s, 505), &s.AlarmBackgroundStartColor);
    EXPECT_EQ(PanelColorField(s, 208), nullptr);
}

TEST(OptionFontPage, FontDialogSetsTheClockFont) {
    OptionFixture fx;
    TOptionForm& f = fx.Open();
    auto& p = fx.Page<TOptionFontPage>();
    QFont initial;
    f.Dialogs.Font = [&](QFontDialog& d) -> std::optional<QFont> {
        initial = d.currentFont();
        QFont chosen(QStringLiteral("DejaVu Serif"));
        chosen.setPointSize(20);
        chosen.setBold(true);
        return chosen;
    };
    const int width = fx.Main->width();
    p.Button201->click();
    EXPECT_EQ(initial.family(), fx.Platform.MenuFont().family());
    EXPECT_EQ(fx.Main->Settings().FontName, "DejaVu Serif");
    EXPECT_EQ(fx.Main->Settings().FontSize, 20);
    EXPECT_EQ(fx.Main->Settings().FontStyle, fsBold);
    EXPECT_EQ(fx.Main->font().family(), "DejaVu Serif");
    EXPECT_GT(fx.Main->width(), width);
    EXPECT_TRUE(p.Label201->text().startsWith("DejaVu Serif / Bold / 20 pt ("));
    f.Dialogs.Font = [](QFontDialog&) { return std::optional<QFont>(); };
    p.Button201->click();
    EXPECT_EQ(fx.Main->Settings().FontName, "DejaVu Serif");
}

TEST(OptionFontPage, GradientDirectionItemsGetTheRoomTheyNeed) {
    OptionFixture fx;
    TOptionForm& f = fx.Open();
    f.OptionTabSet->SetTabIndex(1);
    // A desktop font a little larger than the usual 9 points: the groups' caption
    // and items must still fit.
    QFont big(QStringLiteral("DejaVu Sans"));
    big.setPointSize(11);
    f.setFont(big);
    QApplication::processEvents();
    auto& page = fx.Page<TOptionFontPage>();
    for (TRadioGroup* group : {page.RadioGroup201, page.RadioGroup202}) {
        SCOPED_TRACE(group->objectName().toStdString());
        const QRect inside = group->contentsRect();
        for (int i = 0; i < group->Count(); ++i) {
            const QRadioButton* item = group->Item(i);
            SCOPED_TRACE(item->text().toStdString());
            EXPECT_GE(item->height(), item->sizeHint().height());
            EXPECT_GE(item->width(), item->sizeHint().width());
            EXPECT_TRUE(inside.contains(item->geometry())) << "item outside its group";
        }
        // The group itself stays inside the box around it.
        EXPECT_TRUE(group->parentWidget()->rect().contains(group->geometry()));
    }
}

TEST(OptionFontPage, SeeThroughAndSolidBackgroundsShowAtOnce) {
    // No tick runs here: each choice must reach the clock window by itself.
    OptionFixture fx("[Appearance]\nBackgroundColorMode=1\nNormalBackgroundColor=$00FFFFFF");
    fx.Open();
    auto& p = fx.Page<TOptionFontPage>();
    ASSERT_TRUE(fx.Main->mask().isEmpty());
    p.RadioButton203->click(); // see-through: only the text's pixels are left
    EXPECT_FALSE(fx.Main->mask().isEmpty());
    EXPECT_NE(fx.Main->mask(), QRegion(fx.Main->rect()));
    p.RadioButton204->click(); // solid: the whole window again
    EXPECT_TRUE(fx.Main->mask().isEmpty());
    p.RadioButton203->click();
    EXPECT_FALSE(fx.Main->mask().isEmpty());
    p.RadioButton205->click(); // a gradient background is solid too
    EXPECT_TRUE(fx.Main->mask().isEmpty());
}

TEST(OptionFontPage, TheFontDialogOffersNoEffectsAndTheClockDrawsNone) {
    OptionFixture fx("[Appearance]\nFontStyle=15"); // a hand-edited file asks for them all
    TOptionForm& f = fx.Open();
    auto& p = fx.Page<TOptionFontPage>();
    // Neither drawn nor named.
    EXPECT_FALSE(fx.Main->font().underline());
    EXPECT_FALSE(fx.Main->font().strikeOut());
    EXPECT_TRUE(fx.Main->font().bold() && fx.Main->font().italic());
    EXPECT_TRUE(p.Label201->text().contains(" / Bold, Italic / "))
        << p.Label201->text().toStdString();
    int offeredEffects = -1;
    f.Dialogs.Font = [&](QFontDialog& d) -> std::optional<QFont> {
        offeredEffects = 0;
        for (const QCheckBox* box : d.findChildren<QCheckBox*>())
            offeredEffects += box->isVisibleTo(&d);
        QFont chosen(QStringLiteral("DejaVu Serif"));
        chosen.setPointSize(12);
        chosen.setUnderline(true);
        chosen.setStrikeOut(true);
        return chosen;
    };
    p.Button201->click();
    EXPECT_EQ(offeredEffects, 0);
    EXPECT_EQ(fx.Main->Settings().FontStyle, 0);
    EXPECT_FALSE(fx.Main->font().underline());
    EXPECT_TRUE(p.Label201->text().startsWith("DejaVu Serif / Roman / 12 pt ("));
}
