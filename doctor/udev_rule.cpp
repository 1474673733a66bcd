#include "doctor/udev_rule.h"

#include "doctor/serial_devices.h"
#include "doctor/serial_doctor.h"

namespace kovra::doctor {

namespace {

QString ruleLine(const QString& vendorId, const QString& productId)
{
    // 70: before the seat rules (73) that turn "uaccess" into the user's ACL.
    return QStringLiteral("SUBSYSTEM==\"tty\", ATTRS{idVendor}==\"%1\", ATTRS{idProduct}==\"%2\", "
                          "SYMLINK+=\"%3\", TAG+=\"uaccess\", ENV{ID_MM_DEVICE_IGNORE}=\"1\"\n")
        .arg(vendorId, productId, QString::fromLatin1(StableDeviceName).mid(5));
}

QString describe(const UsbIdentity& usb)
{
    const KnownAdapter* known = FindKnownAdapter(usb.vendorId, usb.productId);
    QStringList words;
    if (known)
        words << QString::fromLatin1(known->chip);
    if (!usb.manufacturer.isEmpty())
        words << usb.manufacturer;
    if (!usb.product.isEmpty())
        words << usb.product;
    return words.join(u' ');
}

} // namespace

QString UdevRule(const QList<UsbIdentity>& adapters)
{
    QString text;
    text += QStringLiteral("# Kovra Laser engraver: a stable name (%1), access for the user logged in\n"
                           "# at the computer, and no modem probing.\n")
                .arg(QString::fromLatin1(StableDeviceName));
    text += QStringLiteral("# Install it:\n#   kovra doctor --udev-rule | sudo tee %1\n"
                           "#   sudo udevadm control --reload-rules\n"
                           "#   sudo udevadm trigger --subsystem-match=tty\n"
                           "# then give the machine its port: kovra doctor --link COM3 %2\n")
                .arg(QString::fromLatin1(UdevRuleFile), QString::fromLatin1(StableDeviceName));
    QStringList seen;
    QList<UsbIdentity> list = adapters;
    if (list.isEmpty()) {
        text += QStringLiteral("# No USB serial adapter is plugged in: these lines cover the usual chips.\n"
                               "# With the machine plugged in, `kovra doctor --udev-rule` names its own.\n");
        for (const char* id : {"1a86:7523", "10c4:ea60"}) {
            UsbIdentity usb;
            usb.vendorId = QString::fromLatin1(id).left(4);
            usb.productId = QString::fromLatin1(id).mid(5);
            list.append(usb);
        }
    } else if (adapters.size() > 1) {
        text += QStringLiteral("# Several adapters are plugged in: keep only the engraver's line.\n");
    }
    for (const UsbIdentity& usb : list) {
        if (seen.contains(usb.id()))
            continue;
        seen.append(usb.id());
        const QString about = describe(usb);
        if (!about.isEmpty())
            text += QStringLiteral("# %1 (%2)\n").arg(usb.id(), about);
        text += ruleLine(usb.vendorId, usb.productId);
    }
    return text;
}

QStringList UdevRuleInstallCommands(const QString& device)
{
    QString print = QStringLiteral("kovra doctor --udev-rule");
    if (!device.isEmpty())
        print += u' ' + ShellQuote(device);
    return {print + QStringLiteral(" | sudo tee ") + QString::fromLatin1(UdevRuleFile),
            QStringLiteral("sudo udevadm control --reload-rules"),
            QStringLiteral("sudo udevadm trigger --subsystem-match=tty")};
}

} // namespace kovra::doctor
