#include "doctor/user_account.h"

#include <QCoreApplication>
#include <QFile>

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace kovra::doctor {

UserAccount UserAccount::current()
{
    UserAccount account;
    account.uid = ::getuid();
    account.pid = ::getpid();
    account.askSystem = true;
    const struct passwd* pw = ::getpwuid(account.uid);
    account.name = pw ? QString::fromLocal8Bit(pw->pw_name) : QString::number(account.uid);

    account.sessionGroups.append(::getegid());
    const int count = ::getgroups(0, nullptr);
    if (count > 0) {
        std::vector<gid_t> groups(size_t(count), 0);
        const int got = ::getgroups(count, groups.data());
        for (int i = 0; i < got; ++i)
            if (!account.sessionGroups.contains(groups[size_t(i)]))
                account.sessionGroups.append(groups[size_t(i)]);
    }
    if (pw) {
        // getgrouplist asks the user database, so it already knows a group
        // the user was added to after logging in.
        int n = 64;
        std::vector<gid_t> groups(size_t(n), 0);
        if (::getgrouplist(pw->pw_name, pw->pw_gid, groups.data(), &n) < 0 && n > 64) {
            groups.resize(size_t(n));
            ::getgrouplist(pw->pw_name, pw->pw_gid, groups.data(), &n);
        }
        for (int i = 0; i < n && i < int(groups.size()); ++i)
            account.accountGroups.append(groups[size_t(i)]);
    } else {
        account.accountGroups = account.sessionGroups;
    }
    account.groupName = [](uint gid) {
        const struct group* g = ::getgrgid(gid);
        return g ? QString::fromLocal8Bit(g->gr_name) : QString();
    };
    return account;
}

QString UserAccount::nameOfGroup(uint gid) const
{
    const QString known = groupName ? groupName(gid) : QString();
    return known.isEmpty() ? QString::number(gid) : known;
}

bool ModeAllowsReadWrite(uint uid, const QList<uint>& groups, const struct stat& st)
{
    if (uid == 0)
        return true;
    if (st.st_uid == uid)
        return (st.st_mode & (S_IRUSR | S_IWUSR)) == (S_IRUSR | S_IWUSR);
    if (groups.contains(uint(st.st_gid)))
        return (st.st_mode & (S_IRGRP | S_IWGRP)) == (S_IRGRP | S_IWGRP);
    return (st.st_mode & (S_IROTH | S_IWOTH)) == (S_IROTH | S_IWOTH);
}

bool UserAccount::mayReadWrite(const QString& path, const struct stat& st) const
{
    if (askSystem)
        return ::access(QFile::encodeName(path).constData(), R_OK | W_OK) == 0;
    return ModeAllowsReadWrite(uid, sessionGroups, st);
}

} // namespace kovra::doctor
