// What the clock window's tests start from: a clock on the fake platform, made
// from a settings file the test writes, with the ticks driven by the test; and
// one drawing state that the drawing tests vary.
#pragma once

#include "app/clock/ClockDraw.h"
#include "app/clock/MainForm.h"
#include "core/IniDocument.h"
#include "core/KvTimer.h"
#include "fakes/FakePlatform.h"

#include <QTemporaryDir>
#include <memory>

namespace velmora {

struct ClockFormFixture {
    QTemporaryDir Dir;
    FakePlatform Platform;
    FakeClock Clock{QDateTime(QDate(2026, 12, 7), QTime(11, 59, 58))}; // a Monday
    std::unique_ptr<TMainForm> Main;

    // `ini` is the settings file's text, one line a '\n'; the clock is shown.
    explicit ClockFormFixture(const QString& ini) {
        IniDocument d(Ini(), QLocale::c());
        d.SetStrings(ini.split(QLatin1Char('\n')));
        d.UpdateFile();
        Main = std::make_unique<TMainForm>(Platform, Clock, Ini());
        Main->ClockTimer()->SetEnabled(false); // the test drives the ticks
        Main->show();
    }
    ClockFormFixture(const ClockFormFixture&) = delete;
    ClockFormFixture& operator=(const ClockFormFixture&) = delete;

    QString Ini() const { return Dir.filePath(QStringLiteral("velmora.ini")); }
};

// A one-line clock text in DejaVu Sans 20 px on 300 x 30, with distinct colours
// for text, background, gradient ends and border.
inline TClockDrawState SampleDrawState(TVlmColorMode text, TVlmColorMode background,
                                       bool border = true) {
    TClockDrawState s;
    s.Text = QStringLiteral(" 2026-12-06 Sun 09:05:07 ");
    s.Font = QFont(QStringLiteral("DejaVu Sans"));
    s.Font.setPixelSize(20);
    s.Size = QSize(300, 30);
    s.FontColorMode = text;
    s.BackgroundColorMode = background;
    s.FontGradientDirection = gdHorizontal;
    s.BackgroundGradientDirection = gdVertical;
    s.FontColor = QColor(0x00, 0x80, 0x00);
    s.BackgroundColor = QColor(0xC0, 0xDC, 0xC0);
    s.FontStartColor = QColor(0x00, 0x00, 0xFF);
    s.FontEndColor = QColor(0xFF, 0xFF, 0x00);
    s.BackgroundStartColor = QColor(Qt::black);
    s.BackgroundEndColor = QColor(Qt::white);
    s.BorderColor = QColor(0xFF, 0x00, 0x00);
    s.ShowBorder = border;
    s.SeeThrough = TSeeThrough::Compositor;
    return s;
}

} // namespace velmora
