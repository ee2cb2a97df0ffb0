// Renders every page of the options dialog into PNG files, for looking at the
// layout at several scales and under a dark palette (not installed):
//   QT_QPA_PLATFORM=offscreen [QT_SCALE_FACTOR=2] OptionShots <folder> [dark|light] [page]
//     [language file]
// The clock runs on the test platform in a temporary folder, with the built-in
// language (Japanese) or the language file given, and a few commands so that the
// command grid has rows. The pictures of a language file carry its name.
#include "core/IniDocument.h"
#include "widgets/KvTabSet.h"
#include "core/KvTimer.h"
#include "widgets/KvTrayIcon.h"
#include "app/clock/ClockMenu.h"
#include "app/clock/MainForm.h"
#include "app/options/OptionForm.h"
#include "app/MessageDialog.h"
#include "fakes/FakePlatform.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPalette>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <cstdio>

using namespace velmora;

namespace {

QPalette DarkPalette() {
    QPalette p;
    const QColor window(0x35, 0x35, 0x35), text(0xF0, 0xF0, 0xF0);
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, QColor(0x2A, 0x2A, 0x2A));
    p.setColor(QPalette::AlternateBase, window);
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, window);
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::ToolTipBase, window);
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::Highlight, QColor(0x2A, 0x82, 0xDA));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::Link, QColor(0x6A, 0xB0, 0xF0));
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, QColor(0x80, 0x80, 0x80));
    return p;
}

void WriteSettings(const QString& ini, const QString& folder) {
    IniDocument d(ini, QLocale::c());
    d.SetStrings({"[Alarm]",
                  "IsAlarmSet=1",
                  "UseAlarmColor=1",
                  "UseAlarmBalloon=1",
                  "AlarmHint=おきる じかん です",
                  "[CommandList]",
                  "Count=3",
                  "[Command0]",
                  "OptionStr=ntp.nict.jp",
                  "AtStartup=1",
                  "[Command1]",
                  "Title=バックアップ",
                  "FileName=" + folder + "/backup-home-folder-to-the-external-disk",
                  "OptionStr=--quiet --exclude=cache",
                  "AtSpTime=1",
                  "SpTime=22:30:00",
                  "[Command2]",
                  "Title=Mail",
                  "FileName=/usr/bin/thunderbird",
                  "AtResume=1"});
    d.UpdateFile();
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: OptionShots <folder> [dark|light] [page] [language file]\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    const bool dark = argc > 2 && QString::fromLatin1(argv[2]) == QLatin1String("dark");
    const int only = argc > 3 ? QString::fromLatin1(argv[3]).toInt() : -1;
    const QString langFile = argc > 4 ? QString::fromLocal8Bit(argv[4]) : QString();
    if (dark) {
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        QApplication::setPalette(DarkPalette());
    }
    // A message box would wait for a person: say it on standard error instead.
    SetMessageDialogHook([](const QString& text, TMsgDlgType, TMsgDlgButtons, QWidget*) {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
        return mrOk;
    });
    QDir().mkpath(out);
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("velmora.ini"));
    WriteSettings(ini, dir.path());
    FakePlatform platform;
    FakeClock clock(QDateTime(QDate(2026, 12, 10), QTime(9, 41, 0)));
    TMainForm main(platform, clock, ini);
    main.ClockTimer()->SetEnabled(false);
    if (!langFile.isEmpty())
        main.Menu().LanguageListClick(QFileInfo(langFile).absoluteFilePath());
    TOptionForm form(main.OptionHost());
    form.show();
    QApplication::processEvents();
    const int scale = int(form.devicePixelRatioF() + 0.5);
    for (int page = 0; page < TOptionForm::kPageCount; ++page) {
        if (only >= 0 && page != only)
            continue;
        form.OptionTabSet->SetTabIndex(page); // selects the page as a click would
        QApplication::processEvents();
        const QString name =
            QStringLiteral("%1/options-page%2-x%3%4%5.png")
                .arg(out)
                .arg(page + 1)
                .arg(scale)
                .arg(dark ? QStringLiteral("-dark") : QString())
                .arg(langFile.isEmpty()
                         ? QString()
                         : QLatin1Char('-') + QFileInfo(langFile).completeBaseName());
        if (!form.grab().save(name)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(name));
            return 1;
        }
        std::printf("%s\n", qPrintable(name));
    }
    return 0;
}
