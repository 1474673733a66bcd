#include "app/doctor_command.h"

#include "doctor/doctor_command.h"

#include <QCoreApplication>

namespace kovra::app {

QString DoctorUsage()
{
    return doctor::DoctorUsage();
}

int RunDoctorCommand(const QStringList& args, QTextStream& out, QTextStream& err)
{
    return doctor::RunDoctor(args, out, err);
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
