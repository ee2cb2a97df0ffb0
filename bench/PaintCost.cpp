// What one repaint of the clock costs in each drawing mode, side by side in one run.
//   velmora_paint_cost [renders per mode]
// Renders the clock text off screen (the work of one tick's paint: background,
// text, outline and, when see-through, the key-colour pass and the window shape)
// and prints the median time per paint and its ratio to the plainest mode; then
// what a tick costs with the image kept between ticks (TClockImage: only the
// changed digits drawn again), as the clock does it.
#include "app/clock/ClockDraw.h"
#include "app/clock/ClockImage.h"

#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace velmora;

// The median time of one tick's image with the image kept: a new second each time.
double KeptTick(TClockDrawState s, int n) {
    TClockImage image;
    image.Update(s);
    std::vector<qint64> t;
    for (int i = 0; i < n; ++i) {
        s.Text[s.Text.size() - 2] = QChar('0' + (i + 1) % 10);
        QElapsedTimer clock;
        clock.start();
        (void)image.Update(s);
        t.push_back(clock.nsecsElapsed());
    }
    std::sort(t.begin(), t.end());
    return t[t.size() / 2] / 1000.0;
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int n = argc > 1 ? std::max(50, atoi(argv[1])) : 2000;
    struct Mode {
        const char* name;
        TVlmColorMode text, background;
        bool border;
    } modes[] = {
        {"solid text, solid bg", cmSolid, cmSolid, false},
        {"solid text, solid bg, border", cmSolid, cmSolid, true},
        {"solid text, gradient bg", cmSolid, cmGradient, true},
        {"solid text, see-through bg", cmSolid, cmTransparent, true},
        {"gradient text, solid bg", cmGradient, cmSolid, true},
        {"gradient text, gradient bg", cmGradient, cmGradient, true},
        {"gradient text, see-through bg", cmGradient, cmTransparent, true},
    };
    TClockDrawState s;
    s.Text = QStringLiteral(" 2026-12-06 Sun 09:05:07 ");
    s.Font = QFont(QStringLiteral("DejaVu Sans"));
    s.Font.setPointSize(12);
    s.Size = QSize(230, 25);
    s.FontColor = Qt::darkGreen;
    s.BackgroundColor = QColor(0xC0, 0xDC, 0xC0);
    s.FontStartColor = Qt::red;
    s.FontEndColor = Qt::blue;
    s.BackgroundStartColor = Qt::black;
    s.BackgroundEndColor = Qt::white;
    s.BorderColor = Qt::green;
    double base = 0;
    std::printf("%-32s %12s %8s %14s\n", "mode", "us/paint", "ratio", "us/tick kept");
    for (const Mode& m : modes) {
        s.FontColorMode = m.text;
        s.BackgroundColorMode = m.background;
        s.ShowBorder = m.border;
        std::vector<qint64> t;
        for (int i = 0; i < n; ++i) {
            s.Text[s.Text.size() - 2] = QChar('0' + i % 10); // a new second each time
            QElapsedTimer clock;
            clock.start();
            const QImage img = RenderClock(s);
            if (m.background == cmTransparent)
                (void)VisibleRegion(img);
            t.push_back(clock.nsecsElapsed());
        }
        std::sort(t.begin(), t.end());
        const double us = t[t.size() / 2] / 1000.0;
        if (base == 0)
            base = us;
        std::printf("%-32s %12.1f %8.2f %14.1f\n", m.name, us, us / base, KeptTick(s, n));
    }
    return 0;
}
