#include "doctor/troublemakers.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace kovra::doctor {

namespace {

// Earlier folders override later ones, file name by file name.
const char* const RuleFolders[] = {"/etc/udev/rules.d", "/run/udev/rules.d", "/usr/local/lib/udev/rules.d",
                                   "/usr/lib/udev/rules.d", "/lib/udev/rules.d"};
const char* const UnitFolders[] = {"/etc/systemd/system", "/run/systemd/system", "/usr/lib/systemd/system",
                                   "/lib/systemd/system"};

// A file that stands for nothing: a link to /dev/null or empty (how rules and units are masked).
bool isMasked(const SystemTree& tree, const QString& path)
{
    if (SystemTree::readLink(path) == QLatin1String("/dev/null") || tree.follow(path) == tree.at(QStringLiteral("/dev/null")))
        return true;
    return QFileInfo(path).size() == 0;
}

QString withoutLeadingZeros(const QString& hex)
{
    QString s = hex.toLower();
    while (s.size() > 1 && s.startsWith(u'0'))
        s.remove(0, 1);
    return s;
}

// The unit as it stands after overrides: absent, masked, or there.
enum class UnitState { Absent, Masked, Present };
UnitState unitState(const SystemTree& tree, const QString& unit)
{
    for (const char* folder : UnitFolders) {
        const QString path = tree.at(QString::fromLatin1(folder) + u'/' + unit);
        if (SystemTree::lexists(path))
            return isMasked(tree, path) ? UnitState::Masked : UnitState::Present;
    }
    return UnitState::Absent;
}

} // namespace

bool RuleLineNamesAdapter(const QString& line, const QString& vendorId, const QString& productId)
{
    const QString text = line.trimmed().toLower();
    if (text.isEmpty() || text.startsWith(u'#'))
        return false;
    const QString product = withoutLeadingZeros(vendorId) + u'/' + withoutLeadingZeros(productId) + u'/';
    if (text.contains(QStringLiteral("product}==\"") + product))
        return true;
    const QRegularExpression vendor(QStringLiteral("idvendor\\}==\"0*%1\"").arg(withoutLeadingZeros(vendorId)));
    const QRegularExpression productAttr(QStringLiteral("idproduct\\}==\"0*%1\"").arg(withoutLeadingZeros(productId)));
    return vendor.match(text).hasMatch() && productAttr.match(text).hasMatch();
}

BrailleService FindBrailleService(const SystemTree& tree, const ProcessTable& processes, const QStringList& ids)
{
    BrailleService service;
    service.running = processes.isRunning(QStringLiteral("brltty"));

    QStringList seen;
    for (const char* folder : RuleFolders) {
        const QString dir = tree.at(QString::fromLatin1(folder));
        for (const QString& name : SystemTree::list(dir, QDir::Files | QDir::System)) {
            if (!name.contains(QLatin1String("brltty")) || !name.endsWith(QLatin1String(".rules")) || seen.contains(name))
                continue;
            seen.append(name);
            const QString path = dir + u'/' + name;
            if (isMasked(tree, path))
                continue;
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
                continue;
            const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
            QStringList claimed;
            for (const QString& id : ids) {
                const QStringList parts = id.split(u':');
                if (parts.size() != 2)
                    continue;
                for (const QString& line : lines) {
                    if (RuleLineNamesAdapter(line, parts[0], parts[1])) {
                        claimed.append(id);
                        break;
                    }
                }
            }
            if (!claimed.isEmpty() && service.rulesFile.isEmpty()) {
                service.rulesFile = tree.systemPath(path);
                service.claimedIds = claimed;
            }
        }
    }

    for (const QString& unit : {QStringLiteral("brltty.service"), QStringLiteral("brltty-udev.service")})
        if (unitState(tree, unit) == UnitState::Present)
            service.units.append(unit);
    // A rule that starts a masked unit starts nothing.
    if (!service.rulesFile.isEmpty() && unitState(tree, QStringLiteral("brltty-udev.service")) == UnitState::Masked)
        service.rulesFile.clear();
    return service;
}

bool ModemManagerRunning(const ProcessTable& processes)
{
    return processes.isRunning(QStringLiteral("ModemManager"));
}

} // namespace kovra::doctor
