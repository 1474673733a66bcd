#include "shell/help/help_controller.h"

#include "platform/desktop.h"
#include "shell/widgets/message_box.h"

#include <QAbstractButton>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QtMath>

namespace kovra::shell {

namespace {

const char16_t InstallHintText[] = u"等下有一个窗口跳出来，点击 安装 按钮，等待一下 就安装好了。";
const char16_t InstallHintTitle[] = u"怎么安装驱动？";
const char16_t InstallFailedText[] = u"安装失败，请关闭本软件，然后右键选择 以管理员身份运行 ";
const char16_t InstallFailedTitle[] = u"安装失败！";

// A left button released over the widget (a release dragged off it does not count).
bool isLeftRelease(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::MouseButtonRelease)
        return false;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const auto* widget = qobject_cast<QWidget*>(watched);
    // The pixel under the pointer: a release just off the left or top edge is outside.
    const QPointF at = mouse->position();
    return mouse->button() == Qt::LeftButton && widget
        && widget->rect().contains(QPoint(qFloor(at.x()), qFloor(at.y())));
}

} // namespace

HelpController::HelpController(platform::Desktop& desktop, MessageBox& messageBox, HelpPictureSource helpPictures,
                               QString driverPath, QUrl makerSite, QObject* parent)
    : QObject(parent)
    , m_desktop(desktop)
    , m_messageBox(messageBox)
    , m_helpPictures(std::move(helpPictures))
    , m_driverPath(std::move(driverPath))
    , m_makerSite(std::move(makerSite))
{
}

bool HelpController::IsHelpKeyState(Qt::KeyboardModifiers modifiers)
{
    // Keypad and group-switch flags are not keys the user holds.
    const Qt::KeyboardModifiers held =
        modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    return held == Qt::ControlModifier;
}

void HelpController::AttachHelpWindow(const std::array<QLabel*, QuestionCount>& questionLabels,
                                      QLabel* answerPicture)
{
    for (QLabel* label : m_questionLabels)
        if (label)
            label->removeEventFilter(this);
    if (m_answerPicture)
        m_answerPicture->removeEventFilter(this);

    m_questionLabels = questionLabels;
    m_answerPicture = answerPicture;
    m_shownBytes.clear();
    for (QLabel* label : m_questionLabels) {
        if (!label)
            continue;
        label->installEventFilter(this);
        // A help window closed and destroyed must not leave dangling pointers.
        connect(label, &QObject::destroyed, this, [this](QObject* gone) {
            for (QLabel*& known : m_questionLabels)
                if (known == gone)
                    known = nullptr;
        });
    }
    if (m_answerPicture) {
        m_answerPicture->installEventFilter(this);
        connect(m_answerPicture, &QObject::destroyed, this, [this](QObject* gone) {
            if (m_answerPicture == gone) {
                m_answerPicture = nullptr;
                m_shownBytes.clear();
            }
        });
    }
    ShowHelpPicture(0);
}

void HelpController::AttachSettingButton(QAbstractButton* settingButton, std::function<void()> openHelpWindow)
{
    if (m_settingButton)
        m_settingButton->removeEventFilter(this);
    m_settingButton = settingButton;
    m_openHelpWindow = std::move(openHelpWindow);
    if (m_settingButton)
        m_settingButton->installEventFilter(this);
}

void HelpController::AttachMakerLink(QWidget* label)
{
    if (!label)
        return;
    m_makerLinks.append(label);
    label->installEventFilter(this);
    connect(label, &QObject::destroyed, this, [this](QObject* gone) { m_makerLinks.removeAll(gone); });
}

void HelpController::ShowHelpPicture(int index)
{
    if (!m_answerPicture || index < 0 || index > QuestionCount)
        return;
    m_shownBytes = m_helpPictures ? m_helpPictures(index) : QByteArray();
    m_answerPicture->setPixmap(QPixmap::fromImage(QImage::fromData(m_shownBytes)));
    // The pictures are the tutorial's own; what the program adds is said beside them.
    m_answerPicture->setToolTip(AnswerTip(index));
    for (int i = 0; i < QuestionCount; ++i)
        if (m_questionLabels[i])
            m_questionLabels[i]->setToolTip(AnswerTip(i + 1));
}

