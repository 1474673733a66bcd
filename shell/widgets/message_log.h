#pragma once
// The status log of the main window. Texts go at the end, the newest line is
// scrolled into view, and nothing is ever trimmed. Each "\r\n" is a line
// break the user sees; the user may type in the log, nothing reads it back.

#include <QPlainTextEdit>

namespace kovra::shell {

class MessageLog : public QPlainTextEdit {
    Q_OBJECT
public:
    static constexpr const char* kWelcome = "             Welcome(^_^)\r\n";

    explicit MessageLog(QWidget* parent = nullptr);

    // The text followed by "\r\n".
    void AppendLogLine(const QString& text);
    // The text unchanged.
    void AppendLogText(const QString& text);

    // Everything the program logged, with its "\r\n" pairs, in order.
    const QString& loggedText() const { return m_logged; }

private:
    QString m_logged;
};

} // namespace kovra::shell
