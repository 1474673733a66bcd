#include "platform/paths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "tests/support/scoped_env.h"

namespace kovra::test {
namespace {

using platform::MapProgramPath;


TEST(ProgramPaths, DriveAndKovraFolderMapIntoOneFolder)
{
    const QString kovra = QStringLiteral("/home/u/.config/kovra");
    EXPECT_EQ(MapProgramPath(QStringLiteral("C:\\Kovra"), kovra), kovra);
    EXPECT_EQ(MapProgramPath(QStringLiteral("C:\\Kovra\\Config.ini"), kovra), kovra + "/Config.ini");
    EXPECT_EQ(MapProgramPath(QStringLiteral("c:\\KOVRA\\Config.ini"), kovra), kovra + "/Config.ini");
    EXPECT_EQ(MapProgramPath(QStringLiteral("C:\\Q-Var\\Driver.exe"), kovra), kovra + "/Q-Var/Driver.exe");
    // A folder that merely starts with the same letters is not the kovra folder.
    EXPECT_EQ(MapProgramPath(QStringLiteral("C:\\KovraOld\\a"), kovra), kovra + "/KovraOld/a");
    EXPECT_EQ(MapProgramPath(QStringLiteral("relative\\file"), kovra), QStringLiteral("relative/file"));
}

TEST(ProgramPaths, CreateFolderMakesParentsAndReportsFailure)
{
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    const QString nested = temp.filePath(QStringLiteral("a/b/kovra"));
    EXPECT_TRUE(platform::CreateFolder(nested));
    EXPECT_TRUE(QDir(nested).exists());
    EXPECT_TRUE(platform::CreateFolder(nested)); // already there

    QFile file(temp.filePath(QStringLiteral("plain")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_FALSE(platform::CreateFolder(temp.filePath(QStringLiteral("plain/sub"))));
    EXPECT_FALSE(platform::CreateFolder(QString()));
}

} // namespace
} // namespace kovra::test