QString HelpController::AnswerTip(int index)
{
    switch (index) {
    case 1:
        return tr("In the main window, F1 shows why no machine is found.");
    case 2:
        return tr("Besides dragging: Ctrl+O opens a picture, Ctrl+V pastes one, Ctrl+S saves the preview, "
                  "Ctrl+Z and Ctrl+Shift+Z undo and redo. Right-click the preview for the list.");
    default:
        return {};
    }
}

void HelpController::InstallDriver()
{
    const QByteArray firstAnswer = m_helpPictures ? m_helpPictures(1) : QByteArray();
    // Only the first answer tells the user to double-click; an absent picture
    // must not count as shown.
    if (m_shownBytes.isEmpty() || m_shownBytes != firstAnswer)
        return;
    if (m_doctorFindings && m_showFindings && !QFileInfo::exists(m_driverPath)) {
        m_showFindings(m_doctorFindings());
        return;
    }
    runDriverInstaller();
}

void HelpController::runDriverInstaller()
{
    m_messageBox.Show(QString::fromUtf16(InstallHintText), QString::fromUtf16(InstallHintTitle));
    if (!m_desktop.StartAndWait(m_driverPath))
        m_messageBox.Show(QString::fromUtf16(InstallFailedText), QString::fromUtf16(InstallFailedTitle));
}

bool HelpController::DriverInstallerPresent() const
{
    return QFileInfo::exists(m_driverPath);
}

void HelpController::ExplainMissingMachine()
{
    if (DriverInstallerPresent()) {
        runDriverInstaller();
        return;
    }
    if (m_doctorFindings && m_showFindings) {
        m_showFindings(m_doctorFindings());
        return;
    }
    m_messageBox.Show(tr("The USB-serial driver's installer is not at %1.").arg(QDir::toNativeSeparators(m_driverPath)),
                      tr("Why is no machine found?"));
}

void HelpController::SetSerialDoctor(std::function<QString()> findings, std::function<void(const QString&)> show)
{
    m_doctorFindings = std::move(findings);
    m_showFindings = std::move(show);
}

void HelpController::OpenMakerSite()
{
    // Whether a browser came up is not ours to report.
    m_desktop.OpenUrl(m_makerSite);
}

bool HelpController::eventFilter(QObject* watched, QEvent* event)
{
    // Event filters hear the mouse of a disabled control too; a disabled
    // control does nothing (its own handling is left to Qt).
    if (const auto* widget = qobject_cast<QWidget*>(watched); widget && !widget->isEnabled())
        return false;
    if (watched == m_settingButton && m_settingButton)
        return onSettingButtonRelease(event);
    if (watched == m_answerPicture && m_answerPicture) {
        if (event->type() == QEvent::MouseButtonDblClick
            && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            InstallDriver();
        return false;
    }
    for (int i = 0; i < QuestionCount; ++i) {
        if (watched == m_questionLabels[i] && m_questionLabels[i]) {
            if (isLeftRelease(watched, event))
                ShowHelpPicture(i + 1);
            return false;
        }
    }
    if (m_makerLinks.contains(watched) && isLeftRelease(watched, event))
        OpenMakerSite();
    return false;
}

bool HelpController::onSettingButtonRelease(QEvent* event)
{
    if (!isLeftRelease(m_settingButton, event))
        return false;
    if (!IsHelpKeyState(static_cast<QMouseEvent*>(event)->modifiers()))
        return false;
    // Ctrl-release is the help window's own gesture: the button's click (the
    // settings window) is not run as well, and the button is released by hand
    // because it never sees this release.
    m_settingButton->setDown(false);
    if (m_openHelpWindow)
        m_openHelpWindow();
    return true;
}

} // namespace kovra::shell
