#include "shell/settings_window.h"

#include "shell/widgets/place_control.h"
#include "shell/widgets/window_fonts.h"
#include "shell/widgets/window_placement.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QUrl>

namespace kovra::shell {

QString ShortWebAddress(const QString& address)
{
    const QUrl url(address);
    QString host = url.host();
    if (host.isEmpty())
        return address;
    if (host.startsWith(QLatin1String("www.")))
        host.remove(0, 4);
    return host;
}

SettingsWindow::SettingsWindow(const QString& makerWebAddress, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("SettingsWindow"));
    setWindowTitle(QString());
    setModal(true);
    WindowPlacement::Keep(this, QRect(50, 50, 316, 334), WindowPlacement::Sizing::Fixed,
        WindowPlacement::Title::Untitled);

    MotorGroup = PlaceControl<QGroupBox>(this, "MotorGroup", 16, 24, 272, 128);
    MotorGroup->setTitle(QStringLiteral("Set Motor Reverse"));
    MotorGroup->setFont(ButtonFont());
    SettingsLabel1 = PlaceControl<QLabel>(MotorGroup, "SettingsLabel1", 16, 16, 248, 48);
    SettingsLabel1->setText(QStringLiteral("Click the Bottom to Reverse Motor direction"));
    SettingsLabel1->setWordWrap(true);
    XReverseButton = PlaceControl<QPushButton>(MotorGroup, "XReverseButton", 24, 72, 96, 40);
    XReverseButton->setText(QStringLiteral("X Reverse once"));
    YReverseButton = PlaceControl<QPushButton>(MotorGroup, "YReverseButton", 152, 72, 104, 40);
    YReverseButton->setText(QStringLiteral("Y Reverse once"));

    SettingsGroup4 = PlaceControl<QGroupBox>(this, "SettingsGroup4", 16, 168, 272, 112);
    SettingsGroup4->setTitle(QStringLiteral("About"));
    SettingsGroup4->setFont(ButtonFont());
    SettingsLabel5 = PlaceControl<QLabel>(SettingsGroup4, "SettingsLabel5", 16, 32, 160, 32);
    SettingsLabel5->setText(QStringLiteral("Version: 1.0.0"));
    SettingsLabel5->setFont(CalibriFont(21));
    SettingsLabel6 = PlaceControl<QLabel>(SettingsGroup4, "SettingsLabel6", 160, 72, 96, 24);
    // The whole address does not fit the label: it shows the site's name,
    // and the click (and the tool tip) has the full address.
    SettingsLabel6->setText(ShortWebAddress(makerWebAddress));
    SettingsLabel6->setToolTip(makerWebAddress);
    QFont link = ArialFont(14);
    link.setUnderline(true);
    SettingsLabel6->setFont(link);
    SettingsLabel6->setCursor(Qt::PointingHandCursor);

    // Created last so it stays above the about box it overlaps.
    SettingsLabel2 = PlaceControl<QLabel>(this, "SettingsLabel2", 80, 240, 96, 24);
    SettingsLabel2->setText(QStringLiteral("Visit us:"));
    SettingsLabel2->setFont(ArialFont(14));
}

} // namespace kovra::shell
