#include "app/doctor_command.h"

#include "app/command_line.h"
#include "doctor/doctor_command.h"

#include <QCoreApplication>

namespace kovra::app {

QString DoctorUsage()
{
    return doctor::DoctorUsage();
}

namespace {

// The options this system's doctor takes, for the parser (DoctorUsage says
// them in full).
void describe(CommandLine& line, const QStringList& offered)
{
    if (offered.contains(QLatin1String("udev-rule")))
        line.addFlag(QStringLiteral("udev-rule"), QString());
    if (offered.contains(QLatin1String("link")))
        line.addValue(QStringLiteral("link"), QStringLiteral("COMn"), QString(),
            QStringLiteral("needs a port (COM1..COM64) and a device"));
    if (offered.contains(QLatin1String("root")))
        line.addValue(QStringLiteral("root"), QStringLiteral("DIR"), QString(), QStringLiteral("needs a folder"));
}

} // namespace

int RunDoctorCommand(const QStringList& args, QTextStream& out, QTextStream& err)
{
    auto usageError = [&](const QString& message) {
        err << "kovra doctor: " << message << "\n" << DoctorUsage();
        return 2;
    };
    // The rule's device is optional, so it comes as the next word; the
    // usual "--udev-rule=DEVICE" is taken as the same.
    QStringList words;
    for (const QString& word : args) {
        if (word.startsWith(QLatin1String("--udev-rule=")))
            words << QStringLiteral("--udev-rule") << word.section(u'=', 1);
        else
            words << word;
    }
    CommandLine line;
    describe(line, doctor::DoctorCommandOptions());
    const bool parsed = line.parse(words);
    if (line.helpWanted()) {
        out << DoctorUsage();
        return 0;
    }
    if (!parsed)
        return usageError(line.error());
    doctor::DoctorRequest request;
    request.root = line.value(QStringLiteral("root"));
    request.udevRule = line.isSet(QStringLiteral("udev-rule"));
    request.linkPort = line.value(QStringLiteral("link"));
    // The words beside the options: the rule's device, or the link's.
    words = line.words();
    const bool link = line.isSet(QStringLiteral("link"));
    const qsizetype most = request.udevRule || link ? 1 : 0;
    if (words.size() > most)
        return usageError(QStringLiteral("unknown argument \"%1\"").arg(words[most]));
    (link ? request.linkDevice : request.ruleDevice) = words.value(0);
    return doctor::RunDoctor(request, out, err);
}

int RunDoctorCommand(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kovra"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    return RunDoctorCommand(QCoreApplication::arguments().mid(2), out, err);
}

} // namespace kovra::app
