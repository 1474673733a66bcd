#pragma once
// Decoding a dropped picture and making its two renderings at once: while
// the decoder (on the caller's thread) fills the picture top to bottom, a
// second thread shrinks the rows that are done into the fitted square and
// runs the black and white and the error diffusion behind them, so both
// renderings are ready moments after the last row is decoded. The results
// are exactly those of fitting the decoded picture on a board and rendering
// the capture. Only decoders that report their rows (JPEG, non-interlaced
// PNG), upright pictures and pictures that shrink in both directions take
// this road; for the others the renderings stay empty and are made from the
// decoded picture as before.

#include "codec/decoded_picture.h"

#include <QImage>
#include <QString>

#include <atomic>

namespace kovra::picture {

struct StreamedRenderings {
    QImage fitted;     // FitSize × FitSize RGB32, white margins
    QImage blackWhite; // RenderBlackWhite(fitted)
    QImage ditherDots; // RenderDitherDots(fitted)
    bool ready() const { return !fitted.isNull(); }
};

// LoadPicture(path, FitDecodeSize), with renderings filled alongside when
// the picture allows it (else left empty). Images already in renderings
// (earlier results no longer needed) are drawn into again where they fit
// and are not shared: fresh picture-sized buffers cost page faults that
// take as long as the renderings themselves. stop, when given and set from
// elsewhere, ends the decode early with a failure. The other thread has
// ended when this returns.
codec::LoadedPicture LoadPictureRendered(const QString& path, StreamedRenderings& renderings,
                                         const std::atomic<bool>* stop = nullptr);

} // namespace kovra::picture
