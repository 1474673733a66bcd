#pragma once
// The link's logging category. With QT_LOGGING_RULES="kovra.link.debug=true"
// every frame sent and every reply byte received is printed as hex bytes
// with a time stamp, for diagnosing a real machine.

#include <QByteArray>
#include <QLoggingCategory>

namespace kovra::link {

Q_DECLARE_LOGGING_CATEGORY(lcLink)

// "12:04:31.207 > ff 09 00 00"; long writes (the picture) show their size
// and first bytes only.
void LogWire(char direction, const QByteArray& bytes);

} // namespace kovra::link
