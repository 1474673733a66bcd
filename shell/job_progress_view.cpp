#include "shell/job_progress_view.h"

#include "link/link_events.h"

#include <QProgressBar>

namespace kovra::shell {

using Phase = job::JobProgressState::Phase;

namespace {
const QString Separator = QStringLiteral("  \u00B7  ");
}

JobProgressView::JobProgressView(job::JobProgress& progress, link::LinkEvents& link, QWidget* transferBar)
    : m_progress(progress)
{
    m_bar = new QProgressBar(transferBar->parentWidget());
    m_bar->setObjectName(QStringLiteral("JobProgress"));
    m_bar->setGeometry(transferBar->geometry());
    m_bar->setFont(transferBar->font());
    m_bar->setRange(0, 1000);
    m_bar->setTextVisible(true);
    m_bar->hide();
    // The transfer bar has the place while the picture goes out.
    QObject::connect(&link, &link::LinkEvents::pictureSending, m_bar, [this] {
        m_transferring = true;
        refresh();
    });
    QObject::connect(&link, &link::LinkEvents::pictureSent, m_bar, [this] {
        m_transferring = false;
        refresh();
    });
    QObject::connect(&progress, &job::JobProgress::changed, m_bar, [this] { refresh(); });
}

JobProgressView::~JobProgressView()
{
    delete m_bar.data(); // and with it every connection made for it
}

QString JobProgressView::Duration(int seconds)
{
    seconds = std::max(seconds, 0);
    const int h = seconds / 3600, m = seconds / 60 % 60, s = seconds % 60;
    if (h > 0)
        return QStringLiteral("%1:%2:%3").arg(h).arg(m, 2, 10, QLatin1Char('0')).arg(s, 2, 10, QLatin1Char('0'));
    return QStringLiteral("%1:%2").arg(m).arg(s, 2, 10, QLatin1Char('0'));
}

QString JobProgressView::Text(const job::JobProgressState& state)
{
    const QString percent = QStringLiteral("%1 %").arg(state.percent);
    switch (state.phase) {
    case Phase::NoPicture:
        return {};
    case Phase::Ready: {
        QString text = tr("%1 dots").arg(state.dots);
        if (state.passed > 0)
            text = percent + Separator + text;
        if (state.secondsLeft >= 0)
            text += Separator + tr("about %1").arg(Duration(state.secondsLeft));
        return text;
    }
    case Phase::Engraving:
        // No time left until the rate is known well enough.
        return percent + Separator
            + (state.secondsLeft >= 0 ? tr("%1 left").arg(Duration(state.secondsLeft))
                                      : tr("estimating…"));
    case Phase::Paused:
        return state.secondsLeft >= 0 ? percent + Separator + tr("%1 left").arg(Duration(state.secondsLeft))
                   + Separator + tr("paused")
                                      : percent + Separator + tr("paused");
    case Phase::Finished:
        return percent + Separator + tr("finished in %1").arg(Duration(state.activeSeconds));
    case Phase::Broken:
        // Broken off in the transfer: no picture to count yet.
        return state.dots > 0 ? percent + Separator + tr("connection broken")
                              : tr("connection broken");
    case Phase::PictureLost:
        return tr("the picture did not arrive whole") + Separator + tr("send it again");
    }
    return {};
}

void JobProgressView::refresh()
{
    const job::JobProgressState state = m_progress.State();
    if (m_transferring || state.phase == Phase::NoPicture) {
        m_bar->hide();
        return;
    }
    // Positions arrive by the thousand: the bar changes only when what it shows does.
    m_bar->setValue(state.dots > 0 ? int(state.passed * 1000 / state.dots) : state.phase == Phase::PictureLost ? 0 : 1000);
    // "%p", "%v" and "%m" would be placeholders; our texts put a space after '%'.
    m_bar->setFormat(Text(state));
    if (m_bar->isHidden()) {
        m_bar->show();
        m_bar->raise();
    }
}

} // namespace kovra::shell
