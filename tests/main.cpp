#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <memory>

namespace {

// Every test starts with its own empty configuration and data folders, so no
// test sees another's settings and none touches the user's.
class FreshUserFolders : public testing::EmptyTestEventListener {
    std::unique_ptr<QTemporaryDir> m_dir;

    void OnTestStart(const testing::TestInfo&) override
    {
        m_dir = std::make_unique<QTemporaryDir>();
        qputenv("XDG_CONFIG_HOME", (m_dir->path() + "/config").toLocal8Bit());
        qputenv("XDG_DATA_HOME", (m_dir->path() + "/data").toLocal8Bit());
        qputenv("TEMP", (m_dir->path() + "/temp").toLocal8Bit());
        qunsetenv("TMP");
    }
    void OnTestEnd(const testing::TestInfo&) override { m_dir.reset(); }
};

} // namespace

int main(int argc, char** argv)
{
    // Offscreen unless a developer asks for a real display (LUMACET_TEST_PLATFORM=xcb) to look.
    const QByteArray platform = qgetenv("LUMACET_TEST_PLATFORM");
    qputenv("QT_QPA_PLATFORM", platform.isEmpty() ? QByteArray("offscreen") : platform);
    // Fixed DPI and fonts, so that sizes measured in tests do not depend on the machine.
    qputenv("QT_FONT_DPI", "96");
    qputenv("QT_SCALE_FACTOR", "1");
    std::signal(SIGXFSZ, SIG_IGN);
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(new FreshUserFolders);
    return RUN_ALL_TESTS();
}
