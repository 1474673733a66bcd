#include "app/engrave_command.h"

#include "app/command_line.h"
#include "app/console_views.h"
#include "app/scanned_ports.h"
#include "app/terminal_progress.h"
#include "assets/artwork.h"
#include "image/drawing_board.h"
#include "job/engrave_encoder.h"
#include "job/job_controls.h"
#include "job/job_events.h"
#include "job/job_progress.h"
#include "job/keep_awake.h"
#include "picture/picture_events.h"
#include "picture/picture_flow.h"
#include "link/machine_link.h"
#include "link/system_serial_channel.h"
#include "platform/paths.h"
#include "platform/sleep_inhibitor.h"
#include "platform/timer.h"
#include "shell/settings/config_file.h"
#include "shell/settings/estimate_store.h"
#include "shell/job_progress_view.h"
#include "shell/machine_presenter.h"
#include "shell/picture_presenter.h"
#include "shell/trace_painter.h"

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

const QString kDoctorHint = QStringLiteral("; kovra doctor tells why");

const QString kBurnTime = QStringLiteral("burn-time");
const QString kConnectTimeout = QStringLiteral("connect-timeout");
const QString kJobTimeout = QStringLiteral("job-timeout");
constexpr int kLongestConnectS = 3600;
constexpr int kLongestJobS = 86400;

void describe(CommandLine& line)
{
    const EngraveOptions defaults;
    line.addValue(kBurnTime, QStringLiteral("1..100"),
        QStringLiteral("The burn time to set on the machine (default: the machine's own)."),
        QStringLiteral("takes a whole number from 1 to 100"));
    line.addValue(kConnectTimeout, QStringLiteral("SECONDS"),
        QStringLiteral("How long a machine has to answer the scan (default: %1).").arg(defaults.connectTimeoutS),
        QStringLiteral("takes a whole number of seconds from 1 to %1").arg(kLongestConnectS));
    line.addValue(kJobTimeout, QStringLiteral("SECONDS"),
        QStringLiteral("How long the job may take from Start to its end (default: %1).").arg(defaults.jobTimeoutS),
        QStringLiteral("takes a whole number of seconds from 1 to %1").arg(kLongestJobS));
    AddRenderOptions(line);
}

bool read(CommandLine& line, EngraveOptions& options)
{
    if (!line.checkWords(1, 1, QStringLiteral("no picture given"),
            QStringLiteral("only one picture can be engraved at a time"))
        || !line.readNumber(kBurnTime, 1, 100, options.burnTime)
        || !line.readNumber(kConnectTimeout, 1, kLongestConnectS, options.connectTimeoutS)
        || !line.readNumber(kJobTimeout, 1, kLongestJobS, options.jobTimeoutS)
        || !ReadRenderOptions(line, options.render))
        return false;
    options.picture = line.words().constFirst();
    return true;
}

} // namespace

QString EngraveUsage()
{
    CommandLine line;
    describe(line);
    return QStringLiteral(
        "usage: kovra engrave PICTURE [options]\n"
        "Finds the machine by the port scan, sends the rendered picture and engraves it, with the log\n"
        "and the progress in the terminal. Ports come from $KOVRA_PORT_DIR (entries named COMn) before\n"
        "the default device table, which KOVRA_PORT_TABLE=0 leaves out.\n"
        "Exit status: 0 finished, 2 a wrong option or a picture that cannot be used, 3 no machine\n"
        "answered within the connect time-out (%1 s unless set), 4 the job did not end within the job\n"
        "time-out (%2 s unless set), 5 the connection broke after Start.\n"
        "\n%3")
        .arg(EngraveOptions{}.connectTimeoutS)
        .arg(EngraveOptions{}.jobTimeoutS)
        .arg(line.optionsHelp());
}

bool ParseEngraveOptions(const QStringList& args, EngraveOptions& options, QString& error)
{
    CommandLine line;
    describe(line);
    if (line.parse(args) && read(line, options))
        return true;
    error = line.error();
    return false;
}

int RunEngraveCommandLine(const QStringList& args)
{
    CommandLine line;
    describe(line);
    EngraveOptions options;
    const bool parsed = line.parse(args) && read(line, options);
    if (line.helpWanted()) {
        std::fputs(qPrintable(EngraveUsage()), stdout);
        return 0;
    }
    if (!parsed) {
        std::fprintf(stderr, "kovra engrave: %s (kovra engrave --help)\n", qPrintable(line.error()));
        return 2;
    }
    return RunEngraveCommand(options);
}

int RunEngraveCommand(const EngraveOptions& options)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    return RunEngraveCommand(options, out, err);
}

