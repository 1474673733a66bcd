#include "platform/paths.h"
#include "shell/settings/config_file.h"
#include "shell/settings/font_settings.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <climits>

namespace kovra::test {
namespace {

using shell::ConfigFile;

class ConfigFileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    QString path() const { return m_dir.filePath(QStringLiteral("Config.ini")); }
    QByteArray contents() const
    {
        QFile file(path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    void store(const QByteArray& bytes) const
    {
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }

    QTemporaryDir m_dir;
};

TEST_F(ConfigFileTest, MissingFileGivesDefaultsAndFirstWriteCreatesIt)
{
    ConfigFile config(path());
    EXPECT_EQ(config.Read(QStringLiteral("MainWindow"), QStringLiteral("Language"), QStringLiteral("0")),
              QStringLiteral("0"));
    EXPECT_FALSE(QFile::exists(path()));

    // A new file gets the system's line ends ("\r\n" on Windows).
    const QByteArray nl = platform::TextFileLineEnd();
    EXPECT_TRUE(config.Write(QStringLiteral("MainWindow"), QStringLiteral("Language"), QStringLiteral("0")));
    EXPECT_EQ(contents(), "[MainWindow]" + nl + "Language=0" + nl);
    EXPECT_TRUE(config.Write(QStringLiteral("MainWindow"), QStringLiteral("Language"), QStringLiteral("4")));
    EXPECT_EQ(contents(), "[MainWindow]" + nl + "Language=4" + nl);
}

TEST_F(ConfigFileTest, NamesCompareWithoutCaseAndKeepTheirSpelling)
{
    store("[mainwindow]\nLANGUAGE = 3 \n");
    ConfigFile config(path());
    EXPECT_EQ(config.Read(QStringLiteral("MainWindow"), QStringLiteral("Language"), QStringLiteral("0")),
              QStringLiteral("3"));
    EXPECT_TRUE(config.Write(QStringLiteral("MAINWINDOW"), QStringLiteral("language"), QStringLiteral("5")));
    EXPECT_EQ(contents(), QByteArray("[mainwindow]\nLANGUAGE =5\n"));
}

TEST_F(ConfigFileTest, WriteLeavesOtherSectionsCommentsAndLineEndsAlone)
{
    store("; kept comment\r\n[Other]\r\nKey=Value\r\n\r\n[MainWindow]\r\nLanguage=1\r\nExtra= x \r\n\r\n[Last]\r\nA=b");
    ASSERT_TRUE(QFile::setPermissions(path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    const auto permissions = QFile::permissions(path());
    ConfigFile config(path());
    EXPECT_TRUE(config.Write(QStringLiteral("MainWindow"), QStringLiteral("Language"), QStringLiteral("2")));
    EXPECT_TRUE(config.Write(QStringLiteral("MainWindow"), QStringLiteral("New"), QStringLiteral("n")));
    EXPECT_EQ(QFile::permissions(path()), permissions) << "the file keeps its mode";
    EXPECT_TRUE(config.Write(QStringLiteral("Front"), QStringLiteral("Name"), QStringLiteral("宋体")));
    EXPECT_EQ(contents(), QByteArray("; kept comment\r\n[Other]\r\nKey=Value\r\n\r\n[MainWindow]\r\nLanguage=2\r\n"
                                     "Extra= x \r\nNew=n\r\n\r\n[Last]\r\nA=b\r\n[Front]\r\nName=")
                              + QStringLiteral("宋体").toUtf8() + "\r\n");
    EXPECT_EQ(config.Read(QStringLiteral("Other"), QStringLiteral("Key"), QString()), QStringLiteral("Value"));
    EXPECT_EQ(config.Read(QStringLiteral("Front"), QStringLiteral("Name"), QString()), QStringLiteral("宋体"));
    // A commented-out key is no key.
    store("[MainWindow]\n;Language=4\n");
    EXPECT_EQ(config.Read(QStringLiteral("MainWindow"), QStringLiteral("Language"), QStringLiteral("0")),
              QStringLiteral("0"));
}

TEST_F(ConfigFileTest, ValuesAreTrimmedUnquotedAndCutAt10240Bytes)
{
    const QByteArray ascii(20000, 'a');
    QByteArray wide;
    for (int i = 0; i < 6000; ++i)
        wide += QStringLiteral("é").toUtf8(); // two bytes each
    store("[S]\nQuoted=\" 1\"\nLong=" + ascii + "\nWide=" + wide + "\nExact=" + QByteArray(10240, 'b') + "\n");
    ConfigFile config(path());
    EXPECT_EQ(config.Read(QStringLiteral("S"), QStringLiteral("Quoted"), QString()), QStringLiteral(" 1"));
    EXPECT_EQ(config.Read(QStringLiteral("S"), QStringLiteral("Long"), QString()).size(), 10240);
    // Never half a character.
    EXPECT_EQ(config.Read(QStringLiteral("S"), QStringLiteral("Wide"), QString()), QString(5120, QChar(0xE9)));
    EXPECT_EQ(config.Read(QStringLiteral("S"), QStringLiteral("Exact"), QString()), QString(10240, u'b'));
}

TEST_F(ConfigFileTest, BlankNameArgumentsGiveEmptyResultNotDefault)
{
    store("[MainWindow]\nLanguage=3\n");
    const QString def = QStringLiteral("default");
    EXPECT_EQ(shell::ReadProfileText(QString(), QStringLiteral("MainWindow"), QStringLiteral("Language"), def), QString());
    EXPECT_EQ(shell::ReadProfileText(path(), QStringLiteral(" \t"), QStringLiteral("Language"), def), QString());
    EXPECT_EQ(shell::ReadProfileText(path(), QStringLiteral("MainWindow"), QString(), def), QString());
    // Leading control characters and spaces are skipped, in the file name too.
    EXPECT_EQ(shell::ReadProfileText(QStringLiteral("\t ") + path(), QStringLiteral("\x01 MainWindow"),
                                     QStringLiteral("  Language"), def),
              QStringLiteral("3"));
    EXPECT_FALSE(shell::WriteProfileText(path(), QStringLiteral(" "), QStringLiteral("Language"), QStringLiteral("1")));
    EXPECT_EQ(contents(), QByteArray("[MainWindow]\nLanguage=3\n"));
}

TEST_F(ConfigFileTest, UnwritableFileOrFolderIsLeftAloneAndReported)
{
    store("[MainWindow]\nLanguage=1\n");
    ASSERT_TRUE(QFile::setPermissions(path(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    ConfigFile config(path());
    EXPECT_FALSE(config.Write(QStringLiteral("MainWindow"), QStringLiteral("Language"), QStringLiteral("2")));
    EXPECT_EQ(config.Read(QStringLiteral("MainWindow"), QStringLiteral("Language"), QStringLiteral("0")),
              QStringLiteral("1"));
    QFile::setPermissions(path(), QFile::ReadOwner | QFile::WriteOwner);

    // The private-profile write does not make folders; the program's file does.
    const QString missing = m_dir.filePath(QStringLiteral("no-such-folder/deeper/Config.ini"));
    EXPECT_FALSE(shell::WriteProfileText(missing, QStringLiteral("MainWindow"), QStringLiteral("Language"), QStringLiteral("2")));
    EXPECT_FALSE(QFile::exists(m_dir.filePath(QStringLiteral("no-such-folder"))));
    ConfigFile elsewhere(missing);
    EXPECT_TRUE(elsewhere.Write(QStringLiteral("MainWindow"), QStringLiteral("Language"), QStringLiteral("2")));
    EXPECT_EQ(elsewhere.Read(QStringLiteral("MainWindow"), QStringLiteral("Language"), QString()), QStringLiteral("2"));

    // A folder that cannot be made: a plain file stands where it would go.
    store("not a folder");
    ConfigFile blocked(path() + QStringLiteral("/Config.ini"));
    EXPECT_FALSE(blocked.Write(QStringLiteral("MainWindow"), QStringLiteral("Language"), QStringLiteral("2")));
    EXPECT_EQ(contents(), QByteArray("not a folder"));
}

TEST_F(ConfigFileTest, WritesThatWouldBreakTheFileAreRefused)
{
    ConfigFile config(path());
    EXPECT_FALSE(config.Write(QStringLiteral("Front"), QStringLiteral("Name"), QStringLiteral("a\n[MainWindow]\nLanguage=5")));
    EXPECT_FALSE(config.Write(QStringLiteral("Fr]ont"), QStringLiteral("Name"), QStringLiteral("a")));
    EXPECT_FALSE(config.Write(QStringLiteral("Front"), QStringLiteral("Na=me"), QStringLiteral("a")));
    EXPECT_FALSE(QFile::exists(path()));
}

TEST(DecimalText, IntegerRule)
{
    EXPECT_EQ(shell::DecimalTextToInt(u"  -12abc"), -12);
    EXPECT_EQ(shell::DecimalTextToInt(u"+7"), 7);
    EXPECT_EQ(shell::DecimalTextToInt(u"36.9"), 36);
    EXPECT_EQ(shell::DecimalTextToInt(u"abc"), 0);
    EXPECT_EQ(shell::DecimalTextToInt(u"- 5"), 0);
    EXPECT_EQ(shell::DecimalTextToInt(u""), 0);
    EXPECT_EQ(shell::DecimalTextToInt(u"99999999999999999999"), INT_MAX);
    EXPECT_EQ(shell::DecimalTextToInt(u"-99999999999999999999"), INT_MIN);
}

TEST(DecimalText, NumberRule)
{
    EXPECT_DOUBLE_EQ(shell::DecimalTextToNumber(u"2.9"), 2.9);
    EXPECT_DOUBLE_EQ(shell::DecimalTextToNumber(u" -0.5x"), -0.5);
    EXPECT_DOUBLE_EQ(shell::DecimalTextToNumber(u"3e1"), 30.0);
    EXPECT_DOUBLE_EQ(shell::DecimalTextToNumber(u"4e"), 4.0);
    EXPECT_DOUBLE_EQ(shell::DecimalTextToNumber(u".5"), 0.5);
    EXPECT_DOUBLE_EQ(shell::DecimalTextToNumber(u"."), 0.0);
    EXPECT_DOUBLE_EQ(shell::DecimalTextToNumber(u"German"), 0.0);
}

TEST_F(ConfigFileTest, FontSettingsFlagsAreOnOnlyForTheDigitOne)
{
    store("[Front]\nName=Arial\nSize= +36pt\nBold=true\nTilt=1\nStrikethrough=01\nUnderline=\" 1\"\n");
    ConfigFile config(path());
    shell::FontDialog dialog;
    shell::LoadFontSettings(config, dialog);
    EXPECT_EQ(dialog.faceName, QStringLiteral("Arial"));
    EXPECT_EQ(dialog.size, 36);
    EXPECT_FALSE(dialog.bold);
    EXPECT_TRUE(dialog.italic);
    EXPECT_FALSE(dialog.strikeout);
    EXPECT_FALSE(dialog.underline);

    store("[Front]\nSize=big\n");
    shell::FontDialog other;
    other.faceName = QStringLiteral("Current");
    shell::LoadFontSettings(config, other);
    EXPECT_EQ(other.faceName, QStringLiteral("Current")); // missing key: the dialog's own face stays
    EXPECT_EQ(other.size, 0);
}

} // namespace
} // namespace kovra::test
