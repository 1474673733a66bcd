// What the window shows for each event of the link and the job: the log
// texts exactly, the captions, the enabled states, the boxes, in order.
#include "shell/machine_presenter.h"
#include "shell/machine_texts.h"

#include "recording_surface.h"

#include <gtest/gtest.h>

#include <functional>

using namespace kovra;
using job::JogDirection;
using job::LocationMode;

namespace {

const QString Banner = QString(22, '>') + QString(13, ' ') + "CONNECTED !" + QString(4, ' ') + QString(22, '<');
const QString InitBanner = QString(22, '>') + QString(7, ' ') + "Initialization complete!" + QString(22, '<');

struct PresenterFixture : ::testing::Test {
    link::LinkEvents link;
    job::JobEvents job;
    test::RecordingSurface surface;
    shell::MachinePresenter presenter{link, job, surface};
};

struct Case {
    const char* name;
    std::function<void(link::LinkEvents&, job::JobEvents&)> event;
    QStringList shown;
};

} // namespace

TEST_F(PresenterFixture, LinkEventsBecomeTheWindowsTextsAndStates)
{
    using L = link::LinkEvents;
    using J = job::JobEvents;
    const QList<Case> cases = {
        {"scan", [](L& l, J&) { emit l.scanStarted(); },
            {"text:Automatic Connecting...\r\n", "caption:Connecting..."}},
        {"connected", [](L& l, J&) { emit l.connected(7); },
            {"caption:OK", "connectEnabled:0", "breakVisible:1", "enable", "line:" + Banner}},
        // The machine controls stay as they are: the new scan will tell.
        {"broken", [](L& l, J&) { emit l.connectionBroken(3); }, {"line:>>>Connection BREAK !<<<"}},
        {"disconnected", [](L& l, J&) { emit l.disconnected(); },
            {"caption:Connect", "connectEnabled:1", "text:Disconnected Connection\r\n\r\n", "disable"}},
        {"port list", [](L& l, J&) { emit l.portListUnreadable(5); },
            {QStringLiteral("box:打开状态=5, 键句柄=0|提示信息")}},
        {"denied", [](L& l, J&) { emit l.devicesDenied("dialout", {"COM1 (/dev/ttyUSB0)", "COM33 (/dev/ttyS0)"}); },
            {"line:Cannot open COM1 (/dev/ttyUSB0), COM33 (/dev/ttyS0): permission denied. Join the group \"dialout\" "
             "that owns the device (sudo usermod -aG dialout $USER), then log in again."}},
        {"denied, many", [](L& l, J&) { emit l.devicesDenied({}, {"COM1", "COM2", "COM3", "COM4", "COM5", "COM6"}); },
            {"line:Cannot open COM1, COM2, COM3, COM4 and 2 more: permission denied."}},
        {"firmware", [](L& l, J&) { emit l.firmwareReported(1); }, {"line:Firmware version : 1"}},
        {"firmware newer", [](L& l, J&) { emit l.firmwareNewerThanSupported(2, 1); },
            {"box:Please update your software, or some features may not be used.|Message"}},
        {"row", [](L& l, J&) { emit l.rowReported(144); }, {"x:144"}},
        {"position", [](L& l, J&) { emit l.positionReported(144, 10); }, {"y:10"}},
        {"finished", [](L& l, J&) { emit l.carvingFinished(); }, {"line:Carved finish !", "resetLocations"}},
        {"no motor power", [](L& l, J&) { emit l.motorStatusReported(0); },
            {"line:Please access the motor power supply !"}},
        {"initialised", [](L& l, J&) { emit l.motorStatusReported(1); }, {"line:" + InitBanner}},
        {"value", [](L& l, J&) { emit l.valueReported(1234); }, {"line:1234"}},
        {"burn time", [](L& l, J&) { emit l.burnTimeReported(50); }, {"burnTime:50"}},
        {"burn time sent", [](L& l, J&) { emit l.burnTimeSent(55); }, {"line:Burning Time: 55"}},
        {"burn time 100", [](L& l, J&) { emit l.burnTimeSent(100); },
            {"line:Burning Time: 100", QStringLiteral("line:按按键可以继续调节灼烧时间")}},
        {"reversed", [](L& l, J&) { emit l.motorReversed('X'); }, {"box:Saved !|Info"}},
        {"picture", [](L& l, J&) {
             emit l.pictureSending(32768);
             emit l.pictureProgress(0, 32768);
             emit l.pictureProgress(32768, 32768);
             emit l.pictureSent(true, 32768, 32768);
         },
            {"text:Sending New Image...\r\n", "progress:0/32768", "progress:32768/32768", "hideProgress",
                "text:Sending Complete !\r\n\r\n", "enable"}},
        {"no picture", [](L& l, J&) {
             emit l.pictureSending(0);
             emit l.pictureSent(true, 0, 0);
         },
            {"text:Sending New Image...\r\n", "text:Sending Complete !\r\n\r\n", "enable"}},
        // Not "Sending Complete !": the machine did not get the picture.
        {"picture failed", [](L& l, J&) { emit l.pictureSent(false, 1000, 32768); },
            {"hideProgress", "text:Sending Failed ! The port closed after 1000 of 32768 bytes.\r\n\r\n"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.event(link, job);
        EXPECT_EQ(surface.take(), c.shown);
    }
}

TEST_F(PresenterFixture, JobEventsBecomeTheWindowsTextsAndStates)
{
    using L = link::LinkEvents;
    using J = job::JobEvents;
    const QList<Case> cases = {
        {"announced", [](L&, J& j) { emit j.pictureAnnounced(QByteArray(32768, '\0')); },
            {"text:\r\n----------Please wait-----------\r\n", "text:Erasing Last Image...\r\n"}},
        {"started", [](L&, J& j) { emit j.carvingStarted(false); },
            {"text:Start carving\r\n\r\n", "resetLocations", "lock"}},
        {"paused", [](L&, J& j) { emit j.carvingPaused(); }, {"text:Engraving Pause !\r\n\r\n"}},
        {"recarved", [](L&, J& j) { emit j.recarved(); }, {"text:Recarve\r\n\r\n"}},
        {"restarted", [](L&, J& j) { emit j.restarted(); },
            {"text:Restarting...\r\n\r\n", "enable", "clock:00:00", "x:000", "y:000"}},
        {"forward", [](L&, J& j) { emit j.rowsSkipped(15); }, {"text:Fast Forward for 15 row\r\n\r\n"}},
        {"backward", [](L&, J& j) { emit j.rowsSkipped(-15); }, {"text:Fast Backward for 15 row\r\n\r\n"}},
        {"clock", [](L&, J& j) { emit j.runClockChanged(3); }, {"clock: 00:03"}},
        {"point", [](L&, J& j) { emit j.pointPositioningArmed(); },
            {"line:\r\n>>>>>>>>>>>>>>>>>>>>>>Click the drawing board to location.<<<<<<<<<<<<<<<<"}},
        {"centre", [](L&, J& j) { emit j.centrePositioning(); }, {"line:Laser positioning to image center."}},
        {"box", [](L&, J& j) { emit j.boxPositioning(); },
            {"line:\r\nTo carve content will be limited in the box.",
                "line:Press the direction button to adjust the position."}},
        {"off", [](L&, J& j) { emit j.locationModeOff(LocationMode::Center); }, {"uncheck:center"}},
        {"located", [](L&, J& j) { emit j.laserLocated(100, 205); }, {"line:Position to: 100,205"}},
        {"jogs", [](L&, J& j) {
             for (JogDirection d : {JogDirection::Up, JogDirection::Down, JogDirection::Left, JogDirection::Right})
                 emit j.laserJogged(d);
         },
            {"text:Laser Movement : Up\r\n", "text:Laser Movement : Down\r\n", "text:Laser Movement : Left\r\n",
                "text:Laser Movement : Right\r\n"}},
        {"focus only", [](L&, J& j) { emit j.arrowKeysFocusOnly(); },
            {"line:The arrow keys move the laser only while this program has the focus."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.event(link, job);
        EXPECT_EQ(surface.take(), c.shown);
    }
}

TEST(RunClockCaption, OneLeadingSpaceAndTwoDigitFieldsResetWithout)
{
    const QList<QPair<int, QString>> cases = {{0, "00:00"}, {1, " 00:01"}, {5, " 00:05"}, {65, " 01:05"},
        {600, " 10:00"}, {3599, " 59:59"}, {6000, " 100:00"}};
    for (const auto& [seconds, caption] : cases)
        EXPECT_EQ(shell::MachinePresenter::RunClockCaption(seconds), caption) << seconds;
    EXPECT_EQ(shell::texts::ConnectedBanner, Banner);
    EXPECT_EQ(shell::texts::InitializationBanner, InitBanner);
}
