#include "picture/prepared_picture.h"

#include "rendering/fitting.h"

namespace kovra::picture {

namespace {

PreparedPicture refusal(const QString& path, const QString& reason)
{
    PreparedPicture out;
    out.path = path;
    out.error = reason.isEmpty() ? QStringLiteral("not a picture this program can read") : reason;
    return out;
}

} // namespace

PreparedPicture PreparePicture(const QString& path, const rendering::Tuning& tuning, rendering::Rendering right,
                               StreamedRenderings spare, const std::atomic<bool>& stop)
{
    StreamedRenderings made = std::move(spare);
    codec::LoadedPicture picture = LoadPictureRendered(path, made, &stop);
    if (!picture.ok())
        return refusal(path, picture.error);
    if (stop.load())
        return refusal(path, codec::StoppedReason());

    PreparedPicture out;
    out.path = path;
    out.size = QSize(picture.width, picture.height);
    const QImage fitted =
        made.ready() ? made.fitted : rendering::FitPicture(picture.image, picture.width, picture.height);
    // The decoded picture, maybe many megabytes, is not needed any more.
    picture = codec::LoadedPicture();
    out.tuned.setTuning(tuning);
    out.tuned.setRightRendering(right);
    out.tuned.setPicture(fitted, rendering::FitPlacement(out.size.width(), out.size.height()));
    if (stop.load())
        return refusal(path, codec::StoppedReason());
    out.boards = out.tuned.boardPictures(made.blackWhite, made.ditherDots);
    out.made = std::move(made);
    return out;
}

} // namespace kovra::picture
