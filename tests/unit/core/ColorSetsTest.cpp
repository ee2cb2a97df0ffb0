#include "core/ColorSets.h"

#include <gtest/gtest.h>
#include <set>

using namespace velmora;

namespace {

// Every colour of both stored sets set to a value of its own.
TVlmSettings Numbered() {
    TVlmSettings s;
    for (int i = 0; i < kColorSetSize; ++i) {
        s.*ColorSetField(TColorSet::Normal, i) = TColor(100 + i);
        s.*ColorSetField(TColorSet::Alarm, i) = TColor(200 + i);
    }
    return s;
}

} // namespace

TEST(ColorSets, EachSetNamesSevenFieldsOfItsOwn) {
    // A field listed twice or shared between the sets would leave a colour that
    // no copy reaches: the numbered record tells them apart.
    const TVlmSettings s = Numbered();
    std::set<TColor> seen;
    for (int i = 0; i < kColorSetSize; ++i) {
        seen.insert(s.*ColorSetField(TColorSet::Normal, i));
        seen.insert(s.*ColorSetField(TColorSet::Alarm, i));
    }
    EXPECT_EQ(seen.size(), std::size_t(2 * kColorSetSize));
    EXPECT_EQ(s.NormalFontColor, 100);
    EXPECT_EQ(s.NormalBorderColor, 106);
    EXPECT_EQ(s.AlarmBackgroundStartColor, 204);
}

TEST(ColorSets, CopyFillsEveryCurrentColourFromTheSet) {
    const TVlmSettings s = Numbered();
    const struct {
        TColorSet Set;
        TColor Base;
    } cases[] = {{TColorSet::Normal, 100}, {TColorSet::Alarm, 200}};
    for (const auto& c : cases) {
        TClockRunState run;
        run.IsAlarmRunning = true;
        CopyColorSet(run, s, c.Set);
        const TColor current[] = {
            run.FontColor,       run.FontStartColor,       run.FontEndColor,
            run.BackgroundColor, run.BackgroundStartColor, run.BackgroundEndColor,
            run.BorderColor};
        for (int i = 0; i < kColorSetSize; ++i)
            EXPECT_EQ(current[i], c.Base + TColor(i)) << "colour " << i;
        EXPECT_TRUE(run.IsAlarmRunning); // colours only
    }
}
