#include "platform/desktop.h"
#include "shell/help/help_controller.h"
#include "shell/widgets/message_box.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

namespace kovra::test {
namespace {

using shell::HelpController;

class FakeDesktop : public platform::Desktop {
public:
    bool StartAndWait(const QString& program) override
    {
        started.push_back(program);
        return startWorks;
    }
    bool OpenUrl(const QUrl& address) override
    {
        opened.push_back(address);
        return false; // a failure here is never reported
    }
    bool startWorks = true;
    std::vector<QString> started;
    std::vector<QUrl> opened;
};

class RecordingMessageBox : public shell::MessageBox {
public:
    void Show(const QString& text, const QString& title) override { shown.emplace_back(text, title); }
    std::vector<std::pair<QString, QString>> shown;
};

QByteArray pngBytes(QRgb colour, int compression = -1)
{
    QImage image(50, 50, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG", compression);
    return bytes;
}

const QString DriverPath = QStringLiteral("/opt/kovra/Q-Var/Driver.exe");
const QString HintText = QStringLiteral("等下有一个窗口跳出来，点击 安装 按钮，等待一下 就安装好了。");
const QString HintTitle = QStringLiteral("怎么安装驱动？");
const QString FailedText = QStringLiteral("安装失败，请关闭本软件，然后右键选择 以管理员身份运行 ");
const QString FailedTitle = QStringLiteral("安装失败！");

class HelpControllerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int i = 0; i <= 8; ++i)
            m_pictures.push_back(pngBytes(qRgb(20 * i, 100, 200)));
        m_controller = std::make_unique<HelpController>(
            m_desktop, m_boxes, [this](int index) { return m_pictures.at(size_t(index)); }, DriverPath,
            QUrl(QStringLiteral("https://maker.example/")));

        std::array<QLabel*, 8> questions{};
        for (int i = 0; i < 8; ++i) {
            questions[size_t(i)] = new QLabel(QStringLiteral("question %1").arg(i + 1), &m_helpWindow);
            questions[size_t(i)]->setGeometry(8, 32 + 40 * i, 200, 30);
        }
        m_answer = new QLabel(&m_helpWindow);
        m_answer->setGeometry(264, 32, 500, 500);
        m_helpWindow.resize(808, 575);
        m_helpWindow.show();
        m_questions = questions;
        m_controller->AttachHelpWindow(questions, m_answer);
    }
    void clickQuestion(int n) { QTest::mouseClick(m_questions[size_t(n - 1)], Qt::LeftButton); }
    void doubleClickAnswer() { QTest::mouseDClick(m_answer, Qt::LeftButton); }

    FakeDesktop m_desktop;
    RecordingMessageBox m_boxes;
    std::vector<QByteArray> m_pictures;
    std::unique_ptr<HelpController> m_controller;
    QWidget m_helpWindow;
    std::array<QLabel*, 8> m_questions{};
    QLabel* m_answer = nullptr;
};

TEST_F(HelpControllerTest, OpensOnTheIntroAndQuestionsShowTheirAnswers)
{
    EXPECT_EQ(m_controller->shownPictureBytes(), m_pictures[0]);
    EXPECT_FALSE(m_answer->pixmap().isNull());
    for (int n = 8; n >= 1; --n) {
        clickQuestion(n);
        EXPECT_EQ(m_controller->shownPictureBytes(), m_pictures[size_t(n)]) << n;
    }
    // The right button, or a press alone, shows nothing new.
    QTest::mouseClick(m_questions[4], Qt::RightButton);
    QTest::mousePress(m_questions[6], Qt::LeftButton);
    EXPECT_EQ(m_controller->shownPictureBytes(), m_pictures[1]);
}

TEST_F(HelpControllerTest, DoubleClickOnTheFirstAnswerRunsTheInstallerEachTime)
{
    doubleClickAnswer(); // intro
    clickQuestion(2);
    doubleClickAnswer();
    EXPECT_TRUE(m_desktop.started.empty());
    EXPECT_TRUE(m_boxes.shown.empty());

    clickQuestion(1);
    doubleClickAnswer();
    doubleClickAnswer();
    EXPECT_EQ(m_desktop.started, (std::vector<QString>{DriverPath, DriverPath}));
    ASSERT_EQ(m_boxes.shown.size(), 2u);
    EXPECT_EQ(m_boxes.shown[0], std::make_pair(HintText, HintTitle));
    EXPECT_EQ(m_boxes.shown[1], std::make_pair(HintText, HintTitle));
}

