#include "app/Common.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(Common, VersionStringsAndCaption)
{
    struct Case {
        TVersionNumbers v;
        const char* version;
        const char* caption;
    };
    const Case cases[] = {
        {{1, 6, 1, 0}, "1.6.A", "Image Editor Version 1.6.A"},
        {{1, 6, 1, 3}, "1.6.b3", "Image Editor Version 1.6.b3 Beta"},
        {{2, 0, 0, 12}, "2.0.a12", "Image Editor Version 2.0.a12 Beta"},
        {{1, 6, 0, 0}, "1.6.@", "Image Editor Version 1.6.@"},
        {{1, 6, 2, 0}, "1.6.B", "Image Editor Version 1.6.B"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(VersionString(c.v), QString::fromLatin1(c.version));
        EXPECT_EQ(MainWindowCaption(QStringLiteral("Image Editor"), VersionString(c.v)), QString::fromLatin1(c.caption));
    }
    // The letter is one 8-bit character.
    EXPECT_EQ(VersionString({1, 0, 256 + 1, 0}), QStringLiteral("1.0.A"));
    GetVersionStrings();
    EXPECT_EQ(AppVersion, VersionString(CompiledVersionNumbers()));
    EXPECT_EQ(AppVersionNumbers.Build, CompiledVersionNumbers().Build);
}

TEST(Common, PathHelpers)
{
    EXPECT_EQ(AddTrailingBackslash(QString()), QStringLiteral("/"));
    EXPECT_EQ(AddTrailingBackslash(QStringLiteral("/data/")), QStringLiteral("/data/"));
    EXPECT_EQ(AddTrailingBackslash(QStringLiteral("/data")), QStringLiteral("/data/"));
    EXPECT_EQ(RemoveTrailingBackslash(QStringLiteral("/data//")), QStringLiteral("/data/"));
    EXPECT_EQ(RemoveTrailingBackslash(QStringLiteral("/data")), QStringLiteral("/data"));
    EXPECT_EQ(RemoveTrailingBackslash(QString()), QString());
    EXPECT_EQ(JoinPath(QStringLiteral("/data/"), QStringLiteral("/x.txt")), QStringLiteral("/data/x.txt"));
    EXPECT_EQ(JoinPath(QStringLiteral("/data"), QStringLiteral("x.txt")), QStringLiteral("/data/x.txt"));
    EXPECT_EQ(JoinPath(QString(), QStringLiteral("SavedTextItems.txt")), QStringLiteral("/SavedTextItems.txt"));
    EXPECT_EQ(TrimBlanks(QStringLiteral(" \t Label\n ")), QStringLiteral("Label"));
}

TEST(Common, TempFolderFallsBackFromTempToTmpToTheDataFolder)
{
    QTemporaryDir dir;
    const QString tmp = dir.filePath(QStringLiteral("tmp"));
    QDir().mkpath(tmp);
    qputenv("TEMP", dir.filePath(QStringLiteral("missing")).toLocal8Bit());
    qputenv("TMP", tmp.toLocal8Bit());
    EXPECT_EQ(GetTempFolder(), tmp + u'/');

    qputenv("TMP", dir.filePath(QStringLiteral("also-missing")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")).toLocal8Bit());
    const QString fallback = GetTempFolder();
    EXPECT_EQ(fallback, dir.filePath(QStringLiteral("data")) + QStringLiteral("/Tamsel/Lumacet/Temp/"));
    EXPECT_TRUE(QFileInfo(fallback).isDir()) << "created when missing";
}

TEST(Common, ColorBoxItemHeightFollowsTheScreen)
{
    const std::pair<int, int> cases[] = {{96, 16}, {120, 20}, {144, 30}, {192, 34}, {72, 14}};
    for (const auto& [ppi, height] : cases)
        EXPECT_EQ(ScaledColorBoxItemHeight(16, ppi), height) << ppi;
}

TEST(Common, WindowRectangleIsFittedToTheDesktop)
{
    struct Case {
        QRect desktop, in, out;
    };
    const Case cases[] = {
        {QRect(0, 0, 1920, 1080), QRect(3000, 100, 800, 600), QRect(0, 100, 800, 600)},   // beyond the right
        {QRect(0, 0, 1920, 1080), QRect(5000, 0, 800, 600), QRect(0, 0, 800, 600)},
        {QRect(0, 0, 1920, 1080), QRect(1500, 700, 800, 600), QRect(1120, 480, 800, 600)}, // moved back in
        {QRect(0, 0, 1920, 1080), QRect(100, 0, 2500, 600), QRect(0, 0, 1920, 600)},      // wider than the desktop
        {QRect(0, 0, 1920, 1080), QRect(-50, -20, 800, 600), QRect(0, 0, 800, 600)},
        {QRect(0, 0, 1920, 1080), QRect(200, 100, 800, 600), QRect(200, 100, 800, 600)},   // already on it
        // A desktop starting left of 0: the right limit is its width, not its right edge.
        {QRect(-1920, 0, 3840, 1080), QRect(1000, 0, 3000, 600), QRect(840, 0, 3000, 600)},
        {QRect(-1920, 0, 3840, 1080), QRect(-3000, 0, 800, 600), QRect(-1920, 0, 800, 600)},
    };
    for (const Case& c : cases) {
        int left = c.in.left(), top = c.in.top(), width = c.in.width(), height = c.in.height();
        FitBoundsToDesktop(left, top, width, height, c.desktop);
        EXPECT_EQ(QRect(left, top, width, height), c.out) << c.in.left() << "," << c.in.top();
    }
}

TEST(Common, ChooseVariantCopiesTheChosenValue)
{
    EXPECT_EQ(ChooseVariant(true, QStringLiteral("a"), QStringLiteral("b")), QStringLiteral("a"));
    EXPECT_EQ(ChooseVariant(false, 1, 2), 2);
}
