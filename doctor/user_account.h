#pragma once
// Who runs the doctor, and whether that user may open a device. The running
// user asks the system itself (access(2) honours the ACLs a udev "uaccess"
// rule sets); a made-up user in tests is judged by the mode bits alone, so a
// test run as root still sees "permission denied".

#include <QList>
#include <QString>

#include <functional>

struct stat;

namespace kovra::doctor {

struct UserAccount {
    QString name;
    uint uid = 0;
    qint64 pid = 0;                 // this process: what it holds open is not "another program"
    QList<uint> sessionGroups;      // the groups this login has now
    QList<uint> accountGroups;      // the groups a new login gets from the user database
    std::function<QString(uint gid)> groupName;
    bool askSystem = false;         // access(2) rather than the mode bits

    static UserAccount current();

    bool isRoot() const { return uid == 0; }
    QString nameOfGroup(uint gid) const;
    bool inSession(uint gid) const { return sessionGroups.contains(gid); }
    bool inAccount(uint gid) const { return accountGroups.contains(gid); }
    // Read and write permission on the file at path, whose status is st.
    bool mayReadWrite(const QString& path, const struct stat& st) const;
};

// The mode bits' answer for a user with these ids.
bool ModeAllowsReadWrite(uint uid, const QList<uint>& groups, const struct stat& st);

} // namespace kovra::doctor
