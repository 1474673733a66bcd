#include "app/program.h"

#include "assets/artwork.h"
#include "doctor/doctor_command.h"
#include "job/engrave_encoder.h"
#include "job/job_events.h"
#include "job/job_progress.h"
#include "job/keep_awake.h"
#include "job/job_controls.h"
#include "job/positioning.h"
#include "picture/picture_events.h"
#include "picture/picture_flow.h"
#include "platform/desktop_notifier.h"
#include "platform/global_hotkeys.h"
#include "platform/sleep_inhibitor.h"
#include "platform/paths.h"
#include "shell/board_click_mode.h"
#include "shell/board_commands.h"
#include "shell/help/missing_machine_notice.h"
#include "shell/translation/ui_translator.h"
#include "shell/widgets/board_widget.h"
#include "shell/settings/config_file.h"
#include "shell/control_groups.h"
#include "shell/effects/effect_studio.h"
#include "shell/help/doctor_findings_window.h"
#include "shell/effects/effect_window.h"
#include "shell/settings/estimate_store.h"
#include "shell/job_end_notice.h"
#include "shell/job_progress_view.h"
#include "shell/help/help_controller.h"
#include "shell/help/help_window.h"
#include "shell/languages.h"
#include "shell/machine_presenter.h"
#include "shell/main_window.h"
#include "shell/widgets/mouse_events.h"
#include "shell/picture_presenter.h"
#include "shell/settings_window.h"
#include "shell/text_engraving.h"
#include "shell/look/themed_control_look.h"
#include "shell/trace_painter.h"

#include <QApplication>
#include <QGuiApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QUrl>

