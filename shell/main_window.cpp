#include "shell/main_window.h"

#include "image/drawing_board.h"
#include "shell/widgets/board_widget.h"
#include "shell/widgets/file_drop_router.h"
#include "shell/widgets/message_log.h"
#include "shell/widgets/place_control.h"
#include "shell/widgets/window_fonts.h"
#include "shell/widgets/window_placement.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

namespace kovra::shell {

namespace {

QPushButton* button(QWidget* parent, const char* name, int x, int y, int w, int h, const QString& text,
    const QFont& font = ButtonFont())
{
    auto* b = PlaceControl<QPushButton>(parent, name, x, y, w, h);
    b->setText(text);
    b->setFont(font);
    return b;
}

QRadioButton* radio(QWidget* parent, const char* name, int x, int y, int w, int h, const QString& text)
{
    auto* r = PlaceControl<QRadioButton>(parent, name, x, y, w, h);
    r->setText(text);
    r->setFont(ArialFont(12));
    return r;
}

QGroupBox* group(QWidget* parent, const char* name, int x, int y, int w, int h, const QString& title)
{
    auto* g = PlaceControl<QGroupBox>(parent, name, x, y, w, h);
    g->setTitle(title);
    g->setFont(ButtonFont());
    return g;
}

QLabel* label(QWidget* parent, const char* name, int x, int y, int w, int h, const QString& text, const QFont& font)
{
    auto* l = PlaceControl<QLabel>(parent, name, x, y, w, h);
    l->setText(text);
    l->setFont(font);
    return l;
}

BoardWidget* board(QWidget* parent, const char* name, image::DrawingBoard& picture, int x, int y, int w, int h)
{
    auto* b = new BoardWidget(picture, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(x, y, w, h);
    return b;
}

} // namespace

MainWindow::MainWindow(image::DrawingBoard& previewBoard, image::DrawingBoard& horizontalRuler,
    image::DrawingBoard& verticalRuler, const QPixmap& logo, QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QString::fromUtf8(kTitle));
    setAcceptDrops(true);
    WindowPlacement::Keep(this, QRect(50, 50, 1025, 684), WindowPlacement::Sizing::Resizable);
    buildControls(previewBoard, horizontalRuler, verticalRuler, logo);
    // The text boxes take drops of their own; a dropped file still opens as a picture.
    auto* drops = new FileDropRouter(this, [this](const QStringList& paths) { emit filesDropped(paths); });
    drops->watchChildren();
}

MainWindow::~MainWindow() = default;

void MainWindow::buildControls(image::DrawingBoard& previewBoard, image::DrawingBoard& horizontalRuler,
    image::DrawingBoard& verticalRuler, const QPixmap& logo)
{
    // In the window's order of creation, which is also its stacking order.
    buildGroups();
    buildPreview(previewBoard, horizontalRuler, verticalRuler);
    buildTextControls(logo);
    buildLocationAndLanguage();
    buildMovementAndEdits();
    buildPositionBoxes();
    buildJobControls();
}

void MainWindow::buildGroups()
{
    QWidget* w = this;
    // Containers first, so their children are placed inside them.
    MessageGroup = group(w, "MessageGroup", 16, 56, 200, 328, QStringLiteral("Message"));
    PreviewGroup = group(w, "PreviewGroup", 232, 56, 528, 536, QStringLiteral("Carve Preview"));
    LocationModeGroup = group(w, "LocationModeGroup", 776, 72, 232, 168, QStringLiteral("Location Mode"));
    MovementGroup = group(w, "MovementGroup", 776, 256, 232, 112, QStringLiteral("Movement"));
    ProgressGroup = group(w, "ProgressGroup", 776, 392, 232, 64, QStringLiteral("Carve Rate Control"));
    EditGroup = group(w, "EditGroup", 776, 472, 232, 64, QStringLiteral("Image Editing"));
}

void MainWindow::buildPreview(image::DrawingBoard& previewBoard, image::DrawingBoard& horizontalRuler,
    image::DrawingBoard& verticalRuler)
{
    // The rulers lie under the board; the board is created after them so it stays on top.
    HorizontalRuler = board(PreviewGroup, "HorizontalRuler", horizontalRuler, 8, 521, 560, 16);
    VerticalRuler = board(PreviewGroup, "VerticalRuler", verticalRuler, 513, 16, 12, 560);
    PreviewBoard = board(PreviewGroup, "PreviewBoard", previewBoard, 8, 16, 514, 514);

    TextConfirmButton = button(PreviewBoard->canvas(), "TextConfirmButton", 445, 445, 40, 40, QStringLiteral("OK"));
    TextConfirmButton->hide();
    TextPreviewEdit = PlaceControl<QPlainTextEdit>(PreviewBoard->canvas(), "TextPreviewEdit", 215, 447, 208, 40);
    TextPreviewEdit->setLineWrapMode(QPlainTextEdit::NoWrap);
    TextPreviewEdit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    TextPreviewEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    {
        QPalette pal = TextPreviewEdit->palette();
        pal.setColor(QPalette::Base, Qt::white);
        pal.setColor(QPalette::Text, Qt::black);
        TextPreviewEdit->setPalette(pal);
    }
    TextPreviewEdit->hide();
    // The OK button sits over the text box, which reaches to (490, 490).
    TextConfirmButton->raise();
}

void MainWindow::buildTextControls(const QPixmap& logo)
{
    QWidget* w = this;
    TextRadio = radio(w, "TextRadio", 128, 456, 88, 24, QStringLiteral("Location"));
    FontButton = button(w, "FontButton", 16, 456, 80, 24, QStringLiteral("Font"), ArialFont(12));
    TextEdit = PlaceControl<QPlainTextEdit>(w, "TextEdit", 16, 392, 200, 56);
    TextEdit->setFont(ArialFont(12));
    TextEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    TextEdit->setPlainText(QStringLiteral("Input Text Here..."));

    LogoLabel = PlaceControl<QLabel>(w, "LogoLabel", 16, 488, 200, 72);
    LogoLabel->setPixmap(logo.scaled(200, 72, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    LogoLabel->setAlignment(Qt::AlignCenter);
    LogoLabel->setCursor(Qt::PointingHandCursor);
}

void MainWindow::buildLocationAndLanguage()
{
    QWidget* w = this;
    CenterRadio = radio(LocationModeGroup, "CenterRadio", 32, 64, 168, 40, QString::fromUtf8("到中心"));
    BoxRadio = radio(LocationModeGroup, "BoxRadio", 32, 112, 168, 40, QString::fromUtf8("框定位"));
    PointRadio = radio(LocationModeGroup, "PointRadio", 32, 16, 168, 40, QString::fromUtf8("任意点定位"));

    TimeValueLabel = label(MessageGroup, "TimeValueLabel", 144, 304, 48, 16, QStringLiteral("00:00"), CalibriFont(16));
    BurnTimeValueLabel = label(w, "BurnTimeValueLabel", 896, 608, 24, 32, QStringLiteral("40"), CalibriFont(16));
    LanguageLabel = label(w, "LanguageLabel", 16, 568, 72, 24, QStringLiteral("Language :"), CalibriFont(14, true));

    LanguageCombo = PlaceControl<QComboBox>(w, "LanguageCombo", 88, 568, 120, 20);
    LanguageCombo->setFont(CalibriFont(14, true));
    LanguageCombo->addItems({QStringLiteral("English"), QString::fromUtf8("简体中文"), QString::fromUtf8("日本語"),
        QStringLiteral("Francais"), QStringLiteral("Italian"), QStringLiteral("Deutsch")});
    LanguageCombo->setCurrentIndex(-1);
}

void MainWindow::buildMovementAndEdits()
{
    LeftButton = button(MovementGroup, "LeftButton", 40, 56, 48, 32, QStringLiteral("Left"));
    DownButton = button(MovementGroup, "DownButton", 96, 56, 48, 32, QStringLiteral("Down"));
    UpButton = button(MovementGroup, "UpButton", 96, 16, 48, 32, QStringLiteral("Up"));
    RightButton = button(MovementGroup, "RightButton", 152, 56, 48, 32, QStringLiteral("Right"));
    UseKeyboardCheck = PlaceControl<QCheckBox>(MovementGroup, "UseKeyboardCheck", 0, 96, 104, 16);
    UseKeyboardCheck->setText(QStringLiteral("Use Keyboard"));
    UseKeyboardCheck->setFont(ArialFont(12));

    FastForwardButton = button(ProgressGroup, "FastForwardButton", 152, 16, 64, 40, QStringLiteral("      Fast      Forward"));
    RecarveButton = button(ProgressGroup, "RecarveButton", 80, 16, 64, 40, QStringLiteral("Recarve"));
    FastBackwardButton = button(ProgressGroup, "FastBackwardButton", 8, 16, 64, 40, QStringLiteral("      Fast      Backward"));

    ZoomOutButton = button(EditGroup, "ZoomOutButton", 120, 16, 48, 40, QStringLiteral("Zoom Out"));
    ClearButton = button(EditGroup, "ClearButton", 8, 16, 48, 40, QStringLiteral("Clear"));
    RotateButton = button(EditGroup, "RotateButton", 176, 16, 48, 40, QStringLiteral("Rotate"));
    ReloadButton = button(EditGroup, "ReloadButton", 64, 16, 48, 40, QStringLiteral("Reload"));
}

void MainWindow::buildPositionBoxes()
{
    QWidget* w = this;
    auto editBox = [w](const char* name, int x) {
        auto* e = PlaceControl<QLineEdit>(w, name, x, 560, 72, 24);
        e->setText(QStringLiteral("000"));
        e->setAlignment(Qt::AlignCenter);
        e->setFont(CalibriFont(21));
        return e;
    };
    YEdit = editBox("YEdit", 920);
    XEdit = editBox("XEdit", 808);
    CoordLabel = label(w, "CoordLabel", 776, 560, 24, 24, QStringLiteral("X:"), CalibriFont(29));
    CoordLabel1 = label(w, "CoordLabel1", 888, 560, 24, 24, QStringLiteral("Y:"), CalibriFont(29));

    HotkeyLabel = PlaceControl<QLabel>(w, "HotkeyLabel", 400, 8, 24, 24);
    HotkeyLabel->hide();
    RunTimeLabel = label(w, "RunTimeLabel", 24, 360, 136, 16, QStringLiteral("Run time :"), CalibriFont(16));
}

void MainWindow::buildJobControls()
{
    QWidget* w = this;
    SettingButton = button(w, "SettingButton", 936, 608, 64, 32, QStringLiteral("Setting"));
    RestartButton = button(w, "RestartButton", 640, 8, 96, 40, QStringLiteral("Restart"));
    RestartButton->setEnabled(false);
    BreakButton = button(w, "BreakButton", 120, 8, 80, 32, QStringLiteral("Break"));
    PauseButton = button(w, "PauseButton", 456, 8, 96, 40, QStringLiteral("Pause"));
    PauseButton->setEnabled(false);

    Log = new MessageLog(MessageGroup);
    Log->setObjectName(QStringLiteral("MessageLog"));
    Log->setGeometry(8, 16, 184, 288);
    Log->setFont(ArialFont(12));

    ConnectButton = button(w, "ConnectButton", 24, 8, 80, 32, QStringLiteral("Connecting"));
    BurnTimeLabel = label(w, "BurnTimeLabel", 760, 608, 128, 32, QStringLiteral("Burning time:"), CalibriFont(16));
    BurnTimeSlider = PlaceControl<QSlider>(w, "BurnTimeSlider", 8, 608, 752, 40);
    BurnTimeSlider->setOrientation(Qt::Horizontal);
    BurnTimeSlider->setRange(1, 100);
    BurnTimeSlider->setPageStep(5);
    BurnTimeSlider->setSingleStep(1);
    BurnTimeSlider->setTickPosition(QSlider::TicksBelow);
    BurnTimeSlider->setTickInterval(1);
    BurnTimeSlider->setValue(40);
    StartButton = button(w, "StartButton", 264, 8, 96, 40, QStringLiteral("Start"));
    StartButton->setEnabled(false);
    SendImageButton = button(w, "SendImageButton", 808, 8, 168, 56, QStringLiteral("Send Image To Machine"));

    // Not a control of the original window: the picture transfer's progress,
    // shown in the free strip beside the job buttons while a picture is written.
    TransferProgress = PlaceControl<QProgressBar>(w, "TransferProgress", 232, 592, 528, 14);
    TransferProgress->setRange(0, 100);
    TransferProgress->setTextVisible(true);
    TransferProgress->setFormat(tr("Sending picture %p%"));
    TransferProgress->hide();
}

QWidget* MainWindow::controlNamed(QLatin1String name) const
{
    // The window's own members, not a search through its children.
    QWidget* const controls[] = {StartButton, PauseButton, RestartButton, SendImageButton, ConnectButton, BreakButton,
        SettingButton, UpButton, DownButton, LeftButton, RightButton, FastForwardButton, RecarveButton,
        FastBackwardButton, ZoomOutButton, ClearButton, RotateButton, ReloadButton, FontButton, TextConfirmButton,
        PointRadio, CenterRadio, BoxRadio, TextRadio, UseKeyboardCheck, MessageGroup, PreviewGroup, LocationModeGroup,
        MovementGroup, ProgressGroup, EditGroup, RunTimeLabel, TimeValueLabel, BurnTimeLabel, BurnTimeValueLabel,
        LanguageLabel, CoordLabel, CoordLabel1, LogoLabel, HotkeyLabel, TextEdit, TextPreviewEdit, XEdit, YEdit,
        LanguageCombo, BurnTimeSlider, Log, PreviewBoard, HorizontalRuler, VerticalRuler, TransferProgress};
    for (QWidget* control : controls)
        if (control && control->objectName() == name)
            return control;
    return nullptr;
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event)
{
    const QStringList paths = FileDropRouter::LocalFiles(event->mimeData());
    if (paths.isEmpty())
        return;
    event->acceptProposedAction();
    emit filesDropped(paths);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    emit closing();
    QWidget::closeEvent(event);
}

} // namespace kovra::shell