TEST_F(HelpControllerTest, FirstAnswerIsRecognisedByItsBytesAlone)
{
    // The same picture stored differently is not the first answer...
    m_pictures[5] = pngBytes(qRgb(20, 100, 200), 0);
    ASSERT_NE(m_pictures[5], m_pictures[1]);
    clickQuestion(5);
    doubleClickAnswer();
    EXPECT_TRUE(m_desktop.started.empty());
    // ...while identical bytes under another question are.
    m_pictures[3] = m_pictures[1];
    clickQuestion(3);
    doubleClickAnswer();
    EXPECT_EQ(m_desktop.started.size(), 1u);
}

TEST_F(HelpControllerTest, InstallerThatCannotStartGivesTheFailureBox)
{
    m_desktop.startWorks = false;
    clickQuestion(1);
    doubleClickAnswer();
    ASSERT_EQ(m_boxes.shown.size(), 2u);
    EXPECT_EQ(m_boxes.shown[0], std::make_pair(HintText, HintTitle));
    EXPECT_EQ(m_boxes.shown[1], std::make_pair(FailedText, FailedTitle));
    EXPECT_TRUE(FailedText.endsWith(u' '));
}

TEST_F(HelpControllerTest, MissingPicturesNeverStartTheInstaller)
{
    for (QByteArray& picture : m_pictures)
        picture.clear();
    clickQuestion(1);
    doubleClickAnswer();
    EXPECT_TRUE(m_desktop.started.empty());
}

TEST_F(HelpControllerTest, DestroyedHelpWindowIsForgotten)
{
    clickQuestion(1);
    for (QLabel* label : m_questions)
        delete label;
    delete m_answer;
    m_controller->InstallDriver(); // nothing shown any more
    EXPECT_TRUE(m_desktop.started.empty());
}

TEST(HelpKeyState, OnlyCtrlAloneOpensHelp)
{
    EXPECT_TRUE(HelpController::IsHelpKeyState(Qt::ControlModifier));
    EXPECT_TRUE(HelpController::IsHelpKeyState(Qt::ControlModifier | Qt::KeypadModifier));
    EXPECT_FALSE(HelpController::IsHelpKeyState(Qt::NoModifier));
    EXPECT_FALSE(HelpController::IsHelpKeyState(Qt::ControlModifier | Qt::ShiftModifier));
    EXPECT_FALSE(HelpController::IsHelpKeyState(Qt::ControlModifier | Qt::AltModifier));
    EXPECT_FALSE(HelpController::IsHelpKeyState(Qt::ShiftModifier));
}

class MainWindowLinksTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_setting = new QPushButton(QStringLiteral("Setting"), &m_window);
        m_setting->setGeometry(936, 608, 64, 32);
        m_logo = new QLabel(&m_window);
        m_logo->setGeometry(16, 488, 200, 72);
        m_window.resize(1025, 684);
        m_window.show();
        m_controller.AttachSettingButton(m_setting, [this] { ++m_helpOpened; });
        m_controller.AttachMakerLink(m_logo);
    }

    FakeDesktop m_desktop;
    RecordingMessageBox m_boxes;
    HelpController m_controller{m_desktop, m_boxes, {}, DriverPath, QUrl(QStringLiteral("https://maker.example/"))};
    QWidget m_window;
    QPushButton* m_setting = nullptr;
    QLabel* m_logo = nullptr;
    int m_helpOpened = 0;
};

