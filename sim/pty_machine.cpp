#include "sim/pty_machine.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace kovra::sim {

namespace {

using Clock = std::chrono::steady_clock;

// In fast mode the model engraves ahead only while the program keeps up.
constexpr qsizetype FastBacklog = 16 * 1024;
// Paced: a step waits until the line has nearly drained.
constexpr qsizetype PacedBacklog = 64;

bool makeRaw(int fd)
{
    termios tio{};
    if (tcgetattr(fd, &tio) != 0)
        return false;
    cfmakeraw(&tio);
    return tcsetattr(fd, TCSANOW, &tio) == 0;
}

void setFlags(int fd, bool nonBlocking)
{
    fcntl(fd, F_SETFD, fcntl(fd, F_GETFD) | FD_CLOEXEC);
    if (nonBlocking)
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
}

QString errnoText()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// Bytes the line may carry now: refilled by elapsed time, capped to a short burst.
struct LineBudget {
    double bytes = 0;
    double perSecond = 0;
    Clock::time_point last = Clock::now();

    void refill(Clock::time_point now)
    {
        const double seconds = std::chrono::duration<double>(now - last).count();
        last = now;
        bytes = std::min(bytes + seconds * perSecond, std::max(1.0, perSecond / 50.0));
    }
    int whole() const { return static_cast<int>(bytes); }
};

} // namespace

PtyMachine::PtyMachine(FirmwareOptions firmware, PtyMachineOptions options, QObject* parent)
    : QObject(parent)
    , m_options(std::move(options))
    , m_model(firmware)
{
    m_options.lineBytesPerSecond = std::max(1, m_options.lineBytesPerSecond);
    m_options.stepsPerSecond = std::max(1, m_options.stepsPerSecond);
}

PtyMachine::~PtyMachine()
{
    unplug();
}

QString PtyMachine::linkPath() const
{
    if (!m_options.linkName.isEmpty())
        return QDir(m_options.portDir).filePath(m_options.linkName);
    return QDir(m_options.portDir).filePath(QStringLiteral("COM%1").arg(m_options.portNumber));
}

bool PtyMachine::start()
{
    unplug();
    m_error.clear();
    if (m_options.portNumber < 1) {
        m_error = QStringLiteral("port number %1 is not a COM port").arg(m_options.portNumber);
        return false;
    }
    if (m_options.portDir.isEmpty() || !QDir().mkpath(m_options.portDir)) {
        m_error = QStringLiteral("cannot create the port directory \"%1\"").arg(m_options.portDir);
        return false;
    }
    const QString link = linkPath();
    const QFileInfo existing(link);
    if ((existing.exists() || existing.isSymLink()) && !existing.isSymLink()) {
        m_error = QStringLiteral("\"%1\" exists and is not a link; not replacing it").arg(link);
        return false;
    }

    // Default settings first, then raw on both ends: a zeroed termios hides flow-control faults.
    if (openpty(&m_master, &m_slave, nullptr, nullptr, nullptr) != 0) {
        m_error = QStringLiteral("openpty failed: %1").arg(errnoText());
        return false;
    }
    char name[512] = {};
    if (!makeRaw(m_master) || !makeRaw(m_slave) || ttyname_r(m_slave, name, sizeof name) != 0) {
        m_error = QStringLiteral("cannot set up the pseudo-terminal: %1").arg(errnoText());
        closePty();
        return false;
    }
    setFlags(m_master, true);
    setFlags(m_slave, false);
    m_slavePath = QString::fromLocal8Bit(name);

    // Link under a temporary name and rename over, so COMn never points nowhere.
    const QByteArray target = QFile::encodeName(m_slavePath);
    const QByteArray temp = QFile::encodeName(link + QStringLiteral(".new%1").arg(getpid()));
    ::unlink(temp.constData());
    if (::symlink(target.constData(), temp.constData()) != 0
        || ::rename(temp.constData(), QFile::encodeName(link).constData()) != 0) {
        m_error = QStringLiteral("cannot link \"%1\" to %2: %3").arg(link, m_slavePath, errnoText());
        ::unlink(temp.constData());
        closePty();
        return false;
    }

    int pipeFds[2];
    if (pipe(pipeFds) != 0) {
        m_error = QStringLiteral("pipe failed: %1").arg(errnoText());
        removeLink();
        closePty();
        return false;
    }
    m_wakeRead = pipeFds[0];
    m_wakeWrite = pipeFds[1];
    setFlags(m_wakeRead, true);
    setFlags(m_wakeWrite, true);

    {
        std::lock_guard lock(m_modelMutex);
        m_model.lineReset();
    }
    m_stop = false;
    m_plugged = true;
    m_thread = std::thread([this] { run(); });
    return true;
}

