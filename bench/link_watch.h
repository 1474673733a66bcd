#pragma once
// What the link benchmarks share: the link's events they watch, the picture
// they send and the line it goes over.

#include "link/link_events.h"

#include <QByteArray>

namespace kovra::bench {

constexpr double kLineBytesPerSecond = 5760.0; // 57600 baud, 10 bits a byte
constexpr int kPictureBytes = 32768;

// The picture both transfer benchmarks send: every byte value, 0xFF included.
inline QByteArray BenchPicture()
{
    QByteArray picture(kPictureBytes, '\0');
    for (int i = 0; i < picture.size(); ++i)
        picture[i] = char((i * 29 + i / 64) & 0xFF);
    return picture;
}

// What the benchmarks watch of the link's events.
struct Watch {
    bool firmware = false;
    bool sent = false;
    int progressCalls = 0;
    explicit Watch(link::LinkEvents& events)
    {
        QObject::connect(&events, &link::LinkEvents::firmwareReported, [this] { firmware = true; });
        QObject::connect(&events, &link::LinkEvents::pictureProgress, [this] { ++progressCalls; });
        QObject::connect(&events, &link::LinkEvents::pictureSent, [this](bool ok) { sent = ok; });
    }
};

} // namespace kovra::bench
