#pragma once
// For tests of the Windows build running under Wine on the build machine:
// the Unix name of a Windows path, and the simulator (a Unix program built
// for that machine) started on a pseudo-terminal linked into the Wine
// prefix as a COM port, which the program then opens like any other.

#include "platform/serial_ports.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QStringList>
#include <QThread>

#include <windows.h>

namespace kovra::test {

// The Unix path of a Windows path, or empty when not running under Wine.
inline QString UnixPathOf(const QString& windowsPath)
{
    using ToUnix = char*(CDECL*)(LPCWSTR);
    const auto toUnix = reinterpret_cast<ToUnix>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!toUnix)
        return {};
    const std::wstring name = QDir::toNativeSeparators(windowsPath).toStdWString();
    char* unixName = toUnix(name.c_str());
    if (!unixName)
        return {};
    const QString path = QString::fromUtf8(unixName);
    HeapFree(GetProcessHeap(), 0, unixName);
    return path;
}

// kovra-sim on COM<port> of the Wine prefix this test runs in. It ends by
// itself after a minute at most (and after its first engraving when asked):
// a Windows process can neither end nor wait for a Unix one.
class WineMachine {
public:
    WineMachine(int port, QStringList options)
        : m_port(port)
        , m_options(std::move(options))
    {
    }

    // Why the machine cannot be had here; empty when it was started.
    QString start()
    {
        const QString sim = QStringLiteral(KOVRA_HOST_SIM);
        const QString drive = UnixPathOf(QStringLiteral("C:\\"));
        if (drive.isEmpty())
            return QStringLiteral("not running under Wine");
        if (!QFileInfo::exists(QStringLiteral("Z:") + sim))
            return QStringLiteral("no kovra-sim built for this machine at %1").arg(sim);
        // Wine names C: by its entry in the prefix's dosdevices folder.
        const QString dosdevices = QDir::cleanPath(drive + QStringLiteral("/.."));
        QStringList args{QStringLiteral("60"), sim, QStringLiteral("--port"), QStringLiteral("COM%1").arg(m_port),
                         QStringLiteral("--port-dir"), dosdevices, QStringLiteral("--link-name"),
                         QStringLiteral("com%1").arg(m_port)};
        m_process.setProgram(QStringLiteral("Z:\\usr\\bin\\timeout"));
        m_process.setArguments(args + m_options);
        m_process.setProcessChannelMode(QProcess::ForwardedChannels);
        m_process.start();
        if (!m_process.waitForStarted(10000))
            return QStringLiteral("kovra-sim did not start: %1").arg(m_process.errorString());
        // Ready once its link makes the port present.
        const QString name = QStringLiteral("COM%1A").arg(m_port);
        QDeadlineTimer deadline(20000);
        while (!platform::SerialPortNames::fromEnvironment().listPresent().names.contains(name)) {
            if (deadline.hasExpired())
                return QStringLiteral("COM%1 never appeared").arg(m_port);
            QThread::msleep(50);
        }
        return {};
    }

    // Waits until the machine has written a picture file of its own (it does
    // so at the end of each engraving); null when none came within ms.
    static QImage waitForPicture(const QString& path, int ms)
    {
        QDeadlineTimer deadline(ms);
        for (;;) {
            const QImage picture(path);
            if (!picture.isNull() || deadline.hasExpired())
                return picture;
            QThread::msleep(50);
        }
    }

private:
    int m_port;
    QStringList m_options;
    QProcess m_process;
};

} // namespace kovra::test
