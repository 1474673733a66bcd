#pragma once
// The texts the window shows for what the link and the job report, exactly.

#include <QString>

namespace kovra::shell::texts {

inline const QString ConnectedBanner =
    QStringLiteral(">>>>>>>>>>>>>>>>>>>>>>             CONNECTED !    <<<<<<<<<<<<<<<<<<<<<<");
inline const QString AutomaticConnecting = QStringLiteral("Automatic Connecting...\r\n");
inline const QString ConnectionBreak = QStringLiteral(">>>Connection BREAK !<<<");
inline const QString DisconnectedConnection = QStringLiteral("Disconnected Connection\r\n\r\n");
inline const QString InitializationBanner =
    QStringLiteral(">>>>>>>>>>>>>>>>>>>>>>       Initialization complete!<<<<<<<<<<<<<<<<<<<<<<");
inline const QString FirmwareVersionPrefix = QStringLiteral("Firmware version : ");
inline const QString FirmwareWarning = QStringLiteral("Please update your software, or some features may not be used.");
inline const QString FirmwareWarningTitle = QStringLiteral("Message");
inline const QString SendingNewImage = QStringLiteral("Sending New Image...\r\n");
inline const QString SendingComplete = QStringLiteral("Sending Complete !\r\n\r\n");
// Ours: the port closed before the whole picture had gone out.
inline const QString SendingFailed = QStringLiteral("Sending Failed ! The port closed after %1 of %2 bytes.\r\n\r\n");
inline const QString CarvedFinish = QStringLiteral("Carved finish !");
inline const QString MotorPowerMissing = QStringLiteral("Please access the motor power supply !");
inline const QString RunClockReset = QStringLiteral("00:00");

} // namespace kovra::shell::texts