namespace kovra::app {

namespace {
constexpr int kSupportedFirmwareVersion = 1;
}

void SetDesktopIdentity()
{
    const QString id = QStringLiteral(KOVRA_APP_ID);
    QGuiApplication::setApplicationName(id);
    QGuiApplication::setDesktopFileName(id);
    QGuiApplication::setWindowIcon(assets::WindowIcon());
}

Program::Program()
{
    assets::InitArtwork();
    m_horizontalRuler.SetBackgroundPicture(assets::HorizontalRuler());
    m_verticalRuler.SetBackgroundPicture(assets::VerticalRuler());
    // The design value of the preview board is the Chinese drop hint; the
    // stored language replaces it at startup.
    m_previewBoard.SetBackgroundPicture(assets::DropPrompt(1));

    m_config = std::make_unique<shell::ConfigFile>(platform::ConfigFilePath());
    m_window = std::make_unique<shell::MainWindow>(
        m_previewBoard, m_horizontalRuler, m_verticalRuler, QPixmap::fromImage(assets::Logo()));
    m_groups = std::make_unique<shell::ControlGroups>(*m_window, m_previewBoard);
    m_views = std::make_unique<shell::ShellViews>(*m_window, *m_groups, m_messageBox);

    m_link = std::make_unique<link::MachineLink>(*m_channel,
        link::LinkTimers{m_retryTimer, m_verifyTimer, m_portCheckTimer, m_outputTimer, m_transferTimer});
    m_hotKeys = platform::CreateGlobalHotKeys();
    m_jobEvents = std::make_unique<job::JobEvents>();
    // The trace and the presenter listen first: the window shows an event
    // before anyone else acts on it.
    m_trace = std::make_unique<shell::TracePainter>(m_link->events(), m_previewBoard);
    m_presenter = std::make_unique<shell::MachinePresenter>(m_link->events(), *m_jobEvents, *m_views);
    m_job = std::make_unique<job::JobControls>(m_link->frames(), *m_jobEvents, m_link->events(), m_runTimeTimer);
    m_encoder = std::make_unique<job::EngraveEncoder>(m_link->frames(), *m_jobEvents, m_previewBoard, m_link->picture());
    m_positioning = std::make_unique<job::Positioning>(m_link->frames(), *m_jobEvents, *m_hotKeys);

    // Beyond the machine's own replies: progress and time left, the computer
    // kept awake while it engraves, and a word when it has finished.
    m_estimates = std::make_unique<shell::EstimateStore>(*m_config);
    m_progress = std::make_unique<job::JobProgress>(m_link->events(), *m_jobEvents, m_estimates.get());
    m_progressView = std::make_unique<shell::JobProgressView>(*m_progress, m_link->events(), m_window->TransferProgress);
    m_inhibitor = platform::CreateSleepInhibitor();
    m_keepAwake = std::make_unique<job::KeepAwake>(*m_jobEvents, m_link->events(), *m_inhibitor);
    m_notifier = platform::CreateDesktopNotifier();
    m_endNotice = std::make_unique<shell::JobEndNotice>(
        m_link->events(), *m_progress, *m_notifier, *m_window, [this] { return m_job->RunSeconds(); });
    m_pictureEvents = std::make_unique<picture::PictureEvents>();
    m_pictures = std::make_unique<picture::PictureFlow>(
        m_previewBoard, assets::PlainWhiteBackground(), m_effectTaskTimer, *m_pictureEvents);
    m_picturePresenter = std::make_unique<shell::PicturePresenter>(*m_pictureEvents, m_pictures->blackWhiteBoard(),
        m_pictures->ditherBoard(), *m_views, shell::PicturePresenter::Actions{
            [this] { openEffectWindow(); },
            [this] { closeEffectWindow(); },
            [this] { m_job->PauseCarving(); },
            [this] { m_job->ResetRunClock(); },
            [this] { m_views->EnablePictureButtons(); },
        });
    m_studio = std::make_unique<shell::EffectStudio>(*m_pictures, *m_pictureEvents, *m_config);
    m_languages = std::make_unique<shell::InterfaceLanguages>(
        *m_window, m_previewBoard, *m_config, [](int language) { return assets::DropPrompt(language); });

    m_text = std::make_unique<shell::TextEngraving>(*m_window, m_previewBoard, m_pictures->edits(), *m_config);
    m_clickMode = std::make_unique<shell::BoardClickMode>(*m_jobEvents, m_previewBoard,
        [this](int x, int y) { m_positioning->LocateAt(x, y); }, [this](int x, int y) { m_text->PlaceTextBox(x, y); });
    m_help = std::make_unique<shell::HelpController>(m_desktop, m_messageBox,
        [](int index) { return assets::HelpPictureBytes(index); }, platform::DriverInstallerPath(),
        QUrl(assets::MakerWebAddress()));
    // Where no driver installer can exist (no Windows), the tutorial's first
    // answer shows what the serial doctor finds instead.
    if (!platform::DriverInstallersRunHere())
        m_help->SetSerialDoctor([] { return doctor::DoctorFindings(); },
            [](const QString& findings) { shell::DoctorFindingsWindow::ShowModal(findings); });

    wireMainWindow();
    wireBeyondTheOriginal();
}

void Program::wireBeyondTheOriginal()
{
    m_translator = std::make_unique<shell::UiTranslator>();
    const auto logLine = [this](const QString& line) { m_views->AppendLogLine(line); };
    m_commands = std::make_unique<shell::BoardCommands>(*m_window, m_previewBoard, m_pictures->history(),
        *m_pictureEvents, *m_config, m_messageBox, logLine, [this] { m_help->ExplainMissingMachine(); });
    m_missingMachine = std::make_unique<shell::MissingMachineNotice>(
        m_link->events(), logLine, [this] { return m_help->DriverInstallerPresent(); });
    // The drop hint of a new language erases the board: a step to undo.
    QObject::connect(m_languages.get(), &shell::InterfaceLanguages::boardAboutToBeReplaced,
        [this] { m_pictures->history().Record(); });
    QObject::connect(m_languages.get(), &shell::InterfaceLanguages::languageApplied, [this](int language) {
        m_translator->Apply(language);
        m_progressView->Retranslate();
    });
}

Program::~Program()
{
    // The windows go first: the effect window shows the session's boards and
    // the help controller watches the help and settings windows.
    m_effectWindow.reset();
    m_helpWindow.reset();
    m_settingsWindow.reset();
    m_channel->PortClose();
}

void Program::wireMainWindow()
{
    shell::MainWindow& w = *m_window;
    using QB = QPushButton;

    // Connection
    QObject::connect(w.ConnectButton, &QB::clicked, [this] { m_link->connection().AutoConnect(); });
    QObject::connect(w.BreakButton, &QB::clicked, [this] { m_link->connection().Disconnect(); });

    // Job controls
    QObject::connect(w.StartButton, &QB::clicked, [this] { m_job->Start(); });
    QObject::connect(w.PauseButton, &QB::clicked, [this] { m_job->Pause(); });
    QObject::connect(w.RecarveButton, &QB::clicked, [this] { m_job->Recarve(); });
    QObject::connect(w.RestartButton, &QB::clicked, [this] { m_job->Restart(); });
    QObject::connect(w.FastForwardButton, &QB::clicked, [this] { m_job->FastForward(); });
    QObject::connect(w.FastBackwardButton, &QB::clicked, [this] { m_job->FastBackward(); });
    QObject::connect(w.SendImageButton, &QB::clicked, [this] { m_encoder->PrepareEngraveImage(); });

    // Positioning and jogging
    for (QRadioButton* radio : {w.PointRadio, w.CenterRadio, w.BoxRadio})
        QObject::connect(radio, &QRadioButton::clicked,
            [this] { m_positioning->SelectLocationMode(m_views->CheckedRadios()); });
    QObject::connect(w.UpButton, &QB::clicked, [this] { m_positioning->Jog(job::JogDirection::Up); });
    QObject::connect(w.DownButton, &QB::clicked, [this] { m_positioning->Jog(job::JogDirection::Down); });
    QObject::connect(w.LeftButton, &QB::clicked, [this] { m_positioning->Jog(job::JogDirection::Left); });
    QObject::connect(w.RightButton, &QB::clicked, [this] { m_positioning->Jog(job::JogDirection::Right); });
    QObject::connect(w.UseKeyboardCheck, &QCheckBox::clicked,
        [this](bool checked) { m_positioning->UpdateArrowHotKeys(checked); });
    QObject::connect(w.PreviewBoard, &shell::BoardWidget::leftButtonDown,
        [this](int x, int y) { m_clickMode->LeftButtonDown(x, y); });

    // Burn time: the label follows every move; the machine hears only a
    // left-button release on the slider (a click or the end of a drag).
    QObject::connect(w.BurnTimeSlider, &QSlider::valueChanged,
        [this](int position) { m_window->BurnTimeValueLabel->setText(QString::number(position)); });
    QObject::connect(shell::MouseEvents::Watch(w.BurnTimeSlider), &shell::MouseEvents::leftButtonUp,
        [this] { m_link->parameters().SendBurnTime(m_window->BurnTimeSlider->value()); });

    // Picture edits and drops
    QObject::connect(w.RotateButton, &QB::clicked, [this] { m_pictures->edits().RotateBoard(); });
    QObject::connect(w.ZoomOutButton, &QB::clicked, [this] { m_pictures->edits().ZoomOutBoard(); });
    QObject::connect(w.ClearButton, &QB::clicked, [this] { m_pictures->edits().ClearPreview(); });
    QObject::connect(w.ReloadButton, &QB::clicked, [this] { m_pictures->edits().ReloadWorkingImage(); });
    QObject::connect(&w, &shell::MainWindow::filesDropped, [this](const QStringList& paths) { m_pictures->FileDropped(paths); });
    // Closing the main window ends the program, also while the effect window is open.
    QObject::connect(&w, &shell::MainWindow::closing, [] { QCoreApplication::quit(); });

    // A release with Ctrl alone opens the help window instead of the settings.
    m_help->AttachSettingButton(w.SettingButton, [this] { openHelpWindow(); });
    QObject::connect(w.SettingButton, &QB::clicked, [this] { openSettingsWindow(); });
    m_help->AttachMakerLink(w.LogoLabel);
}

void Program::openSettingsWindow()
{
    if (!m_settingsWindow) {
        m_settingsWindow = std::make_unique<shell::SettingsWindow>(assets::MakerWebAddress());
        QObject::connect(m_settingsWindow->XReverseButton, &QPushButton::clicked,
            [this] { m_link->parameters().ReverseMotorXClicked(); });
        QObject::connect(m_settingsWindow->YReverseButton, &QPushButton::clicked,
            [this] { m_link->parameters().ReverseMotorYClicked(); });
        m_help->AttachMakerLink(m_settingsWindow->SettingsLabel6);
    }
    m_settingsWindow->exec();
}

void Program::openHelpWindow()
{
    if (!m_helpWindow) {
        m_helpWindow = std::make_unique<shell::HelpWindow>();
        std::array<QLabel*, shell::HelpController::QuestionCount> labels{};
        std::copy(std::begin(m_helpWindow->QuestionLabels), std::end(m_helpWindow->QuestionLabels), labels.begin());
        m_help->AttachHelpWindow(labels, m_helpWindow->AnswerPicture);
    }
    // Every opening starts from the tutorial's intro picture.
    m_help->ShowHelpPicture(0);
    m_helpWindow->exec();
}

void Program::openEffectWindow()
{
    if (!m_effectWindow) {
        m_effectWindow = std::make_unique<shell::EffectWindow>(m_pictures->blackWhiteBoard(), m_pictures->ditherBoard());
        QObject::connect(m_effectWindow.get(), &shell::EffectWindow::blackWhiteChosen, [this] { m_pictures->ChooseBlackWhite(); });
        QObject::connect(m_effectWindow.get(), &shell::EffectWindow::ditherChosen, [this] { m_pictures->ChooseDither(); });
        QObject::connect(m_effectWindow.get(), &shell::EffectWindow::closed, [this] { m_pictures->ChoiceAbandoned(); });
        m_studio->Attach(*m_effectWindow);
    }
    m_effectWindow->show();
    m_effectWindow->raise();
    m_effectWindow->activateWindow();
}

void Program::closeEffectWindow()
{
    if (m_effectWindow && m_effectWindow->isVisible())
        m_effectWindow->close();
}

void Program::Start(const QStringList& picturePaths)
{
    // The created handler of the main window, in its order.
    m_link->replies().SetSupportedFirmwareVersion(kSupportedFirmwareVersion);
    // The stored language's texts from the start: a scan can end before
    // the language is applied below.
    m_translator->Apply(shell::ReadStoredLanguage(*m_config));
    QApplication::setStyle(new shell::ThemedControlLook(1));
    // The main window accepts drops from its creation (MainWindow sets it).
    m_link->connection().AutoConnect();
    platform::CreateFolder(platform::ConfigFolderPath());
    m_text->LoadFontSettings();
    m_text->ApplyTextFont();
    m_languages->ApplyStoredLanguage();
    // The history begins with the window as it opens.
    m_pictures->history().Clear();
    // The effect window's last tuning and rendering.
    m_studio->LoadSettings();

    m_window->show();
    if (!picturePaths.isEmpty())
        m_pictures->FileDropped(picturePaths);
}

} // namespace kovra::app
