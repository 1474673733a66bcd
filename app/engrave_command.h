#pragma once
// "kovra engrave PICTURE": the road of one engraving without a window, on the
// same link, job and picture code as the window. It finds the machine by the
// same scan, renders the picture, sends it when the machine asks, starts the
// job and ends with the machine's CarveFinished.

#include "app/tuning_options.h"

#include <QByteArray>
#include <QStringList>
#include <QTextStream>

namespace kovra::app {

struct EngraveOptions {
    QString picture;
    RenderOptions render;   // the rendering (dither unless asked) and its tuning
    int burnTime = 0;       // 1..100; 0 leaves the machine's own
    int connectTimeoutS = 30;
    int jobTimeoutS = 600;
};

// Parses the arguments after "engrave"; on failure returns false with a
// one-line message.
bool ParseEngraveOptions(const QStringList& args, EngraveOptions& options, QString& error);
QString EngraveUsage();
// The command as typed (the words after "engrave"): its help, a wrong
// command line (status 2) or the engraving.
int RunEngraveCommandLine(const QStringList& args);

// Runs the engraving in the running event loop; the exit status: 0 after
// CarveFinished, 2 when the picture cannot be used, 3 when no machine answers
// in time, 4 when the job does not finish in time, 5 when the connection
// breaks after the start. A break before the start is mended: the scan finds
// the machine again and the picture goes again. engraveBuffer, when given,
// receives the picture bytes that were prepared for the machine.
int RunEngraveCommand(const EngraveOptions& options, QTextStream& out, QTextStream& err,
    QByteArray* engraveBuffer = nullptr);
int RunEngraveCommand(const EngraveOptions& options);

// "kovra sample OUT.png": writes a sample picture of our own making.
bool WriteSamplePicture(const QString& path);

} // namespace kovra::app
