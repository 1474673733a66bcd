#pragma once
// What the picture tests share: a record of the flow's events, by name and
// in order, and a wait for the worker's answer to a drop.

#include "picture/picture_events.h"

#include <QEventLoop>
#include <QStringList>
#include <QTimer>

namespace kovra::test {

// Every event of a PictureEvents, as "loaded", "refused", "renderingsReady",
// "chosen bw", "edited Cleared", "textPlaced 10,20".
class PictureEventLog {
public:
    explicit PictureEventLog(picture::PictureEvents& events)
    {
        using E = picture::PictureEvents;
        QObject::connect(&events, &E::loaded, &m_context, [this](const QString& path, QSize size) {
            names << QStringLiteral("loaded");
            loadedPath = path;
            loadedSize = size;
        });
        QObject::connect(&events, &E::refused, &m_context, [this](const QString& path, const QString& reason) {
            names << QStringLiteral("refused");
            refusedPath = path;
            reasons << reason;
        });
        QObject::connect(&events, &E::renderingsReady, &m_context, [this] { names << QStringLiteral("renderingsReady"); });
        QObject::connect(&events, &E::chosen, &m_context, [this](rendering::Rendering r) {
            names << QStringLiteral("chosen ") + rendering::RenderingName(r);
        });
        QObject::connect(&events, &E::edited, &m_context, [this](picture::Edit edit) {
            static const char* const kEdits[] = {"Rotated", "ZoomedOut", "Cleared", "Reloaded"};
            names << QStringLiteral("edited ") + QLatin1String(kEdits[int(edit)]);
        });
        QObject::connect(&events, &E::textPlaced, &m_context, [this](QPoint at, const QString& text) {
            names << QStringLiteral("textPlaced %1,%2").arg(at.x()).arg(at.y());
            placedText = text;
        });
        QObject::connect(&events, &E::restored, &m_context, [this] { names << QStringLiteral("restored"); });
    }
    void clear() { names.clear(); }

    QStringList names;
    QString loadedPath;
    QSize loadedSize;
    QString refusedPath;
    QStringList reasons;
    QString placedText;

private:
    QObject m_context;
};

// Runs the event loop until the flow has answered the last drop (loaded or
// refused); false when no answer came within a minute, a worker that hangs.
inline bool WaitForAnswer(picture::PictureEvents& events)
{
    QEventLoop loop;
    bool answered = false;
    const auto answer = [&] {
        answered = true;
        loop.quit();
    };
    QObject::connect(&events, &picture::PictureEvents::loaded, &loop, answer);
    QObject::connect(&events, &picture::PictureEvents::refused, &loop, answer);
    QTimer::singleShot(60000, &loop, [&loop] { loop.quit(); });
    loop.exec();
    return answered;
}

} // namespace kovra::test
