// The settings, language and day-word files on hostile paths: a link to itself, a
// pipe, a folder, 100 MB, lone surrogates. Each gives a clear message or its
// defaults, nothing waits forever, and the file is never replaced by defaults.
#include "app/DayWords.h"
#include "core/IniDocument.h"
#include "core/KvTimer.h"
#include "app/LangFiles.h"
#include "app/clock/MainForm.h"
#include "TextFiles.h"
#include "fakes/FakePlatform.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace velmora;
using testfiles::ReadBytes;
using testfiles::Utf16File;
using testfiles::WriteBytes;

namespace {

struct Hostile {
    const char* name;
    std::function<void(const QString& path)> make;
};

const QString kLone = QString(QChar(char16_t(0xD800))) + QChar(char16_t(0xDFFF)) + QChar(0xDC00);

const Hostile kHostile[] = {
    {"a folder", [](const QString& p) { QDir().mkdir(p); }},
    {"a pipe", [](const QString& p) { mkfifo(QFile::encodeName(p).constData(), 0600); }},
    {"a link to itself", [](const QString& p) { QFile::link(p, p); }},
    {"100 MB",
     [](const QString& p) {
         QFile f(p);
         if (f.open(QIODevice::WriteOnly)) {
             f.write(Utf16File({"[MainForm]", "ActPopQuit.Caption=Big", "[Appearance]",
                                "AlphaBlendValue=128", "[Big]", "1=x"}));
             f.resize(100 * 1024 * 1024);
         }
     }},
};

// What is at `path`, to compare before and after: its kind and size.
QString Shape(const QString& path) {
    const QFileInfo info(path);
    if (info.isSymLink())
        return "link:" + info.symLinkTarget();
    if (info.isDir())
        return "folder";
    if (!info.exists())
        return "nothing";
    return (info.isFile() ? "file:" : "other:") + QString::number(info.size());
}

// Accepts every message box as soon as it shows; collects their texts.
struct BoxAnswerer {
    QStringList Texts;
    QTimer Timer;
    BoxAnswerer() {
        Timer.setInterval(5);
        QObject::connect(&Timer, &QTimer::timeout, [this] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                    Texts << box->text();
                    box->accept();
                }
        });
        Timer.start();
    }
};

} // namespace

TEST(HostileFilesApp, LanguageFileKeepsItsBuiltInTextsAndStays) {
    for (const Hostile& h : kHostile) {
        QTemporaryDir tmp;
        ResetLangState();
        SetLangDir(tmp.path());
        const QString path = tmp.filePath("Lang.lang");
        h.make(path);
        const QString before = Shape(path);
        SetCurrentLangFile(path);
        Captions().clear();
        LoadLangFile(); // a pipe read would never end
        EXPECT_EQ(Captions().value("ActPopQuit.Caption"), "しゅーりょー(&X)") << h.name;
        EXPECT_EQ(Shape(path), before) << h.name;
    }
}

TEST(HostileFilesApp, DayWordFileKeepsItsDefaultsAndStays) {
    const QStringList english = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    for (const Hostile& h : kHostile) {
        QTemporaryDir tmp;
        const QString path = tmp.filePath(kDayLangFileName);
        h.make(path);
        const QString before = Shape(path);
        const TDayOfTheWeekStr w = InitDayWords(tmp.path());
        EXPECT_EQ((QStringList{w.Mon, w.Tue, w.Wed, w.Thu, w.Fri, w.Sat, w.Sun}), english)
            << h.name;
        // What the options dialog would store is refused, with a reason.
        EXPECT_THROW(WriteDayLangKind(DayLangFile(), "Big"), TIniWriteError) << h.name;
        EXPECT_THROW(
            WriteDaySection(DayLangFile(), "Fr", {"1=a", "2=b", "3=c", "4=d", "5=e", "6=f", "7=g"}),
            TIniWriteError)
            << h.name;
        EXPECT_EQ(Shape(path), before) << h.name;
    }
}

TEST(HostileFilesApp, LoneSurrogatesInLanguageAndDayWordFilesAreTextLikeAnyOther) {
    QTemporaryDir tmp;
    ResetLangState();
    SetLangDir(tmp.path());
    const QString lang = tmp.filePath("Lone.lang");
    WriteBytes(lang, Utf16File({"[MainForm]", "ActPopQuit.Caption=Q" + kLone,
                                "TrayIcon1.Hint=" + QString(4000, QChar(char16_t(0xDBFF)))}));
    SetCurrentLangFile(lang);
    LoadLangFile();
    EXPECT_EQ(Captions().value("ActPopQuit.Caption"), "Q" + kLone);
    EXPECT_EQ(Captions().value("TrayIcon1.Hint"), "Velmora"); // too long: its built-in text

    const QString day = tmp.filePath(kDayLangFileName);
    QStringList lines = {"[DayLang]", "DayLangKind=K" + kLone, "[K" + kLone + "]"};
    for (int d = 1; d <= 7; ++d)
        lines << QString::number(d) + "=" + kLone + QString::number(d);
    const QByteArray bytes = Utf16File(lines);
    WriteBytes(day, bytes);
    const TDayOfTheWeekStr w = InitDayWords(tmp.path());
    EXPECT_EQ(w.Mon, kLone + "1");
    EXPECT_EQ(w.Sun, kLone + "7");
    EXPECT_EQ(ReadBytes(day), bytes);
}

TEST(HostileFilesApp, SettingsFileThatCannotBeReadIsSaidAndNeverReplaced) {
    for (const Hostile& h : kHostile) {
        QTemporaryDir tmp;
        const QString ini = tmp.filePath("velmora.ini");
        h.make(ini);
        const QString before = Shape(ini);
        FakePlatform platform;
        FakeClock clock{QDateTime(QDate(2026, 12, 6), QTime(12, 0, 0))};
        BoxAnswerer boxes;
        {
            TMainForm form(platform, clock, ini);
            form.ClockTimer()->SetEnabled(false);
            EXPECT_EQ(form.Settings().AlphaBlendValue, 255) << h.name; // the defaults
        }
        QApplication::processEvents();
        EXPECT_EQ(boxes.Texts.filter("velmora.ini").size(), 1) << h.name;
        EXPECT_EQ(Shape(ini), before) << h.name;
        EXPECT_EQ(QDir(tmp.path()).entryList(QDir::Hidden | QDir::Files).filter(".saving-"),
                  QStringList())
            << h.name;
    }
}
