#include "app/console_views.h"

#include "platform/terminal.h"

namespace kovra::app {

ConsoleViews::ConsoleViews(QTextStream& out)
    : ConsoleViews(out, platform::StandardOutputIsTerminal())
{
}

ConsoleViews::ConsoleViews(QTextStream& out, bool terminal)
    : m_out(out)
    , m_terminal(terminal)
{
}

void ConsoleViews::AppendLogLine(const QString& text)
{
    AppendLogText(text + QStringLiteral("\r\n"));
}

void ConsoleViews::AppendLogText(const QString& text)
{
    endProgress();
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    m_out << shown;
    m_out.flush();
}

void ConsoleViews::ShowMessageBox(const QString& text, const QString& title)
{
    AppendLogLine(QStringLiteral("[%1] %2").arg(title, text));
}

void ConsoleViews::ShowTransferProgress(qint64 written, qint64 total)
{
    const int percent = total > 0 ? int(written * 100 / total) : 0;
    // Into a file, a line every tenth is enough.
    const int step = m_terminal ? percent : percent / 10 * 10;
    if (step == m_lastPercent)
        return;
    m_lastPercent = step;
    showProgress(QStringLiteral("Sending picture: %1 / %2 bytes (%3%)").arg(written).arg(total).arg(percent));
}

void ConsoleViews::HideTransferProgress()
{
    m_lastPercent = -1;
    endProgress();
}

void ConsoleViews::showProgress(const QString& line)
{
    if (!m_terminal) {
        m_out << line << '\n';
        m_out.flush();
        return;
    }
    m_out << '\r' << line << QStringLiteral("\x1b[K");
    m_out.flush();
    m_progressShown = true;
}

void ConsoleViews::endProgress()
{
    if (!m_progressShown)
        return;
    m_out << '\n';
    m_out.flush();
    m_progressShown = false;
}

} // namespace kovra::app