void PtyMachine::unplug()
{
    if (m_thread.joinable()) {
        m_stop = true;
        wake();
        m_thread.join();
    }
    const bool wasPlugged = m_plugged.exchange(false);
    removeLink();
    closePty();
    if (m_wakeRead >= 0)
        ::close(m_wakeRead);
    if (m_wakeWrite >= 0)
        ::close(m_wakeWrite);
    m_wakeRead = m_wakeWrite = -1;
    if (wasPlugged)
        emit unplugged();
}

void PtyMachine::removeLink()
{
    if (m_slavePath.isEmpty())
        return;
    // Only our own link: another simulator may have taken the name meanwhile.
    const QFileInfo info(linkPath());
    if (info.isSymLink() && info.symLinkTarget() == m_slavePath)
        ::unlink(QFile::encodeName(linkPath()).constData());
}

void PtyMachine::closePty()
{
    if (m_master >= 0)
        ::close(m_master);
    if (m_slave >= 0)
        ::close(m_slave);
    m_master = m_slave = -1;
}

void PtyMachine::wake()
{
    if (m_wakeWrite >= 0) {
        const char b = 1;
        [[maybe_unused]] const auto n = ::write(m_wakeWrite, &b, 1);
    }
}

void PtyMachine::withModel(const std::function<void(FirmwareModel&)>& f)
{
    {
        std::lock_guard lock(m_modelMutex);
        f(m_model);
    }
    wake();
}

QByteArray PtyMachine::storedPicture()
{
    std::lock_guard lock(m_modelMutex);
    return m_model.storedPicture();
}

QByteArray PtyMachine::burnedDots()
{
    std::lock_guard lock(m_modelMutex);
    return m_model.burnedDots();
}

QImage PtyMachine::burnedPicture()
{
    std::lock_guard lock(m_modelMutex);
    return m_model.burnedPicture();
}

QStringList PtyMachine::transcript()
{
    std::lock_guard lock(m_modelMutex);
    return m_model.transcript();
}

int PtyMachine::carveFinishedCount()
{
    std::lock_guard lock(m_modelMutex);
    return m_model.carveFinishedCount();
}

qint64 PtyMachine::bytesReceived()
{
    std::lock_guard lock(m_modelMutex);
    return m_model.bytesReceived();
}

void PtyMachine::postNewTranscript(int& seen)
{
    // Called with the model lock held.
    const QStringList& lines = m_model.transcript();
    for (; seen < lines.size(); ++seen) {
        QMetaObject::invokeMethod(
            this, [this, line = lines[seen]] { emit transcriptLine(line); }, Qt::QueuedConnection);
    }
}

// What the I/O thread carries from round to round.
struct PtyMachine::IoState {
    LineBudget readBudget;
    LineBudget writeBudget;
    std::chrono::microseconds stepInterval{0};
    Clock::time_point nextStep = Clock::now();
    QByteArray out;
    int transcriptSeen = 0;
    int finishedSeen = 0;
    char buffer[4096] = {};
};

