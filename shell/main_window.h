#pragma once
// The main window: builds every control at its place and hands them out as
// its members. Behaviour lives in the subsystems; the composition root wires them.

#include <QStringList>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSlider;

namespace kovra::image {
class DrawingBoard;
}

namespace kovra::shell {

class BoardWidget;
class MessageLog;

class MainWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "Kovra Laser CNC Software V1.0.0";

    // previewBoard is the 512 × 512 board; the rulers get their pictures.
    MainWindow(image::DrawingBoard& previewBoard, image::DrawingBoard& horizontalRuler,
        image::DrawingBoard& verticalRuler, const QPixmap& logo, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Buttons
    QPushButton* StartButton = nullptr;
    QPushButton* PauseButton = nullptr;
    QPushButton* RestartButton = nullptr;
    QPushButton* SendImageButton = nullptr;
    QPushButton* ConnectButton = nullptr;
    QPushButton* BreakButton = nullptr;
    QPushButton* SettingButton = nullptr;
    QPushButton* UpButton = nullptr;
    QPushButton* DownButton = nullptr;
    QPushButton* LeftButton = nullptr;
    QPushButton* RightButton = nullptr;
    QPushButton* FastForwardButton = nullptr;
    QPushButton* RecarveButton = nullptr;
    QPushButton* FastBackwardButton = nullptr;
    QPushButton* ZoomOutButton = nullptr;
    QPushButton* ClearButton = nullptr;
    QPushButton* RotateButton = nullptr;
    QPushButton* ReloadButton = nullptr;
    QPushButton* FontButton = nullptr;
    QPushButton* TextConfirmButton = nullptr;
    // Radios and the check box
    QRadioButton* PointRadio = nullptr;
    QRadioButton* CenterRadio = nullptr;
    QRadioButton* BoxRadio = nullptr;
    QRadioButton* TextRadio = nullptr;
    QCheckBox* UseKeyboardCheck = nullptr;
    // Group boxes
    QGroupBox* MessageGroup = nullptr;
    QGroupBox* PreviewGroup = nullptr;
    QGroupBox* LocationModeGroup = nullptr;
    QGroupBox* MovementGroup = nullptr;
    QGroupBox* ProgressGroup = nullptr;
    QGroupBox* EditGroup = nullptr;
    // Labels
    QLabel* RunTimeLabel = nullptr;
    QLabel* TimeValueLabel = nullptr;
    QLabel* BurnTimeLabel = nullptr;
    QLabel* BurnTimeValueLabel = nullptr;
    QLabel* LanguageLabel = nullptr;
    QLabel* CoordLabel = nullptr;
    QLabel* CoordLabel1 = nullptr;
    QLabel* LogoLabel = nullptr;
    QLabel* HotkeyLabel = nullptr;
    // Edit boxes and the rest
    MessageLog* Log = nullptr;
    QPlainTextEdit* TextEdit = nullptr;
    QPlainTextEdit* TextPreviewEdit = nullptr;
    QLineEdit* XEdit = nullptr;
    QLineEdit* YEdit = nullptr;
    QComboBox* LanguageCombo = nullptr;
    QSlider* BurnTimeSlider = nullptr;
    BoardWidget* PreviewBoard = nullptr;
    BoardWidget* HorizontalRuler = nullptr;
    BoardWidget* VerticalRuler = nullptr;
    // Shows the picture transfer while it runs; hidden otherwise.
    QProgressBar* TransferProgress = nullptr;

    // The member above whose control has that name ("StartButton",
    // "MessageGroup", ...), as the caption blocks name them; null for none.
    QWidget* controlNamed(QLatin1String name) const;

signals:
    // The paths of a drop anywhere on the window, in the order given.
    void filesDropped(const QStringList& paths);
    void closing();

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls(image::DrawingBoard& previewBoard, image::DrawingBoard& horizontalRuler,
        image::DrawingBoard& verticalRuler, const QPixmap& logo);
    void buildGroups();
    void buildPreview(image::DrawingBoard& previewBoard, image::DrawingBoard& horizontalRuler,
        image::DrawingBoard& verticalRuler);
    void buildTextControls(const QPixmap& logo);
    void buildLocationAndLanguage();
    void buildMovementAndEdits();
    void buildPositionBoxes();
    void buildJobControls();
};

} // namespace kovra::shell
