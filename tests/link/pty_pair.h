#pragma once
// A raw pseudo-terminal pair for driving the real serial channel, and a
// bounded wait that keeps the event loop running.

#include <QByteArray>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

#include <cerrno>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <functional>
#include <string>

namespace kovra::test {

// Runs the event loop until done() holds or timeoutMs pass; returns done().
inline bool waitUntil(const std::function<bool()>& done, int timeoutMs = 5000)
{
    QDeadlineTimer deadline(timeoutMs);
    QTimer wake;
    wake.start(1); // so WaitForMoreEvents returns to look at done()
    while (!done()) {
        if (deadline.hasExpired())
            return done();
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return true;
}

class PtyPair {
public:
    PtyPair()
    {
        char name[256] = {};
        if (::openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0)
            return;
        m_slaveName = name;
        // Raw both ends, after the defaults: byte-transparent, no flow control.
        for (int fd : {m_master, m_slave}) {
            termios t{};
            ::tcgetattr(fd, &t);
            ::cfmakeraw(&t);
            ::tcsetattr(fd, TCSANOW, &t);
        }
        ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    }
    ~PtyPair() { closeAll(); }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool ok() const { return m_master >= 0; }
    const std::string& slaveName() const { return m_slaveName; }

    // The machine's end writes.
    bool write(const QByteArray& data)
    {
        qsizetype done = 0;
        QDeadlineTimer deadline(5000);
        while (done < data.size() && !deadline.hasExpired()) {
            const ssize_t n = ::write(m_master, data.constData() + done, size_t(data.size() - done));
            if (n > 0)
                done += n;
            else if (n < 0 && errno != EAGAIN && errno != EINTR)
                return false;
            else
                QCoreApplication::processEvents();
        }
        return done == data.size();
    }
    // Whatever the program has written so far.
    QByteArray readAvailable()
    {
        QByteArray out;
        char buffer[4096];
        for (;;) {
            const ssize_t n = ::read(m_master, buffer, sizeof buffer);
            if (n <= 0)
                break;
            out.append(buffer, qsizetype(n));
        }
        m_received += out;
        return out;
    }
    QByteArray& received() { return m_received; }

    // Unplugging: both of the machine's ends go.
    void closeAll()
    {
        if (m_master >= 0)
            ::close(m_master);
        if (m_slave >= 0)
            ::close(m_slave);
        m_master = m_slave = -1;
    }

private:
    int m_master = -1;
    int m_slave = -1; // kept open so the master never reads EIO meanwhile
    std::string m_slaveName;
    QByteArray m_received;
};

} // namespace kovra::test
