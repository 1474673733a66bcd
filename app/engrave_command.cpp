#include "app/engrave_command.h"

#include "app/console_views.h"
#include "assets/artwork.h"
#include "image/drawing_board.h"
#include "picture/picture_flow.h"
#include "job/engrave_encoder.h"
#include "job/job_controls.h"
#include "job/job_events.h"
#include "job/job_progress.h"
#include "job/keep_awake.h"
#include "link/machine_link.h"
#include "link/qt_serial_channel.h"
#include "platform/paths.h"
#include "platform/sleep_inhibitor.h"
#include "platform/timer.h"
#include "shell/config_file.h"
#include "shell/estimate_store.h"
#include "shell/job_progress_view.h"
#include "shell/machine_presenter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QTimer>

#include <cstdio>

namespace kovra::app {

namespace {

enum class Stage { Rendering, Connecting, Sending, Engraving, Done, Failed };

} // namespace

QString EngraveUsage()
{
    return QStringLiteral(
        "usage: kovra engrave PICTURE [--burn-time 1..100] [--connect-timeout SECONDS] [--job-timeout SECONDS]\n"
        "                     %1\n"
        "Finds the machine by the port scan, sends the rendered picture and engraves it.\n"
        "The effect is one of the renderings \"kovra render --list\" names (default: dither).\n"
        "Ports come from $KOVRA_PORT_DIR (entries named COMn) before the default device table.\n")
        .arg(RenderOptionsUsage());
}

bool ParseEngraveOptions(const QStringList& args, EngraveOptions& options, QString& error)
{
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        auto value = [&](int& into, int lo, int hi) {
            if (i + 1 >= args.size()) {
                error = QStringLiteral("%1 needs a value").arg(a);
                return false;
            }
            bool ok = false;
            const int v = args[++i].toInt(&ok);
            if (!ok || v < lo || v > hi) {
                error = QStringLiteral("%1 takes a number from %2 to %3").arg(a).arg(lo).arg(hi);
                return false;
            }
            into = v;
            return true;
        };
        switch (TakeRenderOption(args, i, options.render, error)) {
        case OptionTaken::Taken: continue;
        case OptionTaken::Error: return false;
        case OptionTaken::NotOurs: break;
        }
        if (a == QLatin1String("--burn-time")) {
            if (!value(options.burnTime, 1, 100))
                return false;
        } else if (a == QLatin1String("--connect-timeout")) {
            if (!value(options.connectTimeoutS, 1, 3600))
                return false;
        } else if (a == QLatin1String("--job-timeout")) {
            if (!value(options.jobTimeoutS, 1, 86400))
                return false;
        } else if (a.startsWith(QLatin1String("--"))) {
            error = QStringLiteral("unknown option %1").arg(a);
            return false;
        } else if (options.picture.isEmpty()) {
            options.picture = a;
        } else {
            error = QStringLiteral("only one picture can be engraved at a time");
            return false;
        }
    }
    if (options.picture.isEmpty()) {
        error = QStringLiteral("no picture given");
        return false;
    }
    return true;
}

int RunEngraveCommand(const EngraveOptions& options)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    return RunEngraveCommand(options, out, err);
}

