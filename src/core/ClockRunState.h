// What the clock holds at this moment and never stores: whether the alarm runs
// and the colours it draws with now. The settings file keeps none of it.
#pragma once

#include "core/ColorText.h"

namespace velmora {

struct TClockRunState {
    bool IsAlarmRunning = false;
    // Colours in use at this moment: the normal or the alarm set.
    TColor FontColor = 0;
    TColor FontStartColor = 0;
    TColor FontEndColor = 0;
    TColor BackgroundColor = 0;
    TColor BackgroundStartColor = 0;
    TColor BackgroundEndColor = 0;
    TColor BorderColor = 0;
};

} // namespace velmora
