#include "link/link_log.h"

#include "link/link_events.h"

#include <QTime>

namespace kovra::link {

Q_LOGGING_CATEGORY(lcLink, "kovra.link", QtWarningMsg)

void LogWire(char direction, const QByteArray& bytes)
{
    if (!lcLink().isDebugEnabled() || bytes.isEmpty())
        return;
    const QByteArray stamp = QTime::currentTime().toString(QStringLiteral("hh:mm:ss.zzz")).toLatin1();
    // The picture would fill a screen: its size and first bytes say enough.
    constexpr int kLongWrite = 64;
    if (direction == '>' && bytes.size() > kLongWrite) {
        qCDebug(lcLink).noquote() << stamp << direction << bytes.size() << "bytes:" << bytes.left(16).toHex(' ')
                                  << "...";
        return;
    }
    constexpr int kPerLine = 32;
    for (qsizetype at = 0; at < bytes.size(); at += kPerLine)
        qCDebug(lcLink).noquote() << stamp << direction << bytes.mid(at, kPerLine).toHex(' ');
}

const char* ConnectionStateName(ConnectionState state)
{
    switch (state) {
    case ConnectionState::Closed: return "closed";
    case ConnectionState::Scanning: return "scanning";
    case ConnectionState::Verifying: return "verifying";
    case ConnectionState::Connected: return "connected";
    case ConnectionState::Broken: return "broken";
    }
    return "?";
}

} // namespace kovra::link
