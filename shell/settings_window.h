#pragma once
// The settings window: motor reversal and the about box. Opened modally.

#include <QDialog>

class QGroupBox;
class QLabel;
class QPushButton;

namespace kovra::shell {

// The site's name of a web address ("https://www.example.org/" gives
// "example.org"), short enough for a small link label.
QString ShortWebAddress(const QString& address);

class SettingsWindow : public QDialog {
    Q_OBJECT
public:
    SettingsWindow(const QString& makerWebAddress, QWidget* parent = nullptr);

    QGroupBox* MotorGroup = nullptr;
    QLabel* SettingsLabel1 = nullptr;
    QPushButton* XReverseButton = nullptr;
    QPushButton* YReverseButton = nullptr;
    QGroupBox* SettingsGroup4 = nullptr;
    QLabel* SettingsLabel5 = nullptr;
    QLabel* SettingsLabel2 = nullptr;
    QLabel* SettingsLabel6 = nullptr;
};

} // namespace kovra::shell
