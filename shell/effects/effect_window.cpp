#include "shell/effects/effect_window.h"

#include "shell/widgets/board_widget.h"
#include "shell/effects/tuning_strip.h"
#include "shell/widgets/window_fonts.h"
#include "shell/widgets/window_placement.h"

#include <QCloseEvent>
#include <QLabel>

namespace kovra::shell {

EffectWindow::EffectWindow(image::DrawingBoard& blackWhiteBoard, image::DrawingBoard& ditherBoard, QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("EffectWindow"));
    setWindowTitle(QString());
    WindowPlacement::Keep(this, QRect(QPoint(50, 50), Size), WindowPlacement::Sizing::FixedInsideHeight,
        WindowPlacement::Title::Untitled);

    EffectPromptLabel = new QLabel(this);
    EffectPromptLabel->setObjectName(QStringLiteral("EffectPromptLabel"));
    EffectPromptLabel->setGeometry(16, 16, 504, 40);
    EffectPromptLabel->setText(QStringLiteral("Select an effect you like :"));
    EffectPromptLabel->setFont(ArialFont(24));

    BlackWhiteBoard = new BoardWidget(blackWhiteBoard, this);
    BlackWhiteBoard->setObjectName(QStringLiteral("BlackWhiteBoard"));
    BlackWhiteBoard->setGeometry(8, 56, 514, 514);
    DitherBoard = new BoardWidget(ditherBoard, this);
    DitherBoard->setObjectName(QStringLiteral("DitherBoard"));
    DitherBoard->setGeometry(544, 56, 514, 514);

    TuningControls = new TuningStrip(this);
    TuningControls->setGeometry(0, TuningStripTop, Size.width(), TuningStrip::Height);

    connect(BlackWhiteBoard, &BoardWidget::leftButtonUp, this, [this] { emit blackWhiteChosen(); });
    connect(DitherBoard, &BoardWidget::leftButtonUp, this, [this] { emit ditherChosen(); });
}

void EffectWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        emit shown();
}

void EffectWindow::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    emit closed();
}

} // namespace kovra::shell