int RunEngraveCommand(const EngraveOptions& options, QTextStream& out, QTextStream& err, QByteArray* engraveBuffer)
{
    assets::InitArtwork();
    ConsoleViews views(out);

    image::DrawingBoard previewBoard(512, 512);
    previewBoard.SetBackgroundPicture(assets::PlainWhiteBackground());
    platform::QtTimer retryTimer, verifyTimer, portCheckTimer, runTimeTimer, effectTaskTimer, transferTimer;

    link::QtSerialChannel channel;
    link::MachineLink machine(channel, previewBoard, link::LinkTimers{retryTimer, verifyTimer, portCheckTimer, transferTimer});
    machine.replies().SetSupportedFirmwareVersion(1);
    job::JobEvents jobEvents;
    shell::MachinePresenter presenter(machine.events(), jobEvents, views);
    job::JobControls jobControls(machine.frames(), jobEvents, machine.events(), runTimeTimer);
    job::EngraveEncoder encoder(machine.frames(), jobEvents, previewBoard, machine.replies());
    picture::PictureSession pictures(previewBoard, assets::PlainWhiteBackground(), effectTaskTimer, views);
    shell::ConfigFile config(platform::ConfigFilePath());
    shell::EstimateStore estimates(config);
    job::JobProgress progress(machine.events(), jobEvents, &estimates);
    const std::unique_ptr<platform::SleepInhibitor> inhibitor = platform::CreateSleepInhibitor();
    job::KeepAwake keepAwake(jobEvents, machine.events(), *inhibitor);
    ApplyRenderOptions(pictures, options.render);

    Stage stage = Stage::Rendering;
    int exitCode = 0;
    QString failure;
    auto fail = [&](int code, const QString& why) {
        stage = Stage::Failed;
        exitCode = code;
        failure = why;
        QCoreApplication::exit(code);
    };

    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, [&] {
        if (stage == Stage::Connecting || stage == Stage::Rendering || stage == Stage::Sending)
            fail(3, QStringLiteral("no machine answered the handshake within %1 s (looked at COM1..COM64; set "
                                   "KOVRA_PORT_DIR to a folder of COMn links)")
                        .arg(options.connectTimeoutS));
        else
            fail(4, QStringLiteral("the engraving did not finish within %1 s").arg(options.jobTimeoutS));
    });

    auto printDots = [&] {
        const job::JobProgressState state = progress.State();
        QString line = QStringLiteral("To engrave: %1 dots").arg(state.dots);
        if (state.secondsLeft >= 0)
            line += QStringLiteral(", about %1 at burn time %2 (learned from earlier jobs)")
                        .arg(shell::JobProgressView::Duration(state.secondsLeft))
                        .arg(progress.BurnTime());
        else
            line += QStringLiteral(", no estimate yet at burn time %1").arg(progress.BurnTime());
        views.AppendLogLine(line + QLatin1Char('.'));
    };
    // On a terminal one line follows every change; into a file or pipe a
    // line per five percent.
    QString lastShown;
    int lastStep = -1;
    auto printProgress = [&] {
        const job::JobProgressState state = progress.State();
        if (state.phase != job::JobProgressState::Phase::Engraving)
            return;
        const QString text = QStringLiteral("Engraving: ") + shell::JobProgressView::Text(state);
        if (views.terminal()) {
            if (text != lastShown)
                views.showProgress(text);
            lastShown = text;
            return;
        }
        const int step = state.percent / 5;
        if (step == lastStep)
            return;
        lastStep = step;
        views.showProgress(text);
    };

    QElapsedTimer jobClock;
    auto startJob = [&] {
        stage = Stage::Engraving;
        deadline.start(options.jobTimeoutS * 1000);
        jobClock.start();
        jobControls.StartButton();
    };

    // Each next step runs once the event's handler has finished, as a click would.
    link::LinkEvents& events = machine.events();
    QObject::connect(&events, &link::LinkEvents::connected, [&] {
        if (stage != Stage::Connecting)
            return;
        stage = Stage::Sending;
        QTimer::singleShot(0, [&] {
            if (options.burnTime > 0)
                machine.parameters().SendBurnTime(options.burnTime);
            encoder.PrepareEngraveImage();
        });
    });
    QObject::connect(&events, &link::LinkEvents::pictureSent, [&](bool ok) {
        // A picture that did not get through is sent again once the machine
        // is found again (the break comes with it).
        if (stage == Stage::Sending && ok) {
            stage = Stage::Engraving;
            printDots();
            QTimer::singleShot(0, startJob);
        }
    });
    QObject::connect(&progress, &job::JobProgress::changed, [&] {
        if (stage == Stage::Engraving)
            printProgress();
    });
    QObject::connect(&events, &link::LinkEvents::connectionBroken, [&](int port) {
        if (stage == Stage::Sending || stage == Stage::Connecting) {
            views.AppendLogLine(QStringLiteral("The connection to COM%1 broke before the start; the picture goes "
                                               "again once the machine answers.").arg(port));
            stage = Stage::Connecting;
            deadline.start(options.connectTimeoutS * 1000);
        } else if (stage == Stage::Engraving) {
            // The machine may go on alone, but nothing here can follow it.
            fail(5, QStringLiteral("the connection to COM%1 broke during the engraving, after %2 s")
                        .arg(port)
                        .arg(jobClock.elapsed() / 1000.0, 0, 'f', 1));
        }
    });
    QObject::connect(&events, &link::LinkEvents::carvingFinished, [&] {
        if (stage != Stage::Engraving)
            return;
        stage = Stage::Done;
        views.endProgress();
        out << QStringLiteral("Engraving finished in %1 s.\n").arg(jobClock.elapsed() / 1000.0, 0, 'f', 1);
        out.flush();
        QCoreApplication::exit(0);
    });

    // The picture first: a file that cannot be used stops here.
    pictures.FileDropped({options.picture});
    if (!pictures.effectWindowOpen()) {
        err << QStringLiteral("kovra engrave: cannot use %1\n").arg(options.picture);
        err.flush();
        return 2;
    }
    QTimer renderPoll;
    QObject::connect(&renderPoll, &QTimer::timeout, [&] {
        if (stage != Stage::Rendering || !pictures.renderingsReady())
            return;
        renderPoll.stop();
        const rendering::Rendering effect = options.render.effect;
        pictures.Choose(effect);
        const QString how = effect == rendering::Rendering::Dither       ? QStringLiteral("dithered")
                            : effect == rendering::Rendering::BlackWhite ? QStringLiteral("black and white")
                                                                     : QStringLiteral("by ") + rendering::RenderingName(effect);
        out << QStringLiteral("Picture %1 rendered %2.\n").arg(QFileInfo(options.picture).fileName(), how);
        out.flush();
        stage = Stage::Connecting;
        deadline.start(options.connectTimeoutS * 1000);
        machine.connection().AutoConnect();
    });
    renderPoll.start(5);

    const int code = QCoreApplication::exec();
    channel.PortClose();
    if (engraveBuffer)
        *engraveBuffer = machine.replies().EngraveBuffer();
    if (stage == Stage::Failed) {
        views.endProgress();
        err << QStringLiteral("kovra engrave: %1\n").arg(failure);
        err.flush();
        return exitCode;
    }
    return code;
}

bool WriteSamplePicture(const QString& path)
{
    // A sample of our own: a shaded sphere, a gradient band and lettering,
    // so both renderings have tones to work on.
    QImage img(800, 600, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient sphere(QPointF(330, 220), 260, QPointF(260, 150));
    sphere.setColorAt(0, QColor(250, 250, 250));
    sphere.setColorAt(0.6, QColor(120, 120, 120));
    sphere.setColorAt(1, QColor(20, 20, 20));
    p.setBrush(sphere);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(400, 270), 220, 220);
    QLinearGradient band(0, 0, 800, 0);
    band.setColorAt(0, Qt::black);
    band.setColorAt(1, Qt::white);
    p.setBrush(band);
    p.drawRect(0, 520, 800, 80);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(72);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(QRect(0, 10, 800, 90), Qt::AlignCenter, QStringLiteral("Kovra"));
    p.end();
    return img.save(path);
}

} // namespace kovra::app
