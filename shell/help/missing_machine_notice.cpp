#include "shell/help/missing_machine_notice.h"

#include "link/link_events.h"

namespace kovra::shell {

MissingMachineNotice::MissingMachineNotice(link::LinkEvents& link, LogLine logLine,
                                           std::function<bool()> installerPresent)
    : m_logLine(std::move(logLine))
    , m_installerPresent(std::move(installerPresent))
{
    connect(&link, &link::LinkEvents::scanFoundNothing, this, [this] {
        if (m_told)
            return;
        m_told = true;
        m_logLine(Line(m_installerPresent && m_installerPresent()));
    });
    connect(&link, &link::LinkEvents::connected, this, [this] { m_told = false; });
}

QString MissingMachineNotice::Line(bool installerPresent)
{
    return installerPresent
        ? tr("No engraver answered. Is the USB-serial driver installed? Press F1 to install it, or "
             "right-click the preview.")
        : tr("No engraver answered. Press F1 (or right-click the preview) to see why.");
}

} // namespace kovra::shell
