#include "app/render_command.h"

#include "app/tuning_options.h"
#include "assets/artwork.h"
#include "image/drawing_board.h"
#include "job/engrave_encoder.h"
#include "job/raster_png.h"
#include "picture/picture_events.h"
#include "picture/picture_flow.h"
#include "platform/timer.h"
#include "rendering/test_card.h"
#include "shell/picture_presenter.h"

#include <QEventLoop>
#include <QImage>


namespace kovra::app {

namespace {

// Parses [PICTURE] OUT.png and the rendering options; the files in order.
bool parse(const QStringList& args, bool withEffect, int files, QStringList& paths, RenderOptions& options,
           QString& error)
{
    for (int i = 0; i < args.size(); ++i) {
        switch (TakeRenderOption(args, i, options, error, withEffect)) {
        case OptionTaken::Taken: continue;
        case OptionTaken::Error: return false;
        case OptionTaken::NotOurs: break;
        }
        if (args[i].startsWith(QLatin1String("--"))) {
            error = QStringLiteral("unknown option %1; the options are %2").arg(args[i], RenderOptionsUsage(withEffect));
            return false;
        }
        paths << args[i];
    }
    if (paths.size() != files) {
        error = files == 2 ? QStringLiteral("give a picture and the PNG file to write") : QStringLiteral("give the PNG file to write");
        return false;
    }
    return true;
}

// The board the window would send after a drop of path and a click on the
// rendering options name; false with the reason when the file cannot be used.
bool renderBoard(const QString& path, const RenderOptions& options, QImage& board, QString& error)
{
    assets::InitArtwork();
    image::DrawingBoard previewBoard(job::EngraveSide, job::EngraveSide);
    previewBoard.SetBackgroundPicture(assets::PlainWhiteBackground());
    platform::QtTimer effectTaskTimer;
    picture::PictureEvents events;
    picture::PictureFlow pictures(previewBoard, assets::PlainWhiteBackground(), effectTaskTimer, events);
    ApplyRenderOptions(pictures, options);
    // The picture is read on the flow's worker: wait here for the answer.
    QEventLoop wait;
    QObject::connect(&events, &picture::PictureEvents::refused, [&](const QString& file, const QString& reason) {
        error = shell::PicturePresenter::RefusedLine(file, reason);
        wait.exit(1);
    });
    QObject::connect(&events, &picture::PictureEvents::renderingsReady, [&] { wait.exit(0); });
    pictures.FileDropped({path});
    if (wait.exec() != 0)
        return false;
    pictures.Choose(options.effect);
    board = previewBoard.picture();
    return true;
}

int fail(QTextStream& err, const char* command, const QString& why, int status)
{
    err << "kovra " << command << ": " << why << '\n';
    err.flush();
    return status;
}

} // namespace

QString RenderUsage()
{
    return QStringLiteral("usage: kovra render PICTURE OUT.png %1\n"
                          "       kovra render --list\n"
                          "Writes the 512 x 512 board that \"Send Image To Machine\" would send, as a one-bit PNG\n"
                          "(black = burned). The effect is one of the renderings --list names (default: dither).\n")
        .arg(RenderOptionsUsage());
}

QString TestCardUsage()
{
    return QStringLiteral("usage: kovra testcard OUT.png %1\n"
                          "Writes a 512 x 512 one-bit test card: a grey ramp rendered by every rendering, one\n"
                          "labelled strip each. Burn it once to see which rendering suits a material.\n")
        .arg(RenderOptionsUsage(false));
}

int RunRenderCommand(const QStringList& args, QTextStream& out, QTextStream& err)
{
    if (args.contains(QStringLiteral("--help"))) {
        out << RenderUsage();
        return 0;
    }
    if (args == QStringList{QStringLiteral("--list")}) {
        out << RenderingList();
        return 0;
    }
    QStringList paths;
    RenderOptions options;
    QString error;
    if (!parse(args, true, 2, paths, options, error))
        return fail(err, "render", error, 2);

    QImage board;
    if (!renderBoard(paths[0], options, board, error))
        return fail(err, "render", error, 2);
    if (!job::WriteRasterPng(job::EncodeEngravePicture(board), paths[1], error))
        return fail(err, "render", error, 1);
    return 0;
}

int RunTestCardCommand(const QStringList& args, QTextStream& out, QTextStream& err)
{
    if (args.contains(QStringLiteral("--help"))) {
        out << TestCardUsage();
        return 0;
    }
    QStringList paths;
    RenderOptions options;
    QString error;
    if (!parse(args, false, 1, paths, options, error))
        return fail(err, "testcard", error, 2);
    if (!job::WriteRasterPng(job::EncodeEngravePicture(rendering::MakeTestCard(options.tuning)), paths[0], error))
        return fail(err, "testcard", error, 1);
    return 0;
}

} // namespace kovra::app
