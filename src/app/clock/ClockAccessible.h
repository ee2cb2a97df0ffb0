// What a screen reader learns of the clock window: its name is the program's, its
// description the text the clock shows. The reader asks when it wants to know, so
// the ticks announce nothing: a clock that spoke every second would drown out
// everything else the user is listening to.
#pragma once

namespace velmora {

// Registers the clock window's accessible interface with Qt (once per process).
void InstallClockAccessibility();

} // namespace velmora
