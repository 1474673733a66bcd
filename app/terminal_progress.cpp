#include "app/terminal_progress.h"

#include "app/console_views.h"
#include "shell/job_progress_view.h"

#include <QThread>

#include <cstdio>

namespace kovra::app {

namespace {
// The progress line that notices end; a run of the command shows one.
TerminalProgress* g_active = nullptr;
} // namespace

TerminalProgress::TerminalProgress(ConsoleViews& views)
    : m_views(views)
    , m_thread(QThread::currentThread())
    , m_previous(qInstallMessageHandler(&TerminalProgress::notice))
{
    g_active = this;
}

TerminalProgress::~TerminalProgress()
{
    qInstallMessageHandler(m_previous);
    g_active = nullptr;
}

void TerminalProgress::notice(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    const TerminalProgress* active = g_active;
    if (!active) {
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
        return;
    }
    // Only the thread that writes the line may end it; notices from elsewhere just pass.
    if (QThread::currentThread() == active->m_thread)
        active->m_views.endProgress();
    if (active->m_previous)
        active->m_previous(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

void TerminalProgress::show(const job::JobProgressState& state)
{
    if (state.phase != job::JobProgressState::Phase::Engraving)
        return;
    const QString text = QStringLiteral("Engraving: ") + shell::JobProgressView::Text(state);
    if (m_views.terminal()) {
        if (text != m_lastShown)
            m_views.showProgress(text);
        m_lastShown = text;
        return;
    }
    const int step = state.percent / 5;
    if (step == m_lastStep)
        return;
    m_lastStep = step;
    m_views.showProgress(text);
}

} // namespace kovra::app
