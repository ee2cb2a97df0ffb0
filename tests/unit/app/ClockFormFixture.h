// What the clock window's tests start from: a folder with a settings file the
// test writes, the fake platform and clock, and a clock window made on them with
// the ticks driven by the test; and one drawing state the drawing tests vary.
#pragma once

#include "app/clock/ClockDraw.h"
#include "app/clock/MainForm.h"
#include "core/IniDocument.h"
#include "core/KvTimer.h"
#include "fakes/FakePlatform.h"

#include <QTemporaryDir>
#include <memory>

namespace velmora {

// A folder for the clock's files, the fake platform and a clock the test sets.
struct ClockFolder {
    QTemporaryDir Dir;
    FakePlatform Platform;
    FakeClock Clock;

    explicit ClockFolder(const QDateTime& now = QDateTime(QDate(2026, 12, 7), QTime(11, 59, 58)))
        : Clock(now) {} // a Monday
    ClockFolder(const ClockFolder&) = delete;
    ClockFolder& operator=(const ClockFolder&) = delete;

    QString Ini() const { return Dir.filePath(QStringLiteral("velmora.ini")); }
    void WriteIni(const QStringList& lines) const {
        IniDocument d(Ini(), QLocale::c());
        d.SetStrings(lines);
        d.UpdateFile();
    }
    // The settings file's text, one line a '\n'.
    void WriteIniText(const QString& text) const { WriteIni(text.split(QLatin1Char('\n'))); }
    // A clock window on the folder's settings; the test drives its ticks.
    std::unique_ptr<TMainForm> Make() {
        auto f = std::make_unique<TMainForm>(Platform, Clock, Ini());
        f->ClockTimer()->SetEnabled(false);
        return f;
    }
};

// A clock made from the settings file's text and shown.
struct ClockFormFixture : ClockFolder {
    std::unique_ptr<TMainForm> Main;

    explicit ClockFormFixture(const QString& ini) {
        WriteIniText(ini);
        Main = Make();
        Main->show();
    }
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
