// The day-word file killed in the middle of its saves, a hundred times: a child
// process rewrites it through the routines the options dialog uses, and is killed
// with SIGKILL at a different moment each run. The file is always whole, the old
// version or the new one, and the next start removes whatever a kill left behind.
#include "app/DayWords.h"
#include "core/IniDocument.h"
#include "app/LangFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <gtest/gtest.h>

using namespace velmora;

namespace {

const char* const kFileVariable = "VELMORA_CRASH_DAYWORD_FILE";
constexpr int kKinds = 500;

QStringList Lines(const QString& prefix) {
    QStringList lines;
    for (int d = 1; d <= 7; ++d)
        lines << QStringLiteral("%1=%2%1").arg(d).arg(prefix);
    return lines;
}

QStringList KindLines(int kind) {
    return Lines(QStringLiteral("kind%1-day").arg(kind));
}

} // namespace

// The writer the test below starts and kills; it does nothing in an ordinary run.
TEST(SaveCrash, DISABLED_DayWordWriter) {
    const QString path = qEnvironmentVariable(kFileVariable);
    if (path.isEmpty())
        GTEST_SKIP();
    std::puts("writing");
    std::fflush(stdout);
    for (long i = 0;; ++i) {
        WriteDaySection(path, QStringLiteral("Rotating"), Lines(i % 2 ? "new" : "old"));
        WriteDayLangKind(path, i % 2 ? QStringLiteral("Kind1") : QStringLiteral("Rotating"));
    }
}

TEST(SaveCrash, KilledDayWordSavesLeaveTheFileWhole) {
    QTemporaryDir tmp;
    const QString dir = tmp.filePath("Lang");
    ASSERT_TRUE(QDir().mkpath(dir));
    const QString path = dir + QLatin1Char('/') + kDayLangFileName;
    WriteDefaultDayFile(path);
    {
        IniDocument doc(path);
        for (int k = 1; k <= kKinds; ++k)
            for (const QString& line : KindLines(k))
                doc.WriteString(QStringLiteral("Kind%1").arg(k), line.section('=', 0, 0),
                                line.section('=', 1));
        doc.UpdateFile();
    }
    WriteDaySection(path, QStringLiteral("Rotating"), Lines("old"));
    WriteDayLangKind(path, QStringLiteral("Rotating"));

    int killedWithATemporaryFile = 0;
    for (int run = 0; run < 100; ++run) {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(kFileVariable, path);
        child.setProcessEnvironment(env);
        child.start(
            QCoreApplication::applicationFilePath(),
            {"--gtest_filter=SaveCrash.DISABLED_DayWordWriter", "--gtest_also_run_disabled_tests"});
        ASSERT_TRUE(child.waitForStarted());
        while (!child.readAllStandardOutput().contains("writing"))
            ASSERT_TRUE(child.waitForReadyRead(30000)) << "run " << run;
        QThread::usleep(1000 * (run % 7) + 97 * run % 1000);
        child.kill();
        ASSERT_TRUE(child.waitForFinished());

        killedWithATemporaryFile +=
            !QDir(dir).entryList({"*.saving-*"}, QDir::Files | QDir::Hidden).isEmpty();
        InitDayWords(dir); // the start-up of the clock
        EXPECT_TRUE(QDir(dir).entryList({"*.saving-*"}, QDir::Files | QDir::Hidden).isEmpty());

        const IniDocument doc(path);
        ASSERT_TRUE(doc.ReadError().isEmpty()) << "run " << run;
        const QStringList rotating = doc.ReadSectionValues("Rotating");
        EXPECT_TRUE(rotating == Lines("old") || rotating == Lines("new"))
            << "run " << run << ": " << rotating.join(' ').toStdString();
        const QString kind = doc.ReadString(kDayLangSection, kDayLangKindKey, "");
        EXPECT_TRUE(kind == "Rotating" || kind == "Kind1") << "run " << run;
        ASSERT_EQ(doc.ReadSections().size(), kKinds + 3) << "run " << run;
        for (int k = 1; k <= kKinds; ++k)
            ASSERT_EQ(doc.ReadSectionValues(QStringLiteral("Kind%1").arg(k)), KindLines(k))
                << "run " << run << ", kind " << k;
    }
    std::printf("100 kills, %d left a temporary file, removed by the next start\n",
                killedWithATemporaryFile);
}
