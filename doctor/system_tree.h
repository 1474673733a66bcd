#pragma once
// The part of the file system the doctor reads: /dev, /sys, /proc, /run,
// /etc and the udev rule folders, all under one root. The running system has
// the empty root; tests and `kovra doctor --root` give a fake tree. Absolute
// link targets read inside the tree ("/dev/ttyUSB0") are taken inside it too.

#include <QDir>
#include <QString>
#include <QStringList>

namespace kovra::doctor {

class SystemTree {
public:
    explicit SystemTree(QString root = {});

    const QString& root() const { return m_root; }
    bool isRunningSystem() const { return m_root.isEmpty(); }

    // "/dev/ttyUSB0" -> "<root>/dev/ttyUSB0".
    QString at(const QString& systemPath) const;
    // The other way; a path outside the root is returned unchanged.
    QString systemPath(const QString& treePath) const;
    // An absolute target read from a link inside the tree, placed in the tree
    // (a target that already lies in it is kept).
    QString rebase(const QString& absoluteTarget) const;

    // The raw target of a symbolic link; empty when path is no link.
    static QString readLink(const QString& path);
    // Follows the links of the last component to the path they end at (which
    // may not exist: a dangling link). Gives up after 40 links.
    QString follow(const QString& path) const;
    // The first line of a small file, trimmed; empty when it cannot be read.
    static QString readLine(const QString& path);
    // Names in a folder (no "." and ".."), sorted; empty when unreadable.
    static QStringList list(const QString& dir, QDir::Filters filters = QDir::AllEntries | QDir::System);

    static bool lexists(const QString& path);

private:
    QString m_root;
};

} // namespace kovra::doctor