namespace {

// One engraving from the command line, stage by stage: the picture is
// rendered, the machine found, the picture sent, the job started and
// followed to its end. Each stage starts from the event that ends the one
// before, once that event's handler has finished, as a click would.
class EngraveRun {
public:
    EngraveRun(const EngraveOptions& options, QTextStream& out, QTextStream& err);
    // The exit status; engraveBuffer, when given, receives the picture bytes
    // prepared for the machine.
    int run(QByteArray* engraveBuffer);

private:
    void wirePicture();
    void wireLink();
    void wireDeadline();
    // The stages.
    void pictureRendered();
    void connectMachine();
    void sendPicture();
    void pictureSent(bool ok);
    void startJob();
    void connectionBroken(int port);
    void carvingFinished();
    void fail(int code, const QString& why);
    // The terminal lines of the job's progress.
    void printDots();

    const EngraveOptions& m_options;
    QTextStream& m_out;
    QTextStream& m_err;
    ConsoleViews m_views;

    image::DrawingBoard m_previewBoard{512, 512};
    platform::QtTimer m_retryTimer, m_verifyTimer, m_portCheckTimer, m_runTimeTimer, m_effectTaskTimer, m_outputTimer,
        m_transferTimer;
    // The ports scanned, also for the message when no machine answered.
    const platform::SerialPortNames m_portNames = platform::SerialPortNames::fromEnvironment();
    const std::unique_ptr<link::SerialChannel> m_channel = link::CreateSerialChannel(m_portNames);
    link::MachineLink m_machine;
    job::JobEvents m_jobEvents;
    shell::TracePainter m_trace;
    shell::MachinePresenter m_presenter;
    job::JobControls m_jobControls;
    job::EngraveEncoder m_encoder;
    picture::PictureEvents m_pictureEvents;
    picture::PictureFlow m_pictures;
    shell::PicturePresenter m_picturePresenter;
    shell::ConfigFile m_config;
    shell::EstimateStore m_estimates;
    job::JobProgress m_progress;
    const std::unique_ptr<platform::SleepInhibitor> m_inhibitor;
    job::KeepAwake m_keepAwake;

