#include "app/render_command.h"

#include "app/tuning_options.h"
#include "assets/artwork.h"
#include "image/drawing_board.h"
#include "image/image_view.h"
#include "picture/picture_flow.h"
#include "rendering/test_card.h"
#include "job/engrave_encoder.h"
#include "platform/timer.h"

#include <QImage>
#include <QImageWriter>

#include <cstring>

namespace kovra::app {

namespace {

// The picture flow's view without a window: keeps the log lines (the reason
// a picture cannot be used) and ignores the rest.
class QuietView final : public image::ImageView {
public:
    void OpenEffectWindow() override {}
    void CloseEffectWindow() override {}
    void PauseCarving() override {}
    void ResetRunClock() override {}
    void EnableMachineControls() override {}
    void DisableMachineControls() override {}
    void EnablePictureButtons() override {}
    void SetPositionBoxes(const QString&) override {}
    void AppendLogLine(const QString& text) override { log << text; }

    QStringList log;
};

// The effect window's timer, ticked here at once: there is no window to
// wait for.
class TickNow final : public platform::Timer {
public:
    void setPeriod(int ms) override { m_period = ms; }
    int period() const override { return m_period; }
    void tick()
    {
        if (m_period != 0)
            fireTick();
    }

private:
    int m_period = 0;
};

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

    assets::InitArtwork();
    image::DrawingBoard previewBoard(job::EngraveSide, job::EngraveSide);
    previewBoard.SetBackgroundPicture(assets::PlainWhiteBackground());
    TickNow effectTaskTimer;
    QuietView view;
    picture::PictureSession pictures(previewBoard, assets::PlainWhiteBackground(), effectTaskTimer, view);
    ApplyRenderOptions(pictures, options);
    pictures.FileDropped({paths[0]});
    if (!pictures.effectWindowOpen())
        return fail(err, "render", view.log.value(0, QStringLiteral("cannot use %1").arg(paths[0])), 2);
    effectTaskTimer.tick();
    pictures.Choose(options.effect);
    if (!WriteRasterPng(job::EncodeEngravePicture(previewBoard.picture()), paths[1], error))
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
    if (!WriteRasterPng(job::EncodeEngravePicture(rendering::MakeTestCard(options.tuning)), paths[0], error))
        return fail(err, "testcard", error, 1);
    return 0;
}

bool WriteRasterPng(const QByteArray& raster, const QString& path, QString& error)
{
    if (raster.size() != job::EngraveBufferSize) {
        error = QStringLiteral("no picture to write");
        return false;
    }
    // One bit a dot as the machine has it: bit 1 is colour 1, black.
    QImage img(job::EngraveSide, job::EngraveSide, QImage::Format_Mono);
    img.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    for (int y = 0; y < job::EngraveSide; ++y)
        std::memcpy(img.scanLine(y), raster.constData() + y * job::EngraveRowBytes, job::EngraveRowBytes);
    QImageWriter writer(path, "png");
    if (!writer.write(img)) {
        error = QStringLiteral("cannot write %1: %2").arg(path, writer.errorString());
        return false;
    }
    return true;
}

QByteArray ReadRasterPng(const QString& path)
{
    const QImage img(path);
    if (img.width() != job::EngraveSide || img.height() != job::EngraveSide)
        return QByteArray();
    return job::EncodeEngravePicture(img);
}

} // namespace kovra::app
