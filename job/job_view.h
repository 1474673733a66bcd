#pragma once
// What the job layer needs from the main window. The shell implements it once;
// tests implement it with a recording fake. Texts are passed exactly as they go
// into the message log or onto the controls.

#include <QString>

namespace kovra::job {

// The three radios of the location-mode group.
enum class LocationRadio {
    Point,  // PointRadio
    Center, // CenterRadio
    Box,    // BoxRadio
};

class JobView {
public:
    virtual ~JobView() = default;

    // MessageLog: AppendLogLine adds "\r\n" after the text, AppendLogText adds
    // the text unchanged; both scroll the end into view.
    virtual void AppendLogLine(const QString& text) = 0;
    virtual void AppendLogText(const QString& text) = 0;

    // The shared control groups of the main window.
    virtual void EnableMachineControls() = 0;
    virtual void ResetLocationControls() = 0;
    virtual void LockLocationControls() = 0;

    // TimeValueLabel caption and the XEdit / YEdit position boxes.
    virtual void SetTimeValueLabel(const QString& caption) = 0;
    virtual void SetXEdit(const QString& text) = 0;
    virtual void SetYEdit(const QString& text) = 0;

    // The radios' check marks as the radio group has already updated them for
    // the click being handled, and unchecking one of them.
    virtual bool IsRadioChecked(LocationRadio radio) const = 0;
    virtual void UncheckRadio(LocationRadio radio) = 0;
};

} // namespace kovra::job
