#include "platform/desktop.h"

#include <QDesktopServices>
#include <QProcess>

namespace kovra::platform {

bool SystemDesktop::StartAndWait(const QString& program)
{
    if (program.isEmpty())
        return false;
    QProcess process;
    // The installer talks to the user in its own window; its output is not ours.
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.setProgram(program);
    process.start();
    if (!process.waitForStarted(-1))
        return false;
    // Blocks this thread on purpose: nothing else may run while the driver installs.
    process.waitForFinished(-1);
    return true;
}

bool SystemDesktop::OpenUrl(const QUrl& address)
{
    return QDesktopServices::openUrl(address);
}

} // namespace kovra::platform
