#include "shell/widgets/message_log.h"

#include <QScrollBar>
#include <QTextCursor>

namespace kovra::shell {

MessageLog::MessageLog(QWidget* parent)
    : QPlainTextEdit(parent)
{
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setMaximumBlockCount(0);
    AppendLogText(QString::fromLatin1(kWelcome));
}

void MessageLog::AppendLogLine(const QString& text)
{
    AppendLogText(text + QStringLiteral("\r\n"));
}

void MessageLog::AppendLogText(const QString& text)
{
    m_logged += text;
    // A "\r\n" pair, or a lone CR or LF, is one line break on screen.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QTextCursor cursor = textCursor();
    cursor.movePosition(QTextCursor::End);
    setTextCursor(cursor);
    insertPlainText(shown);
    QScrollBar* bar = verticalScrollBar();
    bar->setValue(bar->maximum());
}

} // namespace kovra::shell
