// The main window's control groups and its message log.
#include "image/drawing_board.h"
#include "shell/control_groups.h"
#include "shell/widgets/board_widget.h"
#include "shell/main_window.h"
#include "shell/widgets/message_log.h"

#include <QCheckBox>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QTextBlock>
#include <gtest/gtest.h>

using namespace kovra;

namespace {

struct Window {
    image::DrawingBoard preview{512, 512};
    image::DrawingBoard hruler{558, 14};
    image::DrawingBoard vruler{10, 558};
    shell::MainWindow window{preview, hruler, vruler, QPixmap(10, 10)};
    shell::ControlGroups groups{window, preview};

    QList<QRadioButton*> radios() { return {window.PointRadio, window.CenterRadio, window.BoxRadio}; }
    QList<QWidget*> locationControls()
    {
        return {window.PointRadio, window.CenterRadio, window.BoxRadio, window.UpButton, window.DownButton,
            window.LeftButton, window.RightButton};
    }
};

QStringList captions(const QList<QWidget*>& controls)
{
    QStringList out;
    for (QWidget* w : controls) {
        if (auto* b = qobject_cast<QAbstractButton*>(w))
            out << b->text();
    }
    return out;
}

} // namespace

TEST(ControlGroups, TheMachineListIsTheFixedTwentyInOrder)
{
    Window w;
    QStringList names;
    for (QWidget* c : w.groups.machineControls())
        names << c->objectName();
    EXPECT_EQ(names,
        QStringList({"UpButton", "DownButton", "LeftButton", "RightButton", "PauseButton", "StartButton", "PointRadio",
            "CenterRadio", "BoxRadio", "SendImageButton", "RestartButton", "BurnTimeSlider", "SettingButton",
            "FastForwardButton", "FastBackwardButton", "RecarveButton", "ClearButton", "ZoomOutButton", "RotateButton",
            "ReloadButton"}));
}

TEST(ControlGroups, DisableThenEnableLeavesAllTwentyEnabledWhateverBefore)
{
    Window w;
    // At start three job buttons are disabled and the rest enabled.
    EXPECT_FALSE(w.window.StartButton->isEnabled());
    EXPECT_FALSE(w.window.PauseButton->isEnabled());
    EXPECT_FALSE(w.window.RestartButton->isEnabled());
    w.groups.DisableMachineControls();
    for (QWidget* c : w.groups.machineControls())
        EXPECT_FALSE(c->isEnabled()) << c->objectName().toStdString();
    // Controls outside the group are left alone.
    EXPECT_TRUE(w.window.ConnectButton->isEnabled());
    EXPECT_TRUE(w.window.UseKeyboardCheck->isEnabled());
    w.groups.EnableMachineControls();
    for (QWidget* c : w.groups.machineControls())
        EXPECT_TRUE(c->isEnabled()) << c->objectName().toStdString();
}

TEST(ControlGroups, EnableChangesNeitherCheckMarksNorCaptions)
{
    Window w;
    w.window.BoxRadio->setChecked(true);
    const QStringList before = captions(w.groups.machineControls());
    w.groups.EnableMachineControls();
    w.groups.DisableMachineControls();
    w.groups.EnableMachineControls();
    EXPECT_TRUE(w.window.BoxRadio->isChecked());
    EXPECT_EQ(captions(w.groups.machineControls()), before);
}

TEST(ControlGroups, ResetUnchecksEnablesAndRestoresTheDefaultPointer)
{
    Window w;
    w.groups.LockLocationControls();
    w.window.PointRadio->setChecked(true);
    w.preview.SetPointer(shell::CrosshairPointer);
    w.groups.ResetLocationControls();
    for (QRadioButton* r : w.radios())
        EXPECT_FALSE(r->isChecked()) << r->objectName().toStdString();
    for (QWidget* c : w.locationControls())
        EXPECT_TRUE(c->isEnabled()) << c->objectName().toStdString();
    EXPECT_EQ(w.preview.Pointer(), shell::DefaultPointer);
}

