#pragma once
// What the picture flow's worker makes of a dropped file: the picture
// fitted into the square and both effect boards' pictures for the tuning of
// the moment, or the reason the file cannot be used. Made on the worker's
// thread and handed to the window's thread whole (its images are shared, not
// copied).

#include "picture/streamed_renderings.h"
#include "rendering/tuned_picture.h"

#include <QSize>
#include <QString>

#include <atomic>

namespace kovra::picture {

struct PreparedPicture {
    QString path;
    QSize size;                      // the picture's own size
    QString error;                   // why the file cannot be used; empty when it can
    rendering::TunedPicture tuned;   // the fitted picture with the tuning it was made for
    rendering::BoardPictures boards; // both effect boards for that tuning
    // The renderings made while the picture was decoded (empty when it took
    // the plain road), kept to be drawn into again by a later drop.
    StreamedRenderings made;
    bool ok() const { return error.isEmpty(); }
};

// Decodes path, fits it into the square and makes both boards' pictures for
// tuning with right on the right-hand board. spare: images of earlier
// renderings to draw into again. stop: set when the picture is no longer
// wanted; the work then ends at its next step with a failure.
PreparedPicture PreparePicture(const QString& path, const rendering::Tuning& tuning, rendering::Rendering right,
                               StreamedRenderings spare, const std::atomic<bool>& stop);

} // namespace kovra::picture
