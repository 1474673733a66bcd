#include "app/render_command.h"

#include "app/command_line.h"
#include "app/engrave_command.h"
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

// The command line of render (withEffect) or testcard.
void describe(CommandLine& line, bool withEffect)
{
    AddRenderOptions(line, withEffect);
    if (withEffect)
        line.addFlag(QStringLiteral("list"), QStringLiteral("Print the renderings' names, one a line."));
}

// Parses [PICTURE] OUT.png and the rendering options; the files in order.
bool parse(CommandLine& line, const QStringList& args, bool withEffect, QStringList& paths, RenderOptions& options)
{
    const int files = withEffect ? 2 : 1;
    const QString give = files == 2 ? QStringLiteral("give a picture and the PNG file to write")
                                    : QStringLiteral("give the PNG file to write");
    if (!line.parse(args) || !line.checkWords(files, files, give, give + QStringLiteral(", nothing more"))
        || !ReadRenderOptions(line, options, withEffect))
        return false;
    paths = line.words();
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
    CommandLine line;
    describe(line, true);
    return QStringLiteral("usage: kovra render PICTURE OUT.png [options]\n"
                          "       kovra render --list\n"
                          "Writes the 512 x 512 board that \"Send Image To Machine\" would send, as a one-bit PNG\n"
                          "(black = burned), with no machine and no display. Exit status: 0 written, 1 the file\n"
                          "cannot be written, 2 a wrong option or a picture that cannot be used.\n"
                          "\n%1\n"
                          "Renderings (--effect), with the effect window's names:\n%2")
        .arg(line.optionsHelp(), RenderingTable());
}

QString TestCardUsage()
{
    CommandLine line;
    describe(line, false);
    return QStringLiteral("usage: kovra testcard OUT.png [options]\n"
                          "Writes a 512 x 512 one-bit test card: a grey ramp rendered by every rendering, one\n"
                          "labelled strip each, tuned by the options. Burn it once to see which rendering suits\n"
                          "a material. Exit status: 0 written, 1 the file cannot be written, 2 a wrong option.\n"
                          "\n%1")
        .arg(line.optionsHelp());
}

int RunRenderCommand(const QStringList& args, QTextStream& out, QTextStream& err)
{
    CommandLine line;
    describe(line, true);
    QStringList paths;
    RenderOptions options;
    const bool parsed = parse(line, args, true, paths, options);
    if (line.helpWanted()) {
        out << RenderUsage();
        return 0;
    }
    if (line.isSet(QStringLiteral("list"))) {
        // The list alone: anything beside it is a mistake to point out.
        QStringList others = args;
        others.removeIf([](const QString& word) { return word == QLatin1String("--list") || word == QLatin1String("-list"); });
        if (!others.isEmpty())
            return fail(err, "render", QStringLiteral("--list takes nothing more, not \"%1\"").arg(others.join(u' ')), 2);
        out << RenderingList();
        return 0;
    }
    QString error = line.error();
    if (!parsed)
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
    CommandLine line;
    describe(line, false);
    QStringList paths;
    RenderOptions options;
    const bool parsed = parse(line, args, false, paths, options);
    if (line.helpWanted()) {
        out << TestCardUsage();
        return 0;
    }
    QString error = line.error();
    if (!parsed)
        return fail(err, "testcard", error, 2);
    if (!job::WriteRasterPng(job::EncodeEngravePicture(rendering::MakeTestCard(options.tuning)), paths[0], error))
        return fail(err, "testcard", error, 1);
    return 0;
}

QString SampleUsage()
{
    CommandLine line;
    return QStringLiteral("usage: kovra sample OUT.png\n"
                          "Writes the sample picture the run command opens (800 x 600, PNG). Exit status: 0 written,\n"
                          "1 the file cannot be written or none was given, 2 a wrong option.\n"
                          "\n%1")
        .arg(line.optionsHelp());
}

int RunSampleCommand(const QStringList& args, QTextStream& out, QTextStream& err)
{
    CommandLine line;
    const bool parsed = line.parse(args);
    if (line.helpWanted()) {
        out << SampleUsage();
        return 0;
    }
    if (!parsed)
        return fail(err, "sample", line.error(), 2);
    const QString give = QStringLiteral("give the PNG file to write");
    if (!line.checkWords(1, 1, give, give + QStringLiteral(", nothing more")))
        return fail(err, "sample", line.error(), 1);
    if (!WriteSamplePicture(line.words().constFirst()))
        return fail(err, "sample", QStringLiteral("cannot write %1").arg(line.words().constFirst()), 1);
    return 0;
}

} // namespace kovra::app