    Stage m_stage = Stage::Rendering;
    bool m_refused = false;
    int m_exitCode = 0;
    QString m_failure;
    QTimer m_deadline;
    QElapsedTimer m_jobClock;
    TerminalProgress m_progressLine{m_views};
};

EngraveRun::EngraveRun(const EngraveOptions& options, QTextStream& out, QTextStream& err)
    : m_options(options)
    , m_out(out)
    , m_err(err)
    , m_views(out)
    , m_machine(*m_channel,
                link::LinkTimers{m_retryTimer, m_verifyTimer, m_portCheckTimer, m_outputTimer, m_transferTimer})
    , m_trace(m_machine.events(), m_previewBoard)
    , m_presenter(m_machine.events(), m_jobEvents, m_views)
    , m_jobControls(m_machine.frames(), m_jobEvents, m_machine.events(), m_runTimeTimer)
    , m_encoder(m_machine.frames(), m_jobEvents, m_previewBoard, m_machine.picture())
    , m_pictures(m_previewBoard, assets::PlainWhiteBackground(), m_effectTaskTimer, m_pictureEvents)
    , m_picturePresenter(m_pictureEvents, m_pictures.blackWhiteBoard(), m_pictures.ditherBoard(), m_views)
    , m_config(platform::ConfigFilePath())
    , m_estimates(m_config)
    , m_progress(m_machine.events(), m_jobEvents, &m_estimates)
    , m_inhibitor(platform::CreateSleepInhibitor())
    , m_keepAwake(m_jobEvents, m_machine.events(), *m_inhibitor)
{
    m_previewBoard.SetBackgroundPicture(assets::PlainWhiteBackground());
    m_machine.replies().SetSupportedFirmwareVersion(1);
    ApplyRenderOptions(m_pictures, options.render);
    wirePicture();
    wireLink();
    wireDeadline();
}

void EngraveRun::wirePicture()
{
    using P = picture::PictureEvents;
    QObject::connect(&m_pictureEvents, &P::refused, [this] {
        m_refused = true;
        QCoreApplication::exit(2);
    });
    QObject::connect(&m_pictureEvents, &P::renderingsReady, [this] {
        if (m_stage == Stage::Rendering)
            QTimer::singleShot(0, [this] { pictureRendered(); });
    });
    QObject::connect(&m_progress, &job::JobProgress::changed, [this] {
        if (m_stage == Stage::Engraving)
            m_progressLine.show(m_progress.State());
    });
}

void EngraveRun::wireLink()
{
    link::LinkEvents& events = m_machine.events();
    QObject::connect(&events, &link::LinkEvents::connected, [this] {
        if (m_stage != Stage::Connecting)
            return;
        m_stage = Stage::Sending;
        QTimer::singleShot(0, [this] { sendPicture(); });
    });
    QObject::connect(&events, &link::LinkEvents::pictureSent, [this](bool ok) { pictureSent(ok); });
    QObject::connect(&events, &link::LinkEvents::connectionBroken, [this](int port) { connectionBroken(port); });
    QObject::connect(&events, &link::LinkEvents::carvingFinished, [this] { carvingFinished(); });
}

void EngraveRun::wireDeadline()
{
    m_deadline.setSingleShot(true);
    QObject::connect(&m_deadline, &QTimer::timeout, [this] {
        if (m_stage == Stage::Connecting || m_stage == Stage::Rendering || m_stage == Stage::Sending)
            fail(3, QStringLiteral("no machine answered the handshake within %1 s; %2%3")
                        .arg(m_options.connectTimeoutS)
                        .arg(DescribeScannedPorts(m_portNames), kDoctorHint));
        else
            fail(4, QStringLiteral("the engraving did not finish within %1 s").arg(m_options.jobTimeoutS));
    });
}

int EngraveRun::run(QByteArray* engraveBuffer)
{
    // The picture first: a file that cannot be used stops here.
    m_pictures.FileDropped({m_options.picture});
    const int code = QCoreApplication::exec();
    m_channel->PortClose();
    if (engraveBuffer)
        *engraveBuffer = m_machine.picture().EngraveBuffer();
    if (m_refused) {
        m_err << QStringLiteral("kovra engrave: cannot use %1\n").arg(m_options.picture);
        m_err.flush();
        return 2;
    }
    if (m_stage == Stage::Failed) {
        m_views.endProgress();
        m_err << QStringLiteral("kovra engrave: %1\n").arg(m_failure);
        m_err.flush();
        return m_exitCode;
    }
    return code;
}

void EngraveRun::pictureRendered()
{
    const rendering::Rendering effect = m_options.render.effect;
    m_pictures.Choose(effect);
    const QString how = effect == rendering::Rendering::Dither       ? QStringLiteral("dithered")
                        : effect == rendering::Rendering::BlackWhite ? QStringLiteral("black and white")
                                                                     : QStringLiteral("by ") + rendering::RenderingName(effect);
    m_out << QStringLiteral("Picture %1 rendered %2.\n").arg(QFileInfo(m_options.picture).fileName(), how);
    m_out.flush();
    connectMachine();
}

void EngraveRun::connectMachine()
{
    m_stage = Stage::Connecting;
    m_deadline.start(m_options.connectTimeoutS * 1000);
    m_machine.connection().AutoConnect();
}

void EngraveRun::sendPicture()
{
    if (m_options.burnTime > 0)
        m_machine.parameters().SendBurnTime(m_options.burnTime);
    m_encoder.PrepareEngraveImage();
}

void EngraveRun::pictureSent(bool ok)
{
    // A picture that did not get through is sent again once the machine
    // is found again (the break comes with it).
    if (m_stage != Stage::Sending || !ok)
        return;
    m_stage = Stage::Engraving;
    printDots();
    QTimer::singleShot(0, [this] { startJob(); });
}

void EngraveRun::startJob()
{
    m_stage = Stage::Engraving;
    m_deadline.start(m_options.jobTimeoutS * 1000);
    m_jobClock.start();
    m_jobControls.Start();
}

void EngraveRun::connectionBroken(int port)
{
    if (m_stage == Stage::Sending || m_stage == Stage::Connecting) {
        m_views.AppendLogLine(QStringLiteral("The connection to COM%1 broke before the start; the picture goes "
                                             "again once the machine answers.").arg(port));
        m_stage = Stage::Connecting;
        m_deadline.start(m_options.connectTimeoutS * 1000);
    } else if (m_stage == Stage::Engraving) {
        // The machine may go on alone, but nothing here can follow it.
        fail(5, QStringLiteral("the connection to COM%1 broke during the engraving, after %2 s")
                    .arg(port)
                    .arg(m_jobClock.elapsed() / 1000.0, 0, 'f', 1));
    }
}

void EngraveRun::carvingFinished()
{
    if (m_stage != Stage::Engraving)
        return;
    m_stage = Stage::Done;
    m_views.endProgress();
    m_out << QStringLiteral("Engraving finished in %1 s.\n").arg(m_jobClock.elapsed() / 1000.0, 0, 'f', 1);
    m_out.flush();
    QCoreApplication::exit(0);
}

void EngraveRun::fail(int code, const QString& why)
{
    m_stage = Stage::Failed;
    m_exitCode = code;
    m_failure = why;
    QCoreApplication::exit(code);
}

void EngraveRun::printDots()
{
    const job::JobProgressState state = m_progress.State();
    QString line = QStringLiteral("To engrave: %1 dots").arg(state.dots);
    if (state.secondsLeft >= 0)
        line += QStringLiteral(", about %1 at burn time %2 (learned from earlier jobs)")
                    .arg(shell::JobProgressView::Duration(state.secondsLeft))
                    .arg(m_progress.BurnTime());
    else
        line += QStringLiteral(", no estimate yet at burn time %1").arg(m_progress.BurnTime());
    m_views.AppendLogLine(line + QLatin1Char('.'));
}

} // namespace

int RunEngraveCommand(const EngraveOptions& options, QTextStream& out, QTextStream& err, QByteArray* engraveBuffer)
{
    assets::InitArtwork();
    EngraveRun run(options, out, err);
    return run.run(engraveBuffer);
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
