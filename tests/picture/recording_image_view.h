#pragma once
// An ImageView that records every call by name, in order.

#include "image/image_view.h"

#include <QString>
#include <QStringList>

namespace kovra::test {

class RecordingImageView final : public image::ImageView {
public:
    void OpenEffectWindow() override { calls << QStringLiteral("OpenEffectWindow"); }
    void CloseEffectWindow() override { calls << QStringLiteral("CloseEffectWindow"); }
    void PauseCarving() override { calls << QStringLiteral("PauseCarving"); }
    void ResetRunClock() override { calls << QStringLiteral("ResetRunClock"); }
    void EnableMachineControls() override { calls << QStringLiteral("EnableMachineControls"); }
    void DisableMachineControls() override { calls << QStringLiteral("DisableMachineControls"); }
    void EnablePictureButtons() override { calls << QStringLiteral("EnablePictureButtons"); }
    void SetPositionBoxes(const QString& text) override { calls << QStringLiteral("SetPositionBoxes ") + text; }
    void AppendLogLine(const QString& text) override
    {
        calls << QStringLiteral("AppendLogLine");
        log << text;
    }

    QStringList calls;
    QStringList log;
};

} // namespace kovra::test
