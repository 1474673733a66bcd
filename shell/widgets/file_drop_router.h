#pragma once
// Files dropped anywhere on a window reach one handler, also when they land
// on a child that takes drops itself (a text box would insert "file:///..."
// into its text). A drag of local files is taken before the child sees it;
// every other drag, plain text say, is left to the child.

#include <QObject>
#include <QStringList>

#include <functional>

class QMimeData;
class QWidget;

namespace kovra::shell {

class FileDropRouter : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void(const QStringList& paths)>;

    // The local files a drag carries, in the order given; empty when none.
    static QStringList LocalFiles(const QMimeData* mime);

    FileDropRouter(QWidget* window, Handler handler);

    // Routes the file drops of every child of the window that takes drops
    // (a scroll area's drops arrive at its viewport, which is watched too).
    void watchChildren();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_window;
    Handler m_handler;
};

} // namespace kovra::shell
