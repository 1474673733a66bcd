#include "platform/desktop.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace kovra::test {
namespace {

TEST(SystemDesktop, StartAndWaitWaitsForTheProgramToEnd)
{
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    // The whole path is the program, spaces included.
    ASSERT_TRUE(QDir().mkpath(temp.filePath(QStringLiteral("Q Var"))));
    const QString program = temp.filePath(QStringLiteral("Q Var/Driver.exe"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(KOVRA_STAND_IN_PROGRAM), program));

    platform::SystemDesktop desktop;
    // Started, so true whatever its exit code; its mark proves the wait.
    EXPECT_TRUE(desktop.StartAndWait(program));
    EXPECT_TRUE(QFile::exists(program + QStringLiteral(".done")));
}

TEST(SystemDesktop, StartAndWaitFailsForMissingOrNonExecutableProgram)
{
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    platform::SystemDesktop desktop;
    EXPECT_FALSE(desktop.StartAndWait(temp.filePath(QStringLiteral("missing/Driver.exe"))));
    EXPECT_FALSE(desktop.StartAndWait(QString()));

    QFile plain(temp.filePath(QStringLiteral("Driver.exe")));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.write("not a program");
    plain.close();
    plain.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_FALSE(desktop.StartAndWait(plain.fileName()));
}

} // namespace
} // namespace kovra::test
