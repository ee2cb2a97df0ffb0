// What the options dialog may ask of the clock: the settings record its pages
// edit in place, the run state they read, a word after an edit so that it shows
// at once, and the few things the pages start. The dialog knows no more of the
// clock than this, so it runs with a stand-in as well as with the clock window.
#pragma once

#include "core/ClockRunState.h"
#include "core/ColorText.h"
#include "core/Settings.h"

#include <QColor>
#include <QFont>
#include <QString>

class QAction;

namespace velmora {

class Platform;
class TKvCommandList;
struct TDayOfTheWeekStr;

// An edit the clock shows at once; anything else it picks up on its next tick.
enum class TSettingChange {
    Size,            // text, scale or day words: the window refits to its text
    Font,            // the clock font: applied to the window, which refits
    DrawingPath,     // D2DEnabled: the gradient-capable drawing path on or off, refit
    Alpha,           // AlphaBlend, AlphaBlendValue
    Stacking,        // FormOnTopmost; a clock sent to the bottom comes to the front once
    FullScreenWatch, // HideOnFullScreen
    CommandTimings,  // the command list's start-up, resume and timed commands
    Background,      // BackgroundColorMode and TransparentColor: redrawn and re-shaped now
};

class IOptionHost {
public:
    virtual TVlmSettings& Settings() = 0;
    virtual const TClockRunState& RunState() const = 0;
    virtual void SettingsChanged(TSettingChange change) = 0;

    // The alarm test button.
    virtual void ActStartAlarmExecute() = 0;
    virtual void ActPopStopAlarmExecute() = 0;
    virtual TKvCommandList& CommandList() = 0;
    virtual void RunCommandItem(int index) = 0;
    // The action that adds the autostart entry; its caption follows the language.
    virtual QAction* CreateShortcutAction() = 0;
    virtual TDayOfTheWeekStr& DayWords() = 0;
    virtual QString IniFileName() const = 0;
    virtual Platform& GetPlatform() const = 0;
    // The font the clock draws with, as the settings describe it, and the
    // vertical resolution its sizes are measured at.
    virtual QFont ClockFont() const = 0;
    virtual int ClockDpiY() const = 0;
    // False where the clock's canvas has no gradient-capable drawing path.
    virtual bool D2DSupported() const = 0;
    // A stored colour (possibly a system colour) as it shows.
    virtual QColor ResolvedColor(TColor c) const = 0;

protected:
    ~IOptionHost() = default;
};

} // namespace velmora
