// Building the desktop notification of a balloon: texts, icon, hints, arguments.
#include "widgets/KvNotifications.h"

#include <QMetaType>
#include <climits>
#include <gtest/gtest.h>

using namespace velmora;

namespace {

const QString kSmile = QString::fromUtf8("\xF0\x9F\x98\x80"); // one pair of UTF-16 units

TKvBalloonRequest Request(TKvBalloonFlags flags, TKvBalloonOptions options = {}) {
    TKvBalloonRequest r;
    r.Title = QStringLiteral("Title");
    r.Text = QStringLiteral("Text");
    r.Flags = flags;
    r.Options = options;
    return r;
}

} // namespace

TEST(NotificationsTest, CutKeepsSurrogatePairsWhole) {
    struct Case {
        QString text;
        int max;
        QString expected;
    } cases[] = {
        {QStringLiteral("abc"), 5, QStringLiteral("abc")},
        {QStringLiteral("abc"), 3, QStringLiteral("abc")},
        {QString(70, 'a'), 63, QString(63, 'a')},
        // the pair would be split at the cut: it goes whole
        {QString(62, 'a') + kSmile, 63, QString(62, 'a')},
        // the pair ends exactly at the limit: it stays
        {QString(61, 'a') + kSmile + "b", 63, QString(61, 'a') + kSmile},
        {kSmile, 1, QString()},
        {QStringLiteral("abc"), 0, QString()},
    };
    for (const Case& c : cases) {
        const QString cut = KvCutToUnits(c.text, c.max);
        EXPECT_EQ(cut, c.expected) << c.text.size() << " units cut to " << c.max;
        EXPECT_LE(cut.size(), c.max);
    }
}

TEST(NotificationsTest, TitleAndTextAreCutToTheirLimits) {
    TKvBalloonRequest r = Request(kbfInfo);
    r.Title = QString(70, 't');
    r.Text = QString(254, 'x') + kSmile + QString(50, 'y');
    const TKvNotification n = KvBuildNotification(r, QStringLiteral("app"), 0);
    EXPECT_EQ(n.Summary, QString(63, 't'));
    EXPECT_EQ(n.Body, QString(254, 'x'));
    r.Text = QString(300, 'x');
    EXPECT_EQ(KvBuildNotification(r, QStringLiteral("app"), 0).Body.size(), 255);
}

TEST(NotificationsTest, FlagChoosesTheIcon) {
    struct Case {
        TKvBalloonFlags flags;
        const char* icon;
    } cases[] = {
        {kbfNone, ""},
        {kbfInfo, "dialog-information"},
        {kbfWarning, "dialog-warning"},
        {kbfError, "dialog-error"},
        {kbfUser, ""},
    };
    for (const Case& c : cases) {
        const TKvNotification n = KvBuildNotification(Request(c.flags), QStringLiteral("app"), 0);
        EXPECT_EQ(n.AppIcon, QString::fromLatin1(c.icon)) << int(c.flags);
        EXPECT_FALSE(n.Hints.contains("image-data")) << int(c.flags);
    }
}

TEST(NotificationsTest, UserFlagCarriesTheImage) {
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(QColor(10, 20, 30, 128));
    TKvBalloonRequest r = Request(kbfUser);
    r.UserImage = image;
    const QVariant hint = KvBalloonHints(r).value("image-data");
    ASSERT_TRUE(hint.canConvert<TKvNotificationImage>());
    const auto data = hint.value<TKvNotificationImage>();
    EXPECT_EQ(data.Width, 32);
    EXPECT_EQ(data.Height, 32);
    EXPECT_EQ(data.RowStride, 32 * 4);
    EXPECT_TRUE(data.HasAlpha);
    EXPECT_EQ(data.Channels, 4);
    ASSERT_EQ(data.Data.size(), 32 * 32 * 4);
    // Rows of R, G, B, A bytes without premultiplication.
    EXPECT_EQ(uchar(data.Data[0]), 10);
    EXPECT_EQ(uchar(data.Data[1]), 20);
    EXPECT_EQ(uchar(data.Data[2]), 30);
    EXPECT_EQ(uchar(data.Data[3]), 128);
}

TEST(NotificationsTest, OptionsBecomeHints) {
    struct Case {
        TKvBalloonOptions options;
        bool suppressSound;
        int urgency;
    } cases[] = {
        {{}, false, 1},
        {kbfoNoSound, true, 1},
        {kbfoRespectQuietTime, false, 0},
        {kbfoNoSound | kbfoRespectQuietTime, true, 0},
        {kbfoLargeIcon, false, 1},
        {kbfoIconMask, false, 1},
    };
    for (const Case& c : cases) {
        const QVariantMap hints = KvBalloonHints(Request(kbfWarning, c.options));
        EXPECT_EQ(hints.value("suppress-sound").toBool(), c.suppressSound) << int(c.options);
        EXPECT_EQ(hints.contains("suppress-sound"), c.suppressSound);
        ASSERT_TRUE(hints.contains("urgency"));
        EXPECT_EQ(hints.value("urgency").metaType(), QMetaType::fromType<uchar>());
        EXPECT_EQ(hints.value("urgency").toInt(), c.urgency) << int(c.options);
        EXPECT_EQ(hints.size(), c.suppressSound ? 2 : 1);
    }
}

TEST(NotificationsTest, TimeoutBecomesExpireTime) {
    EXPECT_EQ(KvExpireTimeout(10000), 10000);
    EXPECT_EQ(KvExpireTimeout(1), 1);
    // zero would mean "never expires" to the server
    EXPECT_EQ(KvExpireTimeout(0), -1);
    EXPECT_EQ(KvExpireTimeout(UINT_MAX), INT_MAX);
}

TEST(NotificationsTest, NotifyArgumentsHaveTheMethodsTypesAndOrder) {
    TKvBalloonRequest r = Request(kbfError, kbfoNoSound);
    r.Title = QStringLiteral("Sync");
    r.Text = QStringLiteral("a < b & c");
    r.TimeoutMs = 4000;
    const TKvNotification n = KvBuildNotification(r, QStringLiteral("Velmora"), 42);
    const QVariantList args = KvNotifyArguments(n, false);
    ASSERT_EQ(args.size(), 8);
    const QMetaType types[] = {
        QMetaType::fromType<QString>(),     QMetaType::fromType<uint>(),
        QMetaType::fromType<QString>(),     QMetaType::fromType<QString>(),
        QMetaType::fromType<QString>(),     QMetaType::fromType<QStringList>(),
        QMetaType::fromType<QVariantMap>(), QMetaType::fromType<int>(),
    };
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(args[i].metaType(), types[i]) << "argument " << i;
    EXPECT_EQ(args[0].toString(), "Velmora");
    EXPECT_EQ(args[1].toUInt(), 42u);
    EXPECT_EQ(args[2].toString(), "dialog-error");
    EXPECT_EQ(args[3].toString(), "Sync");
    EXPECT_EQ(args[4].toString(), "a < b & c");
    EXPECT_TRUE(args[5].toStringList().isEmpty());
    EXPECT_TRUE(args[6].toMap().value("suppress-sound").toBool());
    EXPECT_EQ(args[7].toInt(), 4000);
    // A server that reads markup gets the text escaped, so it shows as typed.
    EXPECT_EQ(KvNotifyArguments(n, true)[4].toString(), "a &lt; b &amp; c");
    EXPECT_EQ(KvNotifyArguments(n, true)[3].toString(), "Sync");
}
