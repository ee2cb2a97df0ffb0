// How late after each wall-clock second does the clock repaint its new text?
//   velmora_tick_latency [seconds]
// Runs the real clock window (real timer, real platform) on the current display
// and prints the delay between each second boundary and the repaint that shows it.
#include "app/VelmoraApp.h"
#include "app/clock/MainForm.h"
#include "core/Clock.h"
#include "platform/Platform.h"
#include "widgets/KvPaintBox.h"

#include <QApplication>
#include <QDateTime>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

class PaintWatch : public QObject {
public:
    PaintWatch(velmora::TMainForm& form) : FForm(form) {}
    std::vector<int> Delays;
    int Repaints = 0;

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() != QEvent::Paint)
            return false;
        ++Repaints;
        const QString text = FForm.ClockStr();
        if (text != FLast && !FLast.isEmpty())
            Delays.push_back(int(QDateTime::currentMSecsSinceEpoch() % 1000));
        FLast = text;
        return false;
    }

private:
    velmora::TMainForm& FForm;
    QString FLast;
};

} // namespace

int main(int argc, char** argv) {
    // The display connection the clock itself opens.
    velmora::TVelmoraApp::ChooseImageTransfer();
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(5, atoi(argv[1])) : 60;
    QTemporaryDir dir;
    const auto platform = velmora::CreatePlatform();
    velmora::SystemClock clock;
    velmora::TMainForm form(*platform, clock, dir.filePath("bench.ini"));
    PaintWatch watch(form);
    form.ClockPaintBox()->installEventFilter(&watch);
    form.show();
    QTimer::singleShot(seconds * 1000, &app, &QCoreApplication::quit);
    app.exec();

    std::vector<int> d = watch.Delays;
    if (d.empty()) {
        std::printf("no repaints seen\n");
        return 1;
    }
    std::sort(d.begin(), d.end());
    std::printf("seconds observed: %zu of %d\n", d.size(), seconds - 1);
    std::printf("delay after the second boundary (ms): median %d, 90th %d, worst %d, best %d\n",
                d[d.size() / 2], d[d.size() * 9 / 10], d.back(), d.front());
    std::printf("paint events: %d\n", watch.Repaints);
    return 0;
}
