// The command-line engraving's terminal, driven by the link's and the job's
// events through the same presenter as the window.
#include "app/console_views.h"
#include "link/link_events.h"
#include "shell/machine_presenter.h"

#include <QTextStream>

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
