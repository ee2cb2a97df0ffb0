// The clock's three colour sets, seven colours each: the current one (the run
// state's), the normal and the alarm one (the settings'). Each set keeps its
// fields by name, since the names are the settings file's keys; this table walks
// them side by side so that no copy or comparison lists them again.
#pragma once

#include "core/ClockRunState.h"
#include "core/Settings.h"

#include <array>

namespace velmora {

enum class TColorSet { Normal, Alarm };

// One colour of a set, in each of the three sets.
struct TColorSetMember {
    TColor TClockRunState::*Current;
    TColor TVlmSettings::*Normal;
    TColor TVlmSettings::*Alarm;
};

inline constexpr int kColorSetSize = 7;

// In the order of the options dialog's swatches (Panel201 .. Panel207 for the
// normal set, Panel501 .. Panel507 for the alarm set).
inline constexpr std::array<TColorSetMember, kColorSetSize> kColorSetMembers{{
    {&TClockRunState::FontColor, &TVlmSettings::NormalFontColor, &TVlmSettings::AlarmFontColor},
    {&TClockRunState::FontStartColor, &TVlmSettings::NormalFontStartColor,
     &TVlmSettings::AlarmFontStartColor},
    {&TClockRunState::FontEndColor, &TVlmSettings::NormalFontEndColor,
     &TVlmSettings::AlarmFontEndColor},
    {&TClockRunState::BackgroundColor, &TVlmSettings::NormalBackgroundColor,
     &TVlmSettings::AlarmBackgroundColor},
    {&TClockRunState::BackgroundStartColor, &TVlmSettings::NormalBackgroundStartColor,
     &TVlmSettings::AlarmBackgroundStartColor},
    {&TClockRunState::BackgroundEndColor, &TVlmSettings::NormalBackgroundEndColor,
     &TVlmSettings::AlarmBackgroundEndColor},
    {&TClockRunState::BorderColor, &TVlmSettings::NormalBorderColor,
     &TVlmSettings::AlarmBorderColor},
}};

// The settings' field of colour `index` (0 .. kColorSetSize - 1) of `set`.
constexpr TColor TVlmSettings::*ColorSetField(TColorSet set, int index) {
    const TColorSetMember& m = kColorSetMembers[std::size_t(index)];
    return set == TColorSet::Alarm ? m.Alarm : m.Normal;
}

// The current colours := `set` of `s`.
void CopyColorSet(TClockRunState& current, const TVlmSettings& s, TColorSet set);

} // namespace velmora
