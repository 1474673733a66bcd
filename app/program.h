#pragma once
// The program with its window: every program-wide object, created empty
// before the main window opens, wired once, released at the end.

#include "image/drawing_board.h"
#include "link/machine_link.h"
#include "link/system_serial_channel.h"
#include "platform/desktop.h"
#include "platform/timer.h"
#include "shell/shell_views.h"

#include <QStringList>
#include <memory>

namespace kovra::platform {
class DesktopNotifier;
class GlobalHotKeys;
class SleepInhibitor;
}
namespace kovra::picture {
class PictureEvents;
class PictureFlow;
}
namespace kovra::job {
class EngraveEncoder;
class JobEvents;
class JobProgress;
class KeepAwake;
class JobControls;
class Positioning;
}

namespace kovra::shell {
class BoardClickMode;
class BoardCommands;
class MissingMachineNotice;
class UiTranslator;
class ConfigFile;
class ControlGroups;
class EffectStudio;
class EffectWindow;
class EstimateStore;
class JobEndNotice;
class JobProgressView;
class HelpController;
class HelpWindow;
class InterfaceLanguages;
class MachinePresenter;
class MainWindow;
class PicturePresenter;
class SettingsWindow;
class TextEngraving;
class ThemedControlLook;
class TracePainter;
}

namespace kovra::app {

// The window program as the desktop knows it, set before its first window:
// the class of its windows (X11's WM_CLASS, which Qt takes from the
// application's name) and its Wayland app id are the desktop entry's id, so
// the desktop matches the windows to the entry; and every window carries the
// program's icon.
void SetDesktopIdentity();

class Program {
public:
    Program();
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // The created handler of the main window: the look, the drop target, the
    // connection scan, the configuration folder, the text font, the language.
    // Then the window is shown; a picture path given opens as if dropped.
    void Start(const QStringList& picturePaths = {});

    shell::MainWindow& window() { return *m_window; }
    image::DrawingBoard& previewBoard() { return m_previewBoard; }
    picture::PictureFlow& pictures() { return *m_pictures; }
    picture::PictureEvents& pictureEvents() { return *m_pictureEvents; }
    shell::BoardCommands& commands() { return *m_commands; }

private:
    void wireMainWindow();
    void wireBeyondTheOriginal();
    void openEffectWindow();
    void closeEffectWindow();
    void openSettingsWindow();
    void openHelpWindow();

    // Boards and timers first: everything below holds references to them.
    image::DrawingBoard m_previewBoard{512, 512};
    image::DrawingBoard m_horizontalRuler{558, 14};
    image::DrawingBoard m_verticalRuler{10, 558};
    platform::QtTimer m_retryTimer;
    platform::QtTimer m_verifyTimer;
    platform::QtTimer m_portCheckTimer;
    platform::QtTimer m_runTimeTimer;
    platform::QtTimer m_effectTaskTimer;
    platform::QtTimer m_outputTimer;
    platform::QtTimer m_transferTimer;

    shell::ModalMessageBox m_messageBox;
    std::unique_ptr<shell::ConfigFile> m_config;
    std::unique_ptr<shell::MainWindow> m_window;
    std::unique_ptr<shell::ControlGroups> m_groups;
    std::unique_ptr<shell::ShellViews> m_views;

    std::unique_ptr<link::SerialChannel> m_channel = link::CreateSerialChannel();
    std::unique_ptr<link::MachineLink> m_link;
    std::unique_ptr<platform::GlobalHotKeys> m_hotKeys;
    std::unique_ptr<job::JobEvents> m_jobEvents;
    std::unique_ptr<job::JobControls> m_job;
    std::unique_ptr<job::EngraveEncoder> m_encoder;
    std::unique_ptr<job::Positioning> m_positioning;
    std::unique_ptr<shell::TracePainter> m_trace;
    std::unique_ptr<shell::MachinePresenter> m_presenter;
    std::unique_ptr<shell::EstimateStore> m_estimates;
    std::unique_ptr<job::JobProgress> m_progress;
    std::unique_ptr<shell::JobProgressView> m_progressView;
    std::unique_ptr<platform::SleepInhibitor> m_inhibitor;
    std::unique_ptr<job::KeepAwake> m_keepAwake;
    std::unique_ptr<platform::DesktopNotifier> m_notifier;
    std::unique_ptr<shell::JobEndNotice> m_endNotice;
    std::unique_ptr<picture::PictureEvents> m_pictureEvents;
    std::unique_ptr<picture::PictureFlow> m_pictures;
    std::unique_ptr<shell::PicturePresenter> m_picturePresenter;
    std::unique_ptr<shell::EffectStudio> m_studio;
    std::unique_ptr<shell::EffectWindow> m_effectWindow;
    std::unique_ptr<shell::InterfaceLanguages> m_languages;
    std::unique_ptr<shell::TextEngraving> m_text;
    std::unique_ptr<shell::BoardClickMode> m_clickMode;
    platform::SystemDesktop m_desktop;
    std::unique_ptr<shell::HelpController> m_help;
    // Beyond the original window: the other texts' language, the keys and
    // the board's menu, the word on a missing machine.
    std::unique_ptr<shell::UiTranslator> m_translator;
    std::unique_ptr<shell::BoardCommands> m_commands;
    std::unique_ptr<shell::MissingMachineNotice> m_missingMachine;
    std::unique_ptr<shell::SettingsWindow> m_settingsWindow;
    std::unique_ptr<shell::HelpWindow> m_helpWindow;
};

} // namespace kovra::app
