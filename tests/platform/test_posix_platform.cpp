// What the platform layer does on POSIX systems alone: the per-user folder
// that "C:\\" stands for, and arrow keys caught inside the program where no
// X server gives system-wide ones.
#include "platform/global_hotkeys.h"
#include "platform/paths.h"

#include "tests/support/scoped_env.h"

#include <QGuiApplication>
#include <gtest/gtest.h>

namespace kovra::test {
namespace {

using namespace kovra::platform;

TEST(ProgramPaths, EnvironmentOverridesConfigFolderAndInstaller)
{
    {
        const ScopedEnv dir("KOVRA_CONFIG_DIR", "/tmp/kovra-test-config/");
        EXPECT_EQ(ConfigFolderPath(), QStringLiteral("/tmp/kovra-test-config"));
        EXPECT_EQ(ConfigFilePath(), QStringLiteral("/tmp/kovra-test-config/Config.ini"));
        const ScopedEnv noDriver("KOVRA_DRIVER", "");
        EXPECT_EQ(DriverInstallerPath(), QStringLiteral("/tmp/kovra-test-config/Q-Var/Driver.exe"));
        const ScopedEnv driver("KOVRA_DRIVER", "/opt/driver/install.sh");
        EXPECT_EQ(DriverInstallerPath(), QStringLiteral("/opt/driver/install.sh"));
    }
    const ScopedEnv dir("KOVRA_CONFIG_DIR", "");
    EXPECT_TRUE(ConfigFolderPath().endsWith(QStringLiteral("/kovra")));
}

TEST(GlobalHotKeys, NonX11PlatformsFallBack)
{
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        GTEST_SKIP() << "running on X11";
    auto keys = CreateGlobalHotKeys();
    ASSERT_TRUE(keys);
    EXPECT_TRUE(keys->IsFallback());
}

} // namespace
} // namespace kovra::test
