#pragma once
// Ties the effect window's tuning strip and the contact sheet to the picture
// flow: each change of the tuning or of the right-hand rendering redraws
// the boards (once per burst of slider moves, so a drag stays smooth), the
// contact sheet follows while it is open, and the settings are written to the
// configuration file a moment after the last change and when the window
// closes.

#include "shell/effects/contact_sheet_window.h"
#include "shell/effects/effect_window.h"
#include "shell/settings/tuning_settings.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

namespace kovra::picture {
class PictureEvents;
class PictureFlow;
}

namespace kovra::shell {

class ConfigFile;

class EffectStudio : public QObject {
    Q_OBJECT
public:
    // Written this long after the last change.
    static constexpr int SaveDelayMs = 500;

    EffectStudio(picture::PictureFlow& pictures, picture::PictureEvents& events, ConfigFile& config);
    ~EffectStudio() override;

    // The stored tuning and rendering, given to the picture flow.
    void LoadSettings();
    // Wires the window's strip and its contact-sheet button; once per window.
    void Attach(EffectWindow& window);
    // Opens (or raises) the contact sheet of the current picture.
    void OpenContactSheet();
    ContactSheetWindow* contactSheet() const { return m_sheet; }
    // Redraws what is pending and writes the settings now, when they changed.
    void Flush();

private:
    void tuningMoved(const rendering::Tuning& tuning);
    void renderingPicked(rendering::Rendering rendering);
    void redraw();
    void refreshSheet();
    void save();

    picture::PictureFlow& m_pictures;
    ConfigFile& m_config;
    QPointer<EffectWindow> m_window;
    QPointer<ContactSheetWindow> m_sheet;
    StudioSettings m_settings;
    StudioSettings m_saved;
    QTimer m_redraw;
    QTimer m_save;
};

} // namespace kovra::shell
