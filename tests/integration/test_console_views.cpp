// The command-line engraving's terminal, driven by the link's and the job's
// events through the same presenter as the window.
#include "app/console_views.h"
#include "app/terminal_progress.h"
#include "link/link_events.h"
#include "shell/machine_presenter.h"

#include <QTextStream>

#include <vector>

#include <gtest/gtest.h>

using namespace kovra;

TEST(ConsoleViews, EventsPrintTheLogAndOneProgressLine)
{
    for (bool terminal : {false, true}) {
        SCOPED_TRACE(terminal);
        QString text;
        QTextStream out(&text);
        app::ConsoleViews views(out, terminal);
        link::LinkEvents link;
        job::JobEvents job;
        shell::MachinePresenter presenter(link, job, views);

        emit link.scanStarted();
        emit link.connected(3);
        emit link.portListUnreadable(5);
        emit link.pictureSending(32768);
        for (qint64 written : {0, 8192, 16384, 32768})
            emit link.pictureProgress(written, 32768);
        emit link.pictureSent(true, 32768, 32768);
        emit job.carvingStarted(false);
        emit link.rowReported(12); // the position boxes have no place here
        emit link.carvingFinished();
        out.flush();

        const QString progress = terminal
            ? "\rSending picture: 0 / 32768 bytes (0%)\x1b[K\rSending picture: 8192 / 32768 bytes (25%)\x1b[K"
              "\rSending picture: 16384 / 32768 bytes (50%)\x1b[K\rSending picture: 32768 / 32768 bytes (100%)\x1b[K\n"
            : "Sending picture: 0 / 32768 bytes (0%)\nSending picture: 8192 / 32768 bytes (25%)\n"
              "Sending picture: 16384 / 32768 bytes (50%)\nSending picture: 32768 / 32768 bytes (100%)\n";
        EXPECT_EQ(text.toStdString(),
            ("Automatic Connecting...\n"
             ">>>>>>>>>>>>>>>>>>>>>>             CONNECTED !    <<<<<<<<<<<<<<<<<<<<<<\n"
             "[提示信息] 打开状态=5, 键句柄=0\n"
             "Sending New Image...\n"
             + progress + "Sending Complete !\n\nStart carving\n\nCarved finish !\n")
                .toStdString());
    }
}

namespace {
// What the terminal held when a notice went out.
QString* g_out = nullptr;
QStringList g_seenAtNotice;
void recordNotice(QtMsgType, const QMessageLogContext&, const QString& message)
{
    g_seenAtNotice << *g_out + "|" + message;
}

job::JobProgressState engraving(int percent, int left)
{
    job::JobProgressState s;
    s.phase = job::JobProgressState::Phase::Engraving;
    s.percent = percent;
    s.secondsLeft = left;
    return s;
}
} // namespace

TEST(TerminalProgress, OneCalmLineAndNoticesOnTheirOwnLine)
{
    struct Case {
        bool terminal;
        std::vector<job::JobProgressState> states;
        QString shown;
    };
    const QString dot = QStringLiteral("  \u00B7  ");
    job::JobProgressState paused = engraving(9, 50);
    paused.phase = job::JobProgressState::Phase::Paused;
    const std::vector<Case> cases{
        // A repeated text is not written again; a pause shows nothing.
        {true, {engraving(0, -1), engraving(0, -1), engraving(1, 64), paused},
            "\rEngraving: 0 %" + dot + "estimating\u2026\x1b[K\rEngraving: 1 %" + dot + "1:04 left\x1b[K"},
        // Into a file a line per five percent.
        {false, {engraving(0, -1), engraving(3, 60), engraving(5, 58), engraving(9, 50), engraving(10, 48)},
            "Engraving: 0 %" + dot + "estimating\u2026\nEngraving: 5 %" + dot + "0:58 left\nEngraving: 10 %" + dot
                + "0:48 left\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.terminal);
        QString text;
        QTextStream out(&text);
        app::ConsoleViews views(out, c.terminal);
        app::TerminalProgress line(views);
        for (const job::JobProgressState& state : c.states)
            line.show(state);
        out.flush();
        EXPECT_EQ(text, c.shown);
    }

    // A notice ends the line before it is printed; the next update starts a new one.
    QString text;
    QTextStream out(&text);
    g_out = &text;
    g_seenAtNotice.clear();
    const QtMessageHandler previous = qInstallMessageHandler(recordNotice);
    {
        app::ConsoleViews views(out, true);
        app::TerminalProgress line(views);
        line.show(engraving(4, 70));
        out.flush();
        qWarning("cannot keep the computer awake while engraving");
        line.show(engraving(5, 69));
        out.flush();
    }
    qInstallMessageHandler(previous);
    const QString first = "\rEngraving: 4 %" + dot + "1:10 left\x1b[K";
    EXPECT_EQ(g_seenAtNotice, QStringList{first + "\n|cannot keep the computer awake while engraving"});
    EXPECT_EQ(text, first + "\n\rEngraving: 5 %" + dot + "1:09 left\x1b[K");
}
