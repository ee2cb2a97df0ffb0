#include "core/IniDocument.h"
#include "core/KvCommandList.h"
#include "core/KvTimer.h"
#include "app/LangFiles.h"
#include "app/clock/ClockCommands.h"
#include "app/clock/MainForm.h"
#include "fakes/FakePlatform.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

using namespace velmora;

// A packaged clock makes its folders on first use and writes nothing beside itself.
TEST(ProgramFolders, PackagedClockKeepsTheUserFilesInTheXdgFolders) {
    QTemporaryDir root;
    const QString bin = root.filePath("usr/bin");
    ASSERT_TRUE(QDir().mkpath(bin));
    const QString home = root.filePath("home");
    const TProgramPaths paths =
        ProgramPathsFor(TBuildKind::Packaged, bin + "/velmora", [&](const char* name) {
            return QString::fromLatin1(name) == "HOME" ? home : QString();
        });
    FakePlatform platform;
    FakeClock clock;
    {
        TMainForm form(platform, clock, paths);
        form.ClockTimer()->SetEnabled(false);
        EXPECT_EQ(LangDir(), home + "/.local/share/velmora/Lang/");
        EXPECT_TRUE(QFileInfo::exists(LangDir() + kDefaultLangFileName));
        EXPECT_TRUE(QFileInfo::exists(LangDir() + kDayLangFileName));
        EXPECT_EQ(form.Commands().ACommandList().Items(0).FileName(),
                  root.filePath("usr/libexec/velmora/VelmoSync"));
        EXPECT_FALSE(QFileInfo::exists(home + "/.config")); // made on the first save
    }
    QFile ini(home + "/.config/velmora/velmora.ini");
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_TRUE(ini.read(2) == QByteArray("\xFF\xFE", 2));
    EXPECT_EQ(QDir(bin).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    EXPECT_EQ(QDir(root.filePath("usr")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList{"bin"});
}

// Without a place for the settings the clock still runs; the save reports it.
TEST(ProgramFolders, SettingsFolderThatCannotBeMadeIsReported) {
    QTemporaryDir root;
    QFile blocker(root.filePath("config"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly)); // a file where the folder would go
    blocker.close();
    const TProgramPaths paths =
        ProgramPathsFor(TBuildKind::Packaged, root.filePath("bin/velmora"), [&](const char* name) {
            const QString n = QString::fromLatin1(name);
            if (n == "XDG_CONFIG_HOME")
                return root.filePath("config");
            return n == "HOME" ? root.filePath("home") : QString();
        });
    FakePlatform platform;
    FakeClock clock;
    QString shown;
    {
        TMainForm form(platform, clock, paths);
        form.ClockTimer()->SetEnabled(false);
        EXPECT_THROW(form.SaveSettings(), TIniWriteError);
        // The save at the end shows the same error instead of throwing.
        QTimer::singleShot(0, [&shown] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                    shown = box->text();
                    box->accept();
                }
        });
    }
    EXPECT_TRUE(shown.contains(root.filePath("config/velmora/velmora.ini"))) << shown.toStdString();
}
