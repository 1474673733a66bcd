#pragma once
// The help window's behaviour, the maker's web links and the driver
// installer. The help window owns its controls; this class listens to them:
// a question label released shows its answer picture, a double click on the
// first answer runs the driver installer. It also opens the help window when
// SettingButton is released with Ctrl alone held, and the maker's site from
// LogoLabel and SettingsLabel6.

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>

#include <array>
#include <functional>

class QAbstractButton;
class QEvent;
class QLabel;
class QWidget;

namespace kovra::platform {
class Desktop;
}

namespace kovra::shell {

class MessageBox;

class HelpController : public QObject {
    Q_OBJECT
public:
    static constexpr int QuestionCount = 8;

    // The bytes of help picture index: 0 the intro, 1..8 the answers.
    using HelpPictureSource = std::function<QByteArray(int index)>;

    // driverPath is the mapped "C:\Q-Var\Driver.exe" (platform/paths.h).
    HelpController(platform::Desktop& desktop, MessageBox& messageBox, HelpPictureSource helpPictures,
                   QString driverPath, QUrl makerSite, QObject* parent = nullptr);

    // A help window that has just been built: its eight question labels and
    // its answer picture, which is set to the intro picture here.
    void AttachHelpWindow(const std::array<QLabel*, QuestionCount>& questionLabels, QLabel* answerPicture);
    // SettingButton of the main window: its left button released with exactly
    // Ctrl held runs openHelpWindow (which shows the help window modally)
    // instead of the button's click.
    void AttachSettingButton(QAbstractButton* settingButton, std::function<void()> openHelpWindow);
    // LogoLabel, SettingsLabel6: left button released opens the maker's site.
    void AttachMakerLink(QWidget* label);

    // Shows help picture index (0 intro, 1..8 answers) in the answer picture.
    void ShowHelpPicture(int index);
    // The bytes of the picture the answer picture shows now.
    const QByteArray& shownPictureBytes() const { return m_shownBytes; }

    // Runs the driver installer when the answer picture shows the first
    // answer, byte for byte; waits until it ends.
    void InstallDriver();
    // Set where the system has no driver installers (all but Windows): when
    // the installer file is missing, the first answer shows the serial
    // doctor's findings instead. findings() examines the ports, show() puts
    // the text before the user.
    void SetSerialDoctor(std::function<QString()> findings, std::function<void(const QString&)> show);
    void OpenMakerSite();

    // The way to a missing machine (F1, the preview board's menu): the driver
    // installer where it is there, run as the first answer runs it; else what
    // the serial doctor finds; else where the installer belongs.
    void ExplainMissingMachine();
    bool DriverInstallerPresent() const;
    // The tool tip beside an answer (1..8) that the program's keys add to:
    // F1 beside the first, the picture keys beside the second; else empty.
    static QString AnswerTip(int index);

    // The key state that opens the help window: Ctrl, no Shift, no Alt.
    static bool IsHelpKeyState(Qt::KeyboardModifiers modifiers);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool onSettingButtonRelease(QEvent* event);
    void runDriverInstaller();

    platform::Desktop& m_desktop;
    MessageBox& m_messageBox;
    HelpPictureSource m_helpPictures;
    QString m_driverPath;
    QUrl m_makerSite;
    std::function<QString()> m_doctorFindings;
    std::function<void(const QString&)> m_showFindings;

    std::array<QLabel*, QuestionCount> m_questionLabels{};
    QLabel* m_answerPicture = nullptr;
    QByteArray m_shownBytes;

    QAbstractButton* m_settingButton = nullptr;
    std::function<void()> m_openHelpWindow;
    QList<QObject*> m_makerLinks;
};

} // namespace kovra::shell
