// What the window does for each event of the picture flow: the controls it
// switches, the pointers of the effect boards, the actions it sets going in
// other parts, and the log line of a refused file.
#include "image/drawing_board.h"
#include "shell/widgets/board_widget.h"
#include "picture/picture_events.h"
#include "shell/control_groups.h"
#include "shell/main_window.h"
#include "shell/widgets/message_log.h"
#include "shell/picture_presenter.h"
#include "shell/shell_views.h"

#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <gtest/gtest.h>

namespace kovra::test {
namespace {

using picture::Edit;

class NoBox final : public shell::MessageBox {
public:
    void Show(const QString&, const QString&) override {}
};

class PicturePresenterTest : public ::testing::Test {
protected:
    PicturePresenterTest() { groups.EnableMachineControls(); }

    // Each action says what it is and whether StartButton (one of the
    // machine controls) was enabled when it ran.
    std::function<void()> record(const char* name)
    {
        return [this, name] {
            actions << QString::fromLatin1(name) + (window.StartButton->isEnabled() ? "" : " (machine off)");
        };
    }
    QStringList enabledOf(const QList<QWidget*>& controls) const
    {
        QStringList names;
        for (QWidget* c : controls)
            if (c->isEnabled())
                names << c->objectName();
        return names;
    }

    image::DrawingBoard preview{512, 512}, horizontalRuler{558, 14}, verticalRuler{10, 558};
    image::DrawingBoard blackWhite{512, 512}, dither{512, 512};
    shell::MainWindow window{preview, horizontalRuler, verticalRuler, QPixmap(10, 10)};
    shell::ControlGroups groups{window, preview};
    NoBox boxes;
    shell::ShellViews views{window, groups, boxes};
    picture::PictureEvents events;
    QStringList actions;
    shell::PicturePresenter presenter{events, blackWhite, dither, views,
        {record("open"), record("close"), record("pause"), record("reset clock"),
         [this] {
             views.EnablePictureButtons();
             actions << QStringLiteral("picture buttons");
         }}};
};

TEST_F(PicturePresenterTest, ALoadedPictureOpensTheWindowPausesAndLeavesOnlyThePictureButtons)
{
    EXPECT_EQ(blackWhite.Pointer(), shell::WaitPointer);
    blackWhite.SetPointer(shell::HandPointer);
    dither.SetPointer(shell::HandPointer);
    emit events.loaded(QStringLiteral("/tmp/a.png"), QSize(300, 200));
    EXPECT_EQ(actions, (QStringList{"open", "pause", "picture buttons", "reset clock (machine off)"}));
    EXPECT_EQ(enabledOf(groups.machineControls()),
              (QStringList{"SendImageButton", "ClearButton", "ZoomOutButton", "RotateButton", "ReloadButton"}));
    EXPECT_EQ(blackWhite.Pointer(), shell::WaitPointer);
    EXPECT_EQ(dither.Pointer(), shell::WaitPointer);

    emit events.renderingsReady();
    EXPECT_EQ(blackWhite.Pointer(), shell::HandPointer);
    EXPECT_EQ(dither.Pointer(), shell::HandPointer);
    actions.clear();
    emit events.chosen(rendering::Rendering::Dither);
    EXPECT_EQ(actions, QStringList{"close (machine off)"});
}

TEST_F(PicturePresenterTest, ARefusedFileIsOneLogLineAndNothingElse)
{
    const QString before = window.Log->loggedText();
    emit events.refused(QStringLiteral("/tmp/notes.bmp"), QStringLiteral("not a picture this program can read"));
    EXPECT_EQ(window.Log->loggedText(),
              before + QStringLiteral("Cannot open picture \"/tmp/notes.bmp\": not a picture this program can read\r\n"));
    EXPECT_TRUE(actions.isEmpty());
    EXPECT_EQ(enabledOf(groups.machineControls()).size(), 20);
}

TEST_F(PicturePresenterTest, ClearEnablesTheMachineControlsAndResetsThePositionBoxes)
{
    const struct {
        Edit edit;
        bool resets;
    } cases[] = {{Edit::Rotated, false}, {Edit::ZoomedOut, false}, {Edit::Reloaded, false}, {Edit::Cleared, true}};
    for (const auto& c : cases) {
        groups.DisableMachineControls();
        window.XEdit->setText(QStringLiteral("123"));
        window.YEdit->setText(QStringLiteral("45"));
        emit events.edited(c.edit);
        EXPECT_EQ(enabledOf(groups.machineControls()).size(), c.resets ? 20 : 0) << int(c.edit);
        EXPECT_EQ(window.XEdit->text(), c.resets ? QStringLiteral("000") : QStringLiteral("123")) << int(c.edit);
        EXPECT_EQ(window.YEdit->text(), c.resets ? QStringLiteral("000") : QStringLiteral("45")) << int(c.edit);
    }
    emit events.textPlaced(QPoint(10, 10), QStringLiteral("text"));
    EXPECT_TRUE(actions.isEmpty());
}

} // namespace
} // namespace kovra::test
