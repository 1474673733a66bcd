// kovra-manpage: runs a built program with --help (and each of its commands
// with --help) and writes the man page made from what they print.
//   kovra-manpage --name kovra --version 1.0.0 --date 2024-05-01
//                 --summary "..." [--see-also "kovra-sim(1)"] [--commands]
//                 --output kovra.1 PROGRAM

#include "packaging/man_page.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSaveFile>
#include <QTemporaryDir>

#include <cstdio>

namespace {

using namespace kovra::packaging;

// The program's --help text, run in an empty folder with settings of its own
// so nothing of this machine (ports, home folder) shows in the page.
bool helpText(const QString& program, const QStringList& arguments, const QString& sandbox, QString& text)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("KOVRA_PORT_DIR"), sandbox + QStringLiteral("/ports"));
    env.insert(QStringLiteral("KOVRA_PORT_TABLE"), QStringLiteral("0"));
    env.insert(QStringLiteral("KOVRA_CONFIG_DIR"), sandbox + QStringLiteral("/config"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), sandbox);
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(sandbox);
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(20000)) {
        process.kill();
        process.waitForFinished();
        return false;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return false;
    text = QString::fromUtf8(process.readAllStandardOutput());
    // A program that reports itself by the path it was started with.
    text.replace(program, QFileInfo(program).fileName());
    return !text.trimmed().isEmpty();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption nameOpt(QStringLiteral("name"), QStringLiteral("Program name."), QStringLiteral("NAME"));
    const QCommandLineOption versionOpt(QStringLiteral("version"), QStringLiteral("Version."), QStringLiteral("V"));
    const QCommandLineOption dateOpt(QStringLiteral("date"), QStringLiteral("Date of the page."), QStringLiteral("DATE"));
    const QCommandLineOption summaryOpt(QStringLiteral("summary"), QStringLiteral("NAME line."), QStringLiteral("TEXT"));
    const QCommandLineOption seeAlsoOpt(QStringLiteral("see-also"), QStringLiteral("A related page."), QStringLiteral("PAGE"));
    const QCommandLineOption commandsOpt(QStringLiteral("commands"), QStringLiteral("Add each command's --help."));
    const QCommandLineOption outputOpt(QStringLiteral("output"), QStringLiteral("The page to write."), QStringLiteral("FILE"));
    parser.addOptions({nameOpt, versionOpt, dateOpt, summaryOpt, seeAlsoOpt, commandsOpt, outputOpt});
    parser.addPositionalArgument(QStringLiteral("PROGRAM"), QStringLiteral("The built program."));
    parser.process(app);
    if (parser.positionalArguments().size() != 1 || !parser.isSet(outputOpt) || !parser.isSet(nameOpt)) {
        std::fputs("usage: kovra-manpage --name NAME --output FILE [options] PROGRAM\n", stderr);
        return 2;
    }
    const QString program = QDir(parser.positionalArguments().first()).absolutePath();

    QTemporaryDir sandbox;
    if (!sandbox.isValid()) {
        std::fputs("kovra-manpage: cannot make a temporary folder\n", stderr);
        return 1;
    }
    QString help;
    if (!helpText(program, {QStringLiteral("--help")}, sandbox.path(), help)) {
        std::fprintf(stderr, "kovra-manpage: \"%s --help\" printed no help\n", qPrintable(program));
        return 1;
    }
    ManPageInfo info;
    info.name = parser.value(nameOpt);
    info.version = parser.value(versionOpt);
    info.date = parser.value(dateOpt);
    info.summary = parser.value(summaryOpt);
    info.seeAlso = parser.values(seeAlsoOpt);

    QList<CommandHelp> commands;
    if (parser.isSet(commandsOpt)) {
        for (const QString& command : CommandsInUsage(info.name, help)) {
            QString text;
            // A command without a help text of its own is described by the usage line alone.
            if (helpText(program, {command, QStringLiteral("--help")}, sandbox.path(), text))
                commands.append(CommandHelp{command, text});
        }
    }

    QSaveFile page(parser.value(outputOpt));
    const QByteArray bytes = HelpToManPage(info, help, commands).toUtf8();
    if (!page.open(QIODevice::WriteOnly) || page.write(bytes) != bytes.size() || !page.commit()) {
        std::fprintf(stderr, "kovra-manpage: cannot write %s\n", qPrintable(parser.value(outputOpt)));
        return 1;
    }
    return 0;
}
