#include "platform/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

// What a failed write leaves behind is covered by the save tests of PictureIO,
// which go through this function.

namespace {

QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

mode_t permissions(const QString& path)
{
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : mode_t(-1);
}

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// Sets the process umask for one test and puts the old one back.
class Umask {
public:
    explicit Umask(mode_t mask) : m_old(::umask(mask)) {}
    ~Umask() { ::umask(m_old); }
    Umask(const Umask&) = delete;
    Umask& operator=(const Umask&) = delete;

private:
    mode_t m_old;
};

class SafeFileTest : public testing::Test {
protected:
    QString path(const QString& name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

TEST_F(SafeFileTest, ReplacesTheContentsAndKeepsThePermissions)
{
    const QString file = path("photo.jpg");
    writeFileReplacing(file, QByteArray(5000, 'a'));
    ASSERT_EQ(::chmod(QFile::encodeName(file).constData(), 0640), 0);

    writeFileReplacing(file, "new");
    EXPECT_EQ(contents(file), "new");
    EXPECT_EQ(permissions(file), mode_t(0640));
    EXPECT_EQ(entries(m_dir.path()), QStringList{"photo.jpg"}) << "a temporary file was left behind";
}

TEST_F(SafeFileTest, NewFileGetsThePermissionsTheUmaskAllows)
{
    for (mode_t mask : {mode_t(022), mode_t(077), mode_t(0)}) {
        SCOPED_TRACE(mask);
        const Umask umask(mask);
        const QString file = path(QStringLiteral("new-%1.jpg").arg(mask, 0, 8));
        writeFileReplacing(file, "data");
        EXPECT_EQ(contents(file), "data");
        EXPECT_EQ(permissions(file), mode_t(0666 & ~mask));
    }
}

TEST_F(SafeFileTest, WritingThroughALinkReplacesTheFileItPointsTo)
{
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("pictures"));
    const QString real = path("pictures/real.jpg");
    const QString link = path("link.jpg");
    writeFileReplacing(real, "old");
    ASSERT_TRUE(QFile::link(real, link));

    writeFileReplacing(link, "new");
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(contents(real), "new");
    EXPECT_EQ(entries(path("pictures")), QStringList{"real.jpg"});
}

} // namespace
