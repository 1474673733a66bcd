#include "doctor/serial_devices.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <sys/stat.h>

namespace kovra::doctor {

namespace {

// tty names that stand for hardware: a letter after "tty" and a number at
// the end (ttyUSB0, ttyACM3, ttyS0, ttyAMA0, ttyCH341USB0), not tty1..63.
bool isHardwareTtyName(const QString& name)
{
    static const QRegularExpression pattern(QStringLiteral("^tty[A-Za-z][A-Za-z0-9]*[0-9]+$"));
    return pattern.match(name).hasMatch();
}

bool isUsbSerialName(const QString& name)
{
    static const QRegularExpression pattern(QStringLiteral("^tty(USB|ACM)[0-9]+$"));
    return pattern.match(name).hasMatch();
}

QString baseName(const QString& path)
{
    return path.isEmpty() ? QString() : QFileInfo(path).fileName();
}

// The USB device at or above a /sys folder: the first one with idVendor.
UsbIdentity usbIdentityAbove(const SystemTree& tree, QString dir)
{
    const QString sysRoot = tree.at(QStringLiteral("/sys"));
    for (int depth = 0; depth < 12 && dir.startsWith(sysRoot) && dir != sysRoot; ++depth) {
        const QString vendor = SystemTree::readLine(dir + QStringLiteral("/idVendor"));
        if (!vendor.isEmpty()) {
            UsbIdentity usb;
            usb.vendorId = vendor.toLower();
            usb.productId = SystemTree::readLine(dir + QStringLiteral("/idProduct")).toLower();
            usb.manufacturer = SystemTree::readLine(dir + QStringLiteral("/manufacturer"));
            usb.product = SystemTree::readLine(dir + QStringLiteral("/product"));
            usb.sysPath = dir;
            return usb;
        }
        dir = QFileInfo(dir).path();
    }
    return {};
}

// by-id names that end at each device (tree path -> stable name).
QHash<QString, QString> stableNames(const SystemTree& tree)
{
    QHash<QString, QString> names;
    const QString byId = tree.at(QStringLiteral("/dev/serial/by-id"));
    for (const QString& entry : SystemTree::list(byId)) {
        const QString path = byId + u'/' + entry;
        const QString target = tree.follow(path);
        if (!names.contains(target))
            names.insert(target, tree.systemPath(path));
    }
    return names;
}

// Whether a /sys device folder has a tty somewhere below it.
bool hasTtyBelow(const QString& dir, int depth)
{
    for (const QString& name : SystemTree::list(dir, QDir::Dirs | QDir::NoSymLinks)) {
        if (name == QLatin1String("tty") || name.startsWith(QLatin1String("tty")))
            return true;
        if (depth > 0 && hasTtyBelow(dir + u'/' + name, depth - 1))
            return true;
    }
    return false;
}

} // namespace

NodeAccess InspectNode(const QString& treePath, const UserAccount& account)
{
    NodeAccess access;
    struct stat st;
    if (::stat(QFile::encodeName(treePath).constData(), &st) != 0)
        return access;
    access.exists = true;
    access.isFolder = S_ISDIR(st.st_mode);
    access.gid = st.st_gid;
    access.group = account.nameOfGroup(st.st_gid);
    access.groupMayOpen = (st.st_mode & (S_IRGRP | S_IWGRP)) == (S_IRGRP | S_IWGRP);
    access.mayOpen = account.mayReadWrite(treePath, st);
    return access;
}

bool IsEmptySerialSlot(const SystemTree& tree, const QString& deviceName)
{
    static const QRegularExpression uart(QStringLiteral("^ttyS[0-9]+$"));
    if (!uart.match(deviceName).hasMatch())
        return false;
    // 0 is PORT_UNKNOWN: the kernel keeps the name, but opening it fails.
    return SystemTree::readLine(tree.at(QStringLiteral("/sys/class/tty/%1/type").arg(deviceName))) == QLatin1String("0");
}

QList<SerialDevice> FindSerialDevices(const SystemTree& tree, const UserAccount& account)
{
    QStringList names;
    const QString classTty = tree.at(QStringLiteral("/sys/class/tty"));
    for (const QString& name : SystemTree::list(classTty))
        if (isHardwareTtyName(name) && SystemTree::lexists(classTty + u'/' + name + QStringLiteral("/device"))
            && !IsEmptySerialSlot(tree, name))
            names.append(name);
    // Without /sys (a container) the usual USB names in /dev still count.
    for (const QString& name : SystemTree::list(tree.at(QStringLiteral("/dev")), QDir::System | QDir::Files))
        if (isUsbSerialName(name) && !names.contains(name))
            names.append(name);
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        return QString::localeAwareCompare(a, b) < 0;
    });

    const QHash<QString, QString> stable = stableNames(tree);
    QList<SerialDevice> devices;
    for (const QString& name : names) {
        SerialDevice d;
        d.name = name;
        d.path = QStringLiteral("/dev/") + name;
        const QString node = tree.at(d.path);
        d.stableName = stable.value(node);
        const QString sysDevice = classTty + u'/' + name + QStringLiteral("/device");
        if (SystemTree::lexists(sysDevice)) {
            d.driver = baseName(SystemTree::readLink(sysDevice + QStringLiteral("/driver")));
            d.usb = usbIdentityAbove(tree, QFileInfo(sysDevice).canonicalFilePath());
            // udev's database says whether ModemManager was told to keep off.
            const QString majorMinor = SystemTree::readLine(classTty + u'/' + name + QStringLiteral("/dev"));
            if (!majorMinor.isEmpty()) {
                QFile data(tree.at(QStringLiteral("/run/udev/data/c") + majorMinor));
                if (data.open(QIODevice::ReadOnly))
                    d.modemManagerIgnores = data.readAll().contains("E:ID_MM_DEVICE_IGNORE=1");
            }
        }
        const NodeAccess access = InspectNode(node, account);
        d.exists = access.exists;
        d.group = access.group;
        d.groupMayOpen = access.groupMayOpen;
        d.mayOpen = access.mayOpen;
        devices.append(d);
    }
    return devices;
}

QList<AdapterWithoutDevice> FindAdaptersWithoutDevice(const SystemTree& tree)
{
    QList<AdapterWithoutDevice> found;
    const QString usbDevices = tree.at(QStringLiteral("/sys/bus/usb/devices"));
    for (const QString& entry : SystemTree::list(usbDevices)) {
        if (entry.contains(u':'))
            continue; // an interface, not a device
        const QString dir = QFileInfo(usbDevices + u'/' + entry).canonicalFilePath();
        const QString vendor = SystemTree::readLine(dir + QStringLiteral("/idVendor")).toLower();
        const QString product = SystemTree::readLine(dir + QStringLiteral("/idProduct")).toLower();
        const KnownAdapter* known = FindKnownAdapter(vendor, product);
        if (!known || hasTtyBelow(dir, 3))
            continue;
        AdapterWithoutDevice a;
        a.usb = usbIdentityAbove(tree, dir);
        a.kernelDriver = QLatin1String(known->kernelDriver);
        // The first interface's driver: "usbfs" when a program claimed it.
        for (const QString& name : SystemTree::list(dir, QDir::Dirs)) {
            if (name.contains(u':')) {
                a.interfaceDriver = baseName(SystemTree::readLink(dir + u'/' + name + QStringLiteral("/driver")));
                break;
            }
        }
        found.append(a);
    }
    return found;
}

} // namespace kovra::doctor
