#pragma once
// The main window's machine controls as the presenter drives them, recorded:
// every call in order as a line ("caption:OK", "line:Carved finish !"), and
// the state the window would show.

#include "shell/machine_surface.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <functional>

namespace kovra::test {

class RecordingSurface final : public shell::MachineSurface {
public:
    QString log;             // the MessageLog text
    QStringList calls;       // every call in order, for checking sequences
    QString connectCaption;
    bool connectEnabled = true;
    bool breakVisible = false;
    bool machineControlsEnabled = false;
    QString xEdit;
    QString yEdit;
    int burnTime = -1;
    QList<QPair<QString, QString>> boxes;
    QList<QPair<qint64, qint64>> progress;
    std::function<void()> whileBoxOpen;

    void AppendLogLine(const QString& text) override { log += text + QStringLiteral("\r\n"); calls << "line:" + text; }
    void AppendLogText(const QString& text) override { log += text; calls << "text:" + text; }
    void EnableMachineControls() override { machineControlsEnabled = true; calls << "enable"; }
    void DisableMachineControls() override { machineControlsEnabled = false; calls << "disable"; }
    void ResetLocationControls() override { calls << "resetLocations"; }
    void LockLocationControls() override { calls << "lock"; }
    void UncheckRadio(job::LocationMode radio) override
    {
        static const char* const names[] = {"point", "center", "box"};
        calls << QStringLiteral("uncheck:") + QLatin1String(names[int(radio)]);
    }
    void SetTimeValueLabel(const QString& t) override { calls << "clock:" + t; }
    void SetConnectButtonCaption(const QString& c) override { connectCaption = c; calls << "caption:" + c; }
    void SetConnectButtonEnabled(bool e) override { connectEnabled = e; calls << QString("connectEnabled:%1").arg(e); }
    void SetBreakButtonVisible(bool v) override { breakVisible = v; calls << QString("breakVisible:%1").arg(v); }
    void SetXEdit(const QString& t) override { xEdit = t; calls << "x:" + t; }
    void SetYEdit(const QString& t) override { yEdit = t; calls << "y:" + t; }
    void SetBurnTime(int p) override { burnTime = p; calls << QString("burnTime:%1").arg(p); }
    void ShowMessageBox(const QString& text, const QString& title) override
    {
        boxes.append({text, title});
        calls << "box:" + text + "|" + title;
        if (whileBoxOpen)
            whileBoxOpen();
    }
    void ShowTransferProgress(qint64 written, qint64 total) override
    {
        progress.append({written, total});
        calls << QString("progress:%1/%2").arg(written).arg(total);
    }
    void HideTransferProgress() override { calls << "hideProgress"; }

    QStringList take()
    {
        QStringList out = calls;
        calls.clear();
        return out;
    }
};

} // namespace kovra::test
