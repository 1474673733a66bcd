#include "shell/effects/effect_studio.h"

#include "picture/picture_flow.h"
#include "shell/settings/config_file.h"
#include "shell/effects/contact_sheet_window.h"
#include "shell/effects/effect_window.h"
#include "shell/effects/tuning_strip.h"

#include <QLoggingCategory>
#include <QPushButton>

namespace kovra::shell {

Q_LOGGING_CATEGORY(lcStudio, "kovra.shell.studio", QtInfoMsg)

EffectStudio::EffectStudio(picture::PictureFlow& pictures, picture::PictureEvents& events, ConfigFile& config)
    : m_pictures(pictures)
    , m_config(config)
{
    // Slider moves come in bursts: the boards are redrawn once the burst
    // has been taken in, not once per move.
    m_redraw.setSingleShot(true);
    m_redraw.setInterval(0);
    connect(&m_redraw, &QTimer::timeout, this, [this] { redraw(); });
    m_save.setSingleShot(true);
    m_save.setInterval(SaveDelayMs);
    connect(&m_save, &QTimer::timeout, this, [this] { save(); });

    // The contact sheet follows the flow: blank while a new picture waits
    // for its renderings, filled when they are ready.
    connect(&events, &picture::PictureEvents::loaded, this, [this] {
        if (m_sheet && m_sheet->isVisible())
            m_sheet->clearRenderings();
    });
    connect(&events, &picture::PictureEvents::renderingsReady, this, [this] { refreshSheet(); });
}

EffectStudio::~EffectStudio()
{
    Flush();
    // The sheet belongs to the effect window when there is one; else to us.
    if (m_sheet && !m_sheet->parent())
        delete m_sheet;
}

void EffectStudio::LoadSettings()
{
    m_settings = LoadStudioSettings(m_config);
    m_saved = m_settings;
    m_pictures.SetTuning(m_settings.tuning);
    m_pictures.SetRightRendering(m_settings.rightRendering);
    if (m_window) {
        m_window->TuningControls->setTuning(m_settings.tuning);
        m_window->TuningControls->setRightRendering(m_settings.rightRendering);
    }
}

void EffectStudio::Attach(EffectWindow& window)
{
    m_window = &window;
    TuningStrip& strip = *window.TuningControls;
    strip.setTuning(m_settings.tuning);
    strip.setRightRendering(m_settings.rightRendering);
    connect(&strip, &TuningStrip::tuningChanged, this, [this](const rendering::Tuning& t) { tuningMoved(t); });
    connect(&strip, &TuningStrip::rightRenderingChanged, this, [this](rendering::Rendering r) { renderingPicked(r); });
    connect(&strip, &TuningStrip::contactSheetRequested, this, [this] { OpenContactSheet(); });
    // A choice or the user closes the window: the sheet goes with it, and the
    // settings are written.
    connect(&window, &EffectWindow::closed, this, [this] {
        if (m_sheet)
            m_sheet->close();
        Flush();
    });
}

void EffectStudio::tuningMoved(const rendering::Tuning& tuning)
{
    m_settings.tuning = tuning;
    m_redraw.start();
    m_save.start();
}

void EffectStudio::renderingPicked(rendering::Rendering rendering)
{
    m_settings.rightRendering = rendering;
    m_pictures.SetRightRendering(rendering);
    m_save.start();
}

void EffectStudio::redraw()
{
    if (!m_pictures.SetTuning(m_settings.tuning))
        return;
    refreshSheet();
}

void EffectStudio::OpenContactSheet()
{
    if (!m_sheet) {
        m_sheet = new ContactSheetWindow(m_window);
        connect(m_sheet, &ContactSheetWindow::chosen, this, [this](rendering::Rendering r) {
            Flush();
            m_pictures.Choose(r);
        });
    }
    m_sheet->show();
    m_sheet->raise();
    m_sheet->activateWindow();
    refreshSheet();
}

void EffectStudio::refreshSheet()
{
    if (!m_sheet || !m_sheet->isVisible())
        return;
    rendering::TunedPicture& tuned = m_pictures.tunedPicture();
    if (!m_pictures.renderingsReady() || !tuned.hasPicture()) {
        m_sheet->clearRenderings();
        return;
    }
    m_sheet->showRenderings(tuned.renderAll(), tuned.tuned(), tuned.place());
}

void EffectStudio::Flush()
{
    if (m_redraw.isActive()) {
        m_redraw.stop();
        redraw();
    }
    m_save.stop();
    save();
}

void EffectStudio::save()
{
    if (m_settings == m_saved)
        return;
    if (SaveStudioSettings(m_config, m_settings))
        m_saved = m_settings;
    else
        qCWarning(lcStudio) << "cannot write the tuning to" << m_config.file();
}

} // namespace kovra::shell
