// How long from the Options menu action to the dialog's first paint?
//   velmora_option_open [openings]
// Opens the real options dialog of a real clock window through its menu action,
// and beside it a plain QDialog whose QTabWidget holds as many stock widgets on
// six pages, alternately in one run; prints the median, best and worst of each.
#include "app/VelmoraApp.h"
#include "app/clock/ClockMenu.h"
#include "app/clock/MainForm.h"
#include "app/options/OptionForm.h"
#include "core/Clock.h"
#include "platform/Platform.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// Notes the first paint of a dialog window after Arm() and closes that dialog
// as soon as the paint is done.
class FirstPaint : public QObject {
public:
    void Arm() {
        FTimer.start();
        FDone = false;
    }
    qint64 Elapsed = -1;

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        auto* dialog = qobject_cast<QDialog*>(o);
        if (FDone || e->type() != QEvent::Paint || !dialog)
            return false;
        FDone = true;
        Elapsed = FTimer.nsecsElapsed() / 1000;
        QTimer::singleShot(0, dialog, [dialog] { dialog->close(); });
        return false;
    }

private:
    QElapsedTimer FTimer;
    bool FDone = true;
};

// The stock peer: the same count of widgets, spread over six tabs.
void ShowPlainDialog(int widgets) {
    QDialog dialog;
    dialog.resize(541, 533);
    auto* tabs = new QTabWidget(&dialog);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(tabs);
    const int perPage = std::max(1, widgets / 6);
    for (int page = 0; page < 6; ++page) {
        auto* w = new QWidget;
        auto* l = new QVBoxLayout(w);
        for (int i = 0; i < perPage; ++i)
            l->addWidget(i % 2 ? static_cast<QWidget*>(new QCheckBox(QStringLiteral("オプション")))
                               : new QLabel(QStringLiteral("ラベル %1").arg(i)));
        tabs->addTab(w, QStringLiteral("ページ %1").arg(page));
    }
    dialog.exec();
}

qint64 Median(std::vector<qint64> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    // The display connection the clock itself opens.
    velmora::TVelmoraApp::ChooseImageTransfer();
    QApplication app(argc, argv);
    const int openings = argc > 1 ? std::max(3, atoi(argv[1])) : 20;
    QTemporaryDir dir;
    const auto platform = velmora::CreatePlatform();
    velmora::SystemClock clock;
    velmora::TMainForm form(*platform, clock, dir.filePath("bench.ini"));
    form.show();
    FirstPaint watch;
    app.installEventFilter(&watch);

    int widgets = 0;
    std::vector<qint64> options, plain;
    QTimer::singleShot(0, [&] {
        for (int i = 0; i < openings; ++i) {
            watch.Arm();
            QTimer::singleShot(0, [&widgets, &form] {
                if (form.FOptionForm)
                    widgets = int(form.FOptionForm->findChildren<QWidget*>().size());
            });
            form.Menu().ActPopShowOption()->trigger();
            options.push_back(watch.Elapsed);
            watch.Arm();
            ShowPlainDialog(widgets);
            plain.push_back(watch.Elapsed);
        }
        app.quit();
    });
    app.exec();
    std::sort(options.begin(), options.end());
    std::sort(plain.begin(), plain.end());
    std::printf("widgets in the options dialog: %d; openings: %d each, alternating\n", widgets,
                openings);
    std::printf("%-34s median %6.1f ms, best %6.1f ms, worst %6.1f ms\n",
                "options dialog (menu action):", Median(options) / 1000.0, options.front() / 1000.0,
                options.back() / 1000.0);
    std::printf("%-34s median %6.1f ms, best %6.1f ms, worst %6.1f ms\n",
                "QDialog + QTabWidget, stock:", Median(plain) / 1000.0, plain.front() / 1000.0,
                plain.back() / 1000.0);
    std::printf("ratio of the medians: %.2f\n", double(Median(options)) / double(Median(plain)));
    return 0;
}
