#pragma once
// The two things the program asks of the desktop: run a separate program and
// wait for it, and open a web address in the user's browser. Behind an
// interface so tests can record what would have been started.

#include <QString>
#include <QUrl>

namespace kovra::platform {

class Desktop {
public:
    virtual ~Desktop() = default;
    // Starts program (the path is the whole command line, no arguments) in a
    // normally shown window and waits, without a time limit, until it ends.
    // false when it could not be started; its exit code is not looked at.
    virtual bool StartAndWait(const QString& program) = 0;
    // Hands the address to the system, as if the user had opened it.
    virtual bool OpenUrl(const QUrl& address) = 0;
};

// QProcess and QDesktopServices.
class SystemDesktop : public Desktop {
public:
    bool StartAndWait(const QString& program) override;
    bool OpenUrl(const QUrl& address) override;
};

} // namespace kovra::platform