TEST_F(MainWindowLinksTest, SettingButtonOpensHelpOnlyWithCtrlAlone)
{
    QSignalSpy clicked(m_setting, &QPushButton::clicked);
    QTest::mouseClick(m_setting, Qt::LeftButton, Qt::ControlModifier);
    EXPECT_EQ(m_helpOpened, 1);
    EXPECT_EQ(clicked.count(), 0) << "the settings window does not open as well";
    EXPECT_FALSE(m_setting->isDown());

    QTest::mouseClick(m_setting, Qt::LeftButton, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::mouseClick(m_setting, Qt::LeftButton);
    QTest::mouseClick(m_setting, Qt::RightButton, Qt::ControlModifier);
    EXPECT_EQ(m_helpOpened, 1);
    EXPECT_EQ(clicked.count(), 2) << "a plain or Ctrl+Shift click is the settings click";
}

TEST_F(MainWindowLinksTest, ADisabledSettingButtonOpensNeitherWindow)
{
    QSignalSpy clicked(m_setting, &QPushButton::clicked);
    m_setting->setEnabled(false);
    QTest::mouseClick(m_setting, Qt::LeftButton, Qt::ControlModifier);
    QTest::mouseClick(m_setting, Qt::LeftButton);
    EXPECT_EQ(m_helpOpened, 0);
    EXPECT_EQ(clicked.count(), 0);
}

TEST_F(MainWindowLinksTest, LogoReleaseOpensTheMakerSite)
{
    QTest::mouseClick(m_logo, Qt::LeftButton);
    QTest::mouseClick(m_logo, Qt::RightButton);
    EXPECT_EQ(m_desktop.opened, (std::vector<QUrl>{QUrl(QStringLiteral("https://maker.example/"))}));
    EXPECT_TRUE(m_boxes.shown.empty());
}

// Where the system has no driver installer (the program then sets the serial
// doctor), the first answer shows its findings instead, until an installer
// file is there.
TEST(DriverInstaller, WithoutTheInstallerFileTheSerialDoctorAnswers)
{
    QTemporaryDir temp;
    const QString driver = temp.filePath(QStringLiteral("Q-Var/Driver.exe"));
    FakeDesktop desktop;
    RecordingMessageBox boxes;
    const QByteArray answer = pngBytes(qRgb(1, 2, 3));
    HelpController controller(desktop, boxes, [&](int) { return answer; }, driver, QUrl());
    QWidget window;
    controller.AttachHelpWindow({}, new QLabel(&window));
    int examined = 0;
    std::vector<QString> shown;
    controller.SetSerialDoctor(
        [&] {
            ++examined;
            return QStringLiteral("Result: no port the program scans can be opened now");
        },
        [&](const QString& findings) { shown.push_back(findings); });

    controller.InstallDriver();
    EXPECT_EQ(shown, std::vector<QString>{QStringLiteral("Result: no port the program scans can be opened now")});
    EXPECT_TRUE(desktop.started.empty());
    EXPECT_TRUE(boxes.shown.empty()) << "neither the hint nor the failure box";

    ASSERT_TRUE(QDir().mkpath(temp.filePath(QStringLiteral("Q-Var"))));
    QFile installer(driver);
    ASSERT_TRUE(installer.open(QIODevice::WriteOnly));
    installer.close();
    controller.InstallDriver();
    EXPECT_EQ(desktop.started, std::vector<QString>{driver});
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0], std::make_pair(HintText, HintTitle));
    EXPECT_EQ(examined, 1);
}

// F1's way to a missing machine: the installer where it is there, else the
// serial doctor's findings, else a box that says where the installer belongs.
TEST(DriverInstaller, TheWayToAMissingMachineTakesWhatIsThere)
{
    const struct {
        bool installer, doctor;
        size_t started, findings, boxes;
    } cases[] = {
        {true, true, 1, 0, 1}, {true, false, 1, 0, 1}, {false, true, 0, 1, 0}, {false, false, 0, 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "installer " << c.installer << ", doctor " << c.doctor);
        QTemporaryDir temp;
        const QString driver = temp.filePath(QStringLiteral("Driver.exe"));
        if (c.installer) {
            QFile installer(driver);
            ASSERT_TRUE(installer.open(QIODevice::WriteOnly));
        }
        FakeDesktop desktop;
        RecordingMessageBox boxes;
        HelpController controller(desktop, boxes, [](int) { return QByteArray(); }, driver, QUrl());
        std::vector<QString> findings;
        if (c.doctor)
            controller.SetSerialDoctor([] { return QStringLiteral("Result: none"); },
                                       [&](const QString& f) { findings.push_back(f); });
        EXPECT_EQ(controller.DriverInstallerPresent(), c.installer);
        controller.ExplainMissingMachine();
        EXPECT_EQ(desktop.started.size(), c.started);
        EXPECT_EQ(findings.size(), c.findings);
        ASSERT_EQ(boxes.shown.size(), c.boxes);
        if (c.boxes && !c.installer) {
            EXPECT_TRUE(boxes.shown[0].first.contains(QDir::toNativeSeparators(driver)));
        }
    }
}

// The real installer path: started from the mapped folder and waited for.
TEST(DriverInstaller, RealProcessRunsToItsEndBeforeInstallDriverReturns)
{
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    const QString driver = temp.filePath(QStringLiteral("Q-Var/Driver.exe"));
    const QString marker = driver + QStringLiteral(".done");
    ASSERT_TRUE(QDir().mkpath(temp.filePath(QStringLiteral("Q-Var"))));
    ASSERT_TRUE(QFile::copy(QStringLiteral(KOVRA_STAND_IN_PROGRAM), driver));

    platform::SystemDesktop desktop;
    RecordingMessageBox boxes;
    const QByteArray answer = pngBytes(qRgb(1, 2, 3));
    HelpController controller(desktop, boxes, [&](int) { return answer; }, driver, QUrl());
    QWidget window;
    auto* picture = new QLabel(&window);
    controller.AttachHelpWindow({}, picture);
    controller.InstallDriver();
    EXPECT_TRUE(QFile::exists(marker));
    EXPECT_EQ(boxes.shown.size(), 1u);

    QFile::remove(driver);
    controller.InstallDriver();
    ASSERT_EQ(boxes.shown.size(), 3u);
    EXPECT_EQ(boxes.shown[2].second, FailedTitle);
}

} // namespace
} // namespace kovra::test
