// Kovra Laser: the window, or the command-line engraving.
#include "app/command_line.h"
#include "app/doctor_command.h"
#include "app/engrave_command.h"
#include "app/program.h"
#include "app/render_command.h"
#include "platform/terminal.h"

#include <QApplication>
#include <QGuiApplication>
#include <QTextStream>
#include <cstdio>

namespace {

bool wantsCommandLine(int argc, char** argv)
{
    if (argc < 2)
        return false;
    const QByteArray first(argv[1]);
    return first == "engrave" || first == "sample" || first == "render" || first == "testcard" || first == "--help"
        || first == "-h";
}

void printUsage()
{
    // Two spaces or more before each meaning: the man page is made from this text.
    std::fputs("usage: kovra [PICTURE]                   the program's window (a picture opens as if dropped)\n"
               "       kovra engrave PICTURE ...         engrave without a window (kovra engrave --help)\n"
               "       kovra render PICTURE OUT.png ...  write the board a picture would be sent as, a one-bit PNG, with a rendering and tuning of choice (kovra render --help)\n"
               "       kovra render --list               the renderings, one a line\n"
               "       kovra testcard OUT.png            write a material test card: a grey ramp in every rendering\n"
               "       kovra sample OUT.png              write a sample picture\n"
               "       kovra doctor ...                  why no machine is found, and how to fix it (kovra doctor --help)\n",
        stdout);
    const kovra::app::EngraveOptions defaults;
    std::fprintf(stdout,
        "\n"
        "Options are written --name VALUE or --name=VALUE, before or after the other words; -- ends them.\n"
        "kovra engrave waits %d s for a machine to answer (--connect-timeout) and %d s for the job to\n"
        "finish (--job-timeout).\n"
        "\n"
        "Exit status:\n"
        "  0  the window was closed, the engraving finished, the file was written\n"
        "  1  render, testcard or sample could not write its file, or sample was not given one\n"
        "  2  a wrong command line, or a picture that cannot be used\n"
        "  3  kovra engrave: no machine answered within the connect time-out\n"
        "  4  kovra engrave: the engraving did not finish within the job time-out\n"
        "  5  kovra engrave: the connection broke after Start\n"
        "kovra doctor has statuses of its own (kovra doctor --help).\n",
        defaults.connectTimeoutS, defaults.jobTimeoutS);
}

int runCommandLine(int argc, char** argv)
{
    // No window: the offscreen platform unless another one was chosen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("kovra"));
    const QStringList args = QGuiApplication::arguments();
    const QString command = args.value(1);
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (command == QLatin1String("sample"))
        return kovra::app::RunSampleCommand(args.mid(2), out, err);
    if (command == QLatin1String("render"))
        return kovra::app::RunRenderCommand(args.mid(2), out, err);
    if (command == QLatin1String("testcard"))
        return kovra::app::RunTestCardCommand(args.mid(2), out, err);
    if (command == QLatin1String("engrave"))
        return kovra::app::RunEngraveCommandLine(args.mid(2));
    printUsage();
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 2 && QByteArray(argv[1]) == "doctor")
        return kovra::app::RunDoctorCommand(argc, argv);
    if (wantsCommandLine(argc, argv))
        return runCommandLine(argc, argv);

    kovra::platform::ReleaseOwnConsole();
    QApplication app(argc, argv);
    kovra::app::SetDesktopIdentity();
    // The pictures to open; Qt's own options (-style, -platform, ...) are
    // taken out of the arguments already.
    kovra::app::CommandLine line;
    const bool parsed = line.parse(QApplication::arguments().mid(1));
    if (line.helpWanted()) {
        printUsage();
        return 0;
    }
    if (!parsed) {
        std::fprintf(stderr, "kovra: %s (kovra --help)\n", qPrintable(line.error()));
        return 2;
    }
    kovra::app::Program program;
    program.Start(line.words());
    return QApplication::exec();
}
