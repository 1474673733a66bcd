#include "platform/desktop.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace kovra::test {
namespace {

#ifndef Q_OS_WIN
TEST(SystemDesktop, StartAndWaitWaitsForTheProgramToEnd)
{
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    // The whole path is the program, spaces included.
    const QString program = temp.filePath(QStringLiteral("Q Var/Driver.exe"));
    const QString marker = temp.filePath(QStringLiteral("done"));
    ASSERT_TRUE(QDir().mkpath(temp.filePath(QStringLiteral("Q Var"))));
    QFile script(program);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\nsleep 0.2\necho ok > \"" + marker.toUtf8() + "\"\nexit 3\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    platform::SystemDesktop desktop;
    // Started, so true whatever its exit code; the marker proves the wait.
    EXPECT_TRUE(desktop.StartAndWait(program));
    EXPECT_TRUE(QFile::exists(marker));
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
#endif

} // namespace
} // namespace kovra::test