// The I/O thread: reads commands into the model, writes its replies, and steps the
// engraving whenever the outgoing line has room. Paced mode holds both directions
// to the line rate.
void PtyMachine::run()
{
    IoState io;
    io.readBudget.perSecond = io.writeBudget.perSecond = double(m_options.lineBytesPerSecond);
    io.stepInterval = std::chrono::microseconds(1'000'000 / m_options.stepsPerSecond);
    {
        std::lock_guard lock(m_modelMutex);
        io.transcriptSeen = int(m_model.transcript().size());
        io.finishedSeen = m_model.carveFinishedCount();
    }
    bool pulled = false;
    while (!m_stop) {
        bool carving = false;
        pulled = stepModel(io, carving);
        if (pulled || !exchange(io, carving))
            break;
    }

    if (pulled) {
        // The cable is pulled from this side: link gone, pty closed, the program sees a hang-up.
        removeLink();
        closePty();
        m_plugged = false;
        QMetaObject::invokeMethod(this, [this] { emit unplugged(); }, Qt::QueuedConnection);
    }
}

bool PtyMachine::stepModel(IoState& io, bool& carving)
{
    const bool paced = m_options.paced;
    const auto now = Clock::now();
    io.readBudget.refill(now);
    io.writeBudget.refill(now);
    std::lock_guard lock(m_modelMutex);
    const qsizetype backlog = paced ? PacedBacklog : FastBacklog;
    if (m_model.isCarving() && io.out.size() + m_model.pendingReplyBytes() < backlog
        && (!paced || now >= io.nextStep)) {
        m_model.step();
        io.nextStep = now + io.stepInterval;
    }
    io.out += m_model.takeReplies();
    carving = m_model.isCarving();
    postNewTranscript(io.transcriptSeen);
    for (; io.finishedSeen < m_model.carveFinishedCount(); ++io.finishedSeen)
        QMetaObject::invokeMethod(this, [this] { emit carveFinished(); }, Qt::QueuedConnection);
    return m_model.isUnplugged();
}

bool PtyMachine::exchange(IoState& io, bool carving)
{
    const bool paced = m_options.paced;
    const bool mayRead = !paced || io.readBudget.whole() > 0;
    const bool mayWrite = !io.out.isEmpty() && (!paced || io.writeBudget.whole() > 0);
    pollfd fds[2] = {{m_master, short((mayRead ? POLLIN : 0) | (mayWrite ? POLLOUT : 0)), 0},
                     {m_wakeRead, POLLIN, 0}};
    int timeout = -1;
    if (paced && ((!mayRead) || (!io.out.isEmpty() && !mayWrite) || carving))
        timeout = 5;
    else if (carving && io.out.size() < FastBacklog)
        timeout = 0;
    if (::poll(fds, 2, timeout) < 0 && errno != EINTR)
        return false;

    if (fds[1].revents & POLLIN) {
        char drain[64];
        while (::read(m_wakeRead, drain, sizeof drain) > 0) {
        }
    }
    if (fds[0].revents & POLLOUT) {
        const qsizetype chunk = paced ? std::min<qsizetype>(io.out.size(), io.writeBudget.whole()) : io.out.size();
        const auto n = ::write(m_master, io.out.constData(), size_t(chunk));
        if (n > 0) {
            io.out.remove(0, n);
            io.writeBudget.bytes -= double(n);
        }
    }
    if (fds[0].revents & POLLIN) {
        const int want = paced ? std::min<int>(sizeof io.buffer, io.readBudget.whole()) : int(sizeof io.buffer);
        const auto n = ::read(m_master, io.buffer, size_t(want));
        if (n > 0) {
            io.readBudget.bytes -= double(n);
            std::lock_guard lock(m_modelMutex);
            m_model.receive(QByteArrayView(io.buffer, n));
        }
    } else if (fds[0].revents & (POLLHUP | POLLERR)) {
        // Only when our own slave fd is gone; do not spin on it.
        ::usleep(10'000);
    }
    return true;
}

} // namespace kovra::sim