TEST(ControlGroups, ResetThenLockAsAtStartOfAJob)
{
    Window w;
    w.window.CenterRadio->setChecked(true);
    w.preview.SetPointer(shell::IBeamPointer);
    w.groups.ResetLocationControls();
    w.groups.LockLocationControls();
    for (QRadioButton* r : w.radios())
        EXPECT_FALSE(r->isChecked());
    for (QWidget* c : w.locationControls())
        EXPECT_FALSE(c->isEnabled()) << c->objectName().toStdString();
    // Only the seven: the rest of the machine controls keep their state.
    EXPECT_TRUE(w.window.SendImageButton->isEnabled());
    EXPECT_TRUE(w.window.BurnTimeSlider->isEnabled());
    EXPECT_EQ(w.preview.Pointer(), shell::DefaultPointer);
}

TEST(MessageLog, StartsWithTheWelcomeLineAndAppendsAtTheEnd)
{
    Window w;
    shell::MessageLog& log = *w.window.Log;
    EXPECT_EQ(log.loggedText(), QString::fromLatin1("             Welcome(^_^)\r\n"));
    EXPECT_EQ(log.document()->firstBlock().text(), QStringLiteral("             Welcome(^_^)"));

    log.AppendLogText(QStringLiteral("Automatic Connecting...\r\n"));
    log.AppendLogLine(QStringLiteral("Firmware version : 1"));
    log.AppendLogText(QStringLiteral("\r\n----------Please wait-----------\r\n"));
    EXPECT_TRUE(log.loggedText().endsWith(
        QStringLiteral("Automatic Connecting...\r\nFirmware version : 1\r\n\r\n----------Please wait-----------\r\n")));
    // Each "\r\n" is one line break on screen, no stray characters.
    const QStringList shown = log.toPlainText().split(QLatin1Char('\n'));
    EXPECT_EQ(shown.mid(0, 6),
        QStringList({"             Welcome(^_^)", "Automatic Connecting...", "Firmware version : 1", "",
            "----------Please wait-----------", ""}));
    EXPECT_FALSE(log.toPlainText().contains(QLatin1Char('\r')));
}

TEST(MessageLog, AppendsAfterTheUserMovedTheCaretAndIsNeverTrimmed)
{
    Window w;
    w.window.resize(1025, 684);
    w.window.show();
    shell::MessageLog& log = *w.window.Log;
    // The user clicks into the middle of the log; the next text still goes at the end.
    QTextCursor c = log.textCursor();
    c.setPosition(3);
    log.setTextCursor(c);
    for (int i = 0; i < 3000; ++i)
        log.AppendLogLine(QStringLiteral("line %1").arg(i));
    EXPECT_EQ(log.document()->blockCount(), 1 + 3000 + 1);
    EXPECT_EQ(log.document()->findBlockByNumber(1).text(), QStringLiteral("line 0"));
    EXPECT_EQ(log.document()->findBlockByNumber(3000).text(), QStringLiteral("line 2999"));
    // The newest line is in view.
    QScrollBar* bar = log.verticalScrollBar();
    EXPECT_EQ(bar->value(), bar->maximum());
}

TEST(MainWindow, TheTextBoxButtonStaysClickableOverTheTextBox)
{
    Window w;
    // The text box is placed to reach (490, 490), under the OK button at (445, 445).
    w.window.TextPreviewEdit->setGeometry(60, 100, 430, 390);
    w.window.TextPreviewEdit->show();
    w.window.TextConfirmButton->show();
    QWidget* canvas = w.window.PreviewBoard->canvas();
    QWidget* hit = canvas->childAt(QPoint(465, 465));
    while (hit && hit->parentWidget() != canvas)
        hit = hit->parentWidget();
    EXPECT_EQ(hit, w.window.TextConfirmButton);
    // Board controls are placed in board coordinates, inside the frame.
    EXPECT_EQ(w.window.TextConfirmButton->mapTo(w.window.PreviewBoard, QPoint(0, 0)), QPoint(446, 446));
}
