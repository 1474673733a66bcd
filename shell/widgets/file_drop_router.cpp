#include "shell/widgets/file_drop_router.h"

#include <QAbstractScrollArea>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace kovra::shell {

QStringList FileDropRouter::LocalFiles(const QMimeData* mime)
{
    QStringList paths;
    if (!mime || !mime->hasUrls())
        return paths;
    for (const QUrl& url : mime->urls()) {
        if (url.isLocalFile())
            paths << url.toLocalFile();
    }
    return paths;
}

FileDropRouter::FileDropRouter(QWidget* window, Handler handler)
    : QObject(window)
    , m_window(window)
    , m_handler(std::move(handler))
{
}

void FileDropRouter::watchChildren()
{
    const auto children = m_window->findChildren<QWidget*>();
    for (QWidget* child : children) {
        if (child->acceptDrops())
            child->installEventFilter(this);
        if (auto* area = qobject_cast<QAbstractScrollArea*>(child))
            area->viewport()->installEventFilter(this);
    }
}

bool FileDropRouter::eventFilter(QObject* watched, QEvent* event)
{
    Q_UNUSED(watched);
    const auto type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return false;
    auto* drop = static_cast<QDropEvent*>(event);
    const QStringList paths = LocalFiles(drop->mimeData());
    if (paths.isEmpty())
        return false;
    drop->acceptProposedAction();
    if (type == QEvent::Drop && m_handler)
        m_handler(paths);
    return true;
}

} // namespace kovra::shell
