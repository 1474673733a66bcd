#pragma once
// The way to a missing machine: when a whole scan finds no engraver, one line
// in the log, in the user's language, says so and how to find out why (F1, or
// the preview board's menu). Once: not again at every later scan of the same
// absence, but again after a machine was found and lost.

#include <QObject>
#include <QString>

#include <functional>

namespace kovra::link {
class LinkEvents;
}

namespace kovra::shell {

class MissingMachineNotice final : public QObject {
    Q_OBJECT
public:
    using LogLine = std::function<void(const QString& line)>;

    // installerPresent: whether the USB-serial driver installer is there to
    // be run (F1 then offers it).
    MissingMachineNotice(link::LinkEvents& link, LogLine logLine, std::function<bool()> installerPresent);

    // The line, in the language of the moment.
    static QString Line(bool installerPresent);

private:
    LogLine m_logLine;
    std::function<bool()> m_installerPresent;
    bool m_told = false;
};

} // namespace kovra::shell
