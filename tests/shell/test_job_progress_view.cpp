// The progress texts, the learned rates in Config.ini, the end-of-job notice.
#include "job/engrave_encoder.h"
#include "job/job_progress.h"
#include "link/link_events.h"
#include "platform/desktop_notifier.h"
#include "shell/settings/estimate_store.h"
#include "shell/job_end_notice.h"
#include "shell/job_progress_view.h"

#include <QFile>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

using namespace kovra;
using Phase = job::JobProgressState::Phase;

TEST(JobProgressView, TextsForEachPhase)
{
    const auto text = [](Phase phase, int percent, int left, int active = 0) {
        job::JobProgressState s;
        s.phase = phase;
        s.dots = 12345;
        s.passed = 12345 * percent / 100;
        s.percent = percent;
        s.secondsLeft = left;
        s.activeSeconds = active;
        return shell::JobProgressView::Text(s);
    };
    const QString dot = QStringLiteral("  \u00B7  ");
    EXPECT_EQ(text(Phase::NoPicture, 0, -1), "");
    EXPECT_EQ(text(Phase::Ready, 0, -1), "12345 dots");
    EXPECT_EQ(text(Phase::Ready, 0, 190), "12345 dots" + dot + "about 3:10");
    EXPECT_EQ(text(Phase::Engraving, 37, 84), "37 %" + dot + "1:24 left");
    EXPECT_EQ(text(Phase::Engraving, 2, -1), "2 %" + dot + "estimating\u2026");
    EXPECT_EQ(text(Phase::Paused, 37, 84), "37 %" + dot + "1:24 left" + dot + "paused");
    EXPECT_EQ(text(Phase::Broken, 40, 60), "40 %" + dot + "connection broken");
    job::JobProgressState inTransfer;
    inTransfer.phase = Phase::Broken;
    EXPECT_EQ(shell::JobProgressView::Text(inTransfer), "connection broken");
    EXPECT_EQ(text(Phase::PictureLost, 0, -1), "the picture did not arrive whole" + dot + "send it again");
    EXPECT_EQ(text(Phase::Finished, 100, 0, 3725), "100 %" + dot + "finished in 1:02:05");
    EXPECT_EQ(shell::JobProgressView::Duration(59), "0:59");
    EXPECT_EQ(shell::JobProgressView::Duration(600), "10:00");
}

TEST(EstimateStore, RatesPerBurnTimeInTheirOwnSection)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Config.ini");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[Language]\r\nLanguage=2\r\n[Estimates]\r\nDotsPerSecondAtBurnTime7=nonsense\r\n");
    }
    shell::ConfigFile config(path);
    shell::EstimateStore store(config);
    EXPECT_FALSE(store.LearnedRate(40));
    EXPECT_FALSE(store.LearnedRate(7)) << "a damaged value gives no estimate";
    store.LearnRate(40, 120.0);
    store.LearnRate(40, 80.0); // halfway towards the newest
    store.LearnRate(55, 30.5);
    EXPECT_DOUBLE_EQ(*store.LearnedRate(40), 100.0);
    EXPECT_DOUBLE_EQ(*store.LearnedRate(55), 30.5);
    EXPECT_EQ(config.Read("Language", "Language", ""), "2") << "other sections stay";
}

namespace {
QStringList g_messages;
void keepMessage(QtMsgType, const QMessageLogContext&, const QString& message)
{
    g_messages << message;
}
} // namespace

// A user who never opened the window has no configuration folder yet; a
// rate that cannot be kept is said in one line, and nothing else happens.
TEST(EstimateStore, TheFirstRateMakesTheFolderAndAFailedWriteSaysSo)
{
    QTemporaryDir dir;
    shell::ConfigFile fresh(dir.filePath("never-opened/kovra/Config.ini"));
    shell::EstimateStore store(fresh);
    store.LearnRate(50, 703.25);
    const std::optional<double> learned = shell::EstimateStore(fresh).LearnedRate(50);
    ASSERT_TRUE(learned);
    EXPECT_DOUBLE_EQ(*learned, 703.25);

    QFile blocker(dir.filePath("file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    shell::ConfigFile blocked(dir.filePath("file/Config.ini"));
    g_messages.clear();
    const QtMessageHandler previous = qInstallMessageHandler(keepMessage);
    shell::EstimateStore(blocked).LearnRate(50, 703.25);
    qInstallMessageHandler(previous);
    ASSERT_EQ(g_messages.size(), 1);
    EXPECT_TRUE(g_messages[0].startsWith("cannot keep the learned rate")) << g_messages[0].toStdString();
    EXPECT_FALSE(g_messages[0].contains('\n'));
}

namespace {
class FakeNotifier final : public platform::DesktopNotifier {
public:
    QStringList shown;
    bool Notify(const QString& title, const QString& body) override
    {
        shown << title + ": " + body;
        return true;
    }
};
} // namespace

// The run clock goes on over a second Start after the end; the notice gives
// the job's own time, the one its progress shows.
TEST(JobEndNotice, TheFinishedEngravingIsAnnouncedWithItsOwnTime)
{
    link::LinkEvents link;
    job::JobEvents jobEvents;
    qint64 nowMs = 0;
    job::JobProgress progress(link, jobEvents, nullptr, [&] { return nowMs; });
    FakeNotifier notifier;
    QWidget window;
    int runSeconds = 0;
    shell::JobEndNotice notice(link, progress, notifier, window, [&] { return runSeconds; });

    // A job the progress did not follow (no picture sent in this run) gives the run clock.
    runSeconds = 754;
    emit link.carvingFinished();
    emit link.connectionBroken(2);
    EXPECT_EQ(notifier.shown, QStringList{"Kovra Laser: Engraving finished in 12:34."});

    const QByteArray raster(job::EngraveBufferSize, '\x0F');
    emit jobEvents.pictureAnnounced(raster);
    emit link.pictureSent(true, raster.size(), raster.size());
    runSeconds = 0;
    for (const int seconds : {102, 80}) {
        emit jobEvents.carvingStarted(false);
        nowMs += seconds * 1000;
        runSeconds += seconds;
        emit link.carvingFinished();
    }
    EXPECT_EQ(notifier.shown.last(), "Kovra Laser: Engraving finished in 1:20.");
    EXPECT_TRUE(shell::JobProgressView::Text(progress.State()).endsWith("finished in 1:20"));
}
