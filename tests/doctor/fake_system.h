#pragma once
// A made-up system for the serial doctor: /dev, /sys, /proc, /etc and a port
// directory in a temporary folder, and a user who is not root (so permission
// problems show even when the tests run as root).

#include "doctor/serial_doctor.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

namespace kovra::test {

class FakeSystem {
public:
    FakeSystem() { QDir().mkpath(root()); }

    QString root() const { return m_dir.path() + QStringLiteral("/root"); }
    QString ports() const { return m_dir.path() + QStringLiteral("/ports"); }
    QString at(const QString& systemPath) const { return root() + systemPath; }

    // A file with its folders; mode as chmod takes it.
    void file(const QString& systemPath, const QByteArray& content = {}, int mode = 0644) const
    {
        const QString path = at(systemPath);
        QDir().mkpath(QFileInfo(path).path());
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(content);
        f.close();
        ::chmod(QFile::encodeName(path).constData(), mode_t(mode));
        if (::geteuid() == 0) { // root's own group is no group to tell a user to join
            [[maybe_unused]] const int r = ::chown(QFile::encodeName(path).constData(), uid_t(-1), gid_t(DialoutGid));
        }
    }
    // A symbolic link whose target is written as given.
    void link(const QString& systemPath, const QString& target) const { makeLink(at(systemPath), target); }
    static void makeLink(const QString& path, const QString& target)
    {
        QDir().mkpath(QFileInfo(path).path());
        QFile::remove(path);
        [[maybe_unused]] const int r = ::symlink(QFile::encodeName(target).constData(), QFile::encodeName(path).constData());
    }
    void portEntry(const QString& name, const QString& target) const { makeLink(ports() + u'/' + name, target); }

    // A USB serial adapter as the kernel and udev show it: the USB device
    // with its ids, its interface and driver, the tty below it, the device
    // node (mode) and its stable by-id name.
    void usbSerial(const QString& tty, const QString& vendor, const QString& product, const QString& driver,
                   const QString& usbPort = QStringLiteral("1-1"), int mode = 0660) const
    {
        const QString usb = QStringLiteral("/sys/devices/pci0000:00/0000:00:14.0/usb1/") + usbPort;
        file(usb + QStringLiteral("/idVendor"), vendor.toLatin1() + '\n');
        file(usb + QStringLiteral("/idProduct"), product.toLatin1() + '\n');
        file(usb + QStringLiteral("/product"), "USB Serial\n");
        relativeLink(QStringLiteral("/sys/bus/usb/devices/") + usbPort, usb);
        const QString iface = usb + u'/' + usbPort + QStringLiteral(":1.0");
        file(iface + QStringLiteral("/bInterfaceNumber"), "00\n");
        if (tty.isEmpty())
            return;
        // cdc_acm serves the interface itself; a usb-serial driver a port below it.
        const bool acm = tty.startsWith(QLatin1String("ttyACM"));
        const QString serving = acm ? iface : iface + u'/' + tty;
        const QString ttyDir = serving + QStringLiteral("/tty/") + tty;
        file(ttyDir + QStringLiteral("/dev"), acm ? "166:0\n" : "188:0\n");
        const QString driverDir = QStringLiteral("/sys/bus/usb-serial/drivers/") + driver;
        QDir().mkpath(at(driverDir));
        relativeLink(serving + QStringLiteral("/driver"), driverDir);
        relativeLink(QStringLiteral("/sys/class/tty/") + tty, ttyDir);
        relativeLink(ttyDir + QStringLiteral("/device"), serving);
        file(QStringLiteral("/dev/") + tty, {}, mode);
        relativeLink(stableName(vendor, product), QStringLiteral("/dev/") + tty);
    }
    // A link inside the tree written relative, as the kernel and udev write theirs.
    void relativeLink(const QString& systemPath, const QString& targetSystemPath) const
    {
        const QString linkDir = QFileInfo(at(systemPath)).path();
        QDir().mkpath(linkDir);
        makeLink(at(systemPath), QDir(linkDir).relativeFilePath(at(targetSystemPath)));
    }
    QString stableName(const QString& vendor, const QString& product) const
    {
        return QStringLiteral("/dev/serial/by-id/usb-") + vendor + u'_' + product + QStringLiteral("-if00-port0");
    }

    // A process by name, with devices it has open.
    void process(qint64 pid, const QString& command, const QStringList& openDevices = {}) const
    {
        const QString dir = QStringLiteral("/proc/%1").arg(pid);
        file(dir + QStringLiteral("/comm"), command.toUtf8() + '\n');
        QDir().mkpath(at(dir + QStringLiteral("/fd")));
        for (int i = 0; i < openDevices.size(); ++i)
            link(dir + QStringLiteral("/fd/%1").arg(i + 3), openDevices[i]);
    }

    // The group every file here belongs to is called "dialout".
    doctor::UserAccount user(bool inDialout, bool joinedSinceLogin = false) const
    {
        doctor::UserAccount account;
        account.name = QStringLiteral("ann");
        account.uid = ::getuid() + 4242; // owns nothing here
        account.pid = 999999;
        const uint dialout = ::geteuid() == 0 ? DialoutGid : ::getegid();
        account.sessionGroups = {4242};
        account.accountGroups = {4242};
        if (inDialout)
            account.sessionGroups.append(dialout);
        if (inDialout || joinedSinceLogin)
            account.accountGroups.append(dialout);
        account.groupName = [dialout](uint gid) { return gid == dialout ? QStringLiteral("dialout") : QString(); };
        return account;
    }

    doctor::DoctorReport examine(const doctor::UserAccount& account, bool defaultTable = true) const
    {
        doctor::DoctorOptions options;
        options.portDirectory = ports();
        options.defaultTable = defaultTable;
        return doctor::SerialDoctor(doctor::SystemTree(root()), account, options).Examine();
    }

private:
    static constexpr uint DialoutGid = 20;
    QTemporaryDir m_dir;
};

} // namespace kovra::test
