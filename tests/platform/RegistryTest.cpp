#include "app/Settings.h"
#include "platform/LumacetError.h"
#include "platform/Registry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {
void writeRaw(const QByteArray& data)
{
    QDir().mkpath(QFileInfo(Registry::filePath()).absolutePath());
    QFile f(Registry::filePath());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}
} // namespace

TEST(Registry, ValuesKeepTheirTypeAcrossAReopen)
{
    {
        Registry r;
        ASSERT_TRUE(r.OpenKey(QStringLiteral("\\Software\\Tamsel\\Test"), true));
        r.WriteInteger(QStringLiteral("Colour"), qint32(0x80000005));
        r.WriteInteger(QStringLiteral("Neg"), -7);
        r.WriteString(QStringLiteral("Font"), QStringLiteral("Quote \" and \\ back\nslash Ü"));
        r.WriteBool(QStringLiteral("Flag"), true);
    } // released: written
    Registry r;
    EXPECT_FALSE(r.OpenKey(QStringLiteral("Software\\Other"), false));
    ASSERT_TRUE(r.OpenKey(QStringLiteral("software\\tamsel\\TEST"), false)) << "key paths ignore case";
    EXPECT_EQ(quint32(r.ReadInteger(QStringLiteral("colour"))), 0x80000005u);
    EXPECT_EQ(r.ReadInteger(QStringLiteral("Neg")), -7);
    EXPECT_EQ(r.ReadString(QStringLiteral("Font")), QStringLiteral("Quote \" and \\ back\nslash Ü"));
    EXPECT_TRUE(r.ReadBool(QStringLiteral("Flag")));
    // A read of the other type, or of a missing value, fails.
    EXPECT_THROW(r.ReadString(QStringLiteral("Neg")), LumacetError);
    EXPECT_THROW(r.ReadInteger(QStringLiteral("Font")), LumacetError);
    EXPECT_THROW(r.ReadInteger(QStringLiteral("Nothing")), LumacetError);
}

TEST(Registry, ReadWithDefaultWritesMissingNumbersBack)
{
    {
        Registry r;
        r.OpenKey(QStringLiteral("K"), true);
        qint32 n = 0;
        bool b = true;
        QString s;
        ReadIntegerDef(r, QStringLiteral("Width"), n, 5);
        ReadBoolDef(r, QStringLiteral("SaveText"), b, false);
        ReadStringDef(r, QStringLiteral("Font"), s, QStringLiteral("Arial"));
        EXPECT_EQ(n, 5);
        EXPECT_FALSE(b);
        EXPECT_EQ(s, QStringLiteral("Arial"));
    }
    Registry r;
    r.OpenKey(QStringLiteral("K"), false);
    EXPECT_EQ(r.ReadInteger(QStringLiteral("Width")), 5);
    EXPECT_FALSE(r.ReadBool(QStringLiteral("SaveText")));
    EXPECT_FALSE(r.ValueExists(QStringLiteral("Font"))) << "a missing string is not written back";
    qint32 n = 0;
    ReadIntegerDef(r, QStringLiteral("Width"), n, 9);
    EXPECT_EQ(n, 5) << "a stored value wins over the default";
}

TEST(Registry, DamagedOrHugeFilesStartFromWhatCanBeRead)
{
    const QByteArray cases[] = {
        QByteArray(),
        QByteArray("\xff\xfe\x00\x01 binary", 12),
        QByteArray("[A]\r\n\"Good\"=dword:0000000a\r\n\"Bad\"=dword:xyz\r\n\"Open=\"str\r\n\"Long\"=dword:123456789\r\n"),
        QByteArray(8 * 1024 * 1024, '['),
    };
    for (const QByteArray& data : cases) {
        writeRaw(data);
        Registry r;
        if (r.OpenKey(QStringLiteral("A"), false)) {
            EXPECT_EQ(r.ReadInteger(QStringLiteral("Good")), 10);
            EXPECT_FALSE(r.ValueExists(QStringLiteral("Bad")));
            EXPECT_FALSE(r.ValueExists(QStringLiteral("Open")));
            EXPECT_FALSE(r.ValueExists(QStringLiteral("Long")));
        }
        r.OpenKey(QStringLiteral("B"), true);
        r.WriteInteger(QStringLiteral("X"), 1);
        EXPECT_NO_THROW(r.Flush());
    }
}

TEST(Registry, FlushReportsAWriteThatCannotHappen)
{
    // A folder where the file should be: the write fails, and says so.
    QDir().mkpath(Registry::filePath());
    Registry r;
    r.OpenKey(QStringLiteral("A"), true);
    r.WriteInteger(QStringLiteral("X"), 1);
    EXPECT_THROW(r.Flush(), LumacetError);
}
