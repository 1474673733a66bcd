#pragma once
// The engraving's progress line of "kovra engrave": on a terminal one line
// rewritten in place whenever its text changes, into a file or pipe a line
// per five percent. While it lives, the program's notices (say, that the
// computer cannot be kept awake) end the progress line first, so they stand
// on a line of their own instead of in the middle of it.

#include "job/job_progress.h"

#include <QString>
#include <QtGlobal>

class QThread;

namespace kovra::app {

class ConsoleViews;

class TerminalProgress {
public:
    explicit TerminalProgress(ConsoleViews& views);
    ~TerminalProgress();
    TerminalProgress(const TerminalProgress&) = delete;
    TerminalProgress& operator=(const TerminalProgress&) = delete;

    // Shows the state while the machine engraves; other phases show nothing.
    void show(const job::JobProgressState& state);

private:
    static void notice(QtMsgType type, const QMessageLogContext& context, const QString& message);

    ConsoleViews& m_views;
    QThread* m_thread;
    QtMessageHandler m_previous;
    QString m_lastShown;
    int m_lastStep = -1;
};

} // namespace kovra::app
