#pragma once
// The effect window: the black-and-white and the dithered rendering side by
// side; clicking one chooses it. Under the boards, the tuning strip. Modeless;
// the picture session drives it.

#include <QSize>
#include <QWidget>

class QLabel;

namespace kovra::image {
class DrawingBoard;
}

namespace kovra::shell {

class BoardWidget;
class TuningStrip;

class EffectWindow : public QWidget {
    Q_OBJECT
public:
    // The window's width and the height of its inside: the boards' area with
    // the tuning strip below it. The window grows by the height of whatever
    // frame the window manager gives it, so the strip is always whole.
    static constexpr QSize Size{1080, 652};
    // Where the tuning strip starts, under the boards.
    static constexpr int TuningStripTop = 576;

    EffectWindow(image::DrawingBoard& blackWhiteBoard, image::DrawingBoard& ditherBoard, QWidget* parent = nullptr);

    QLabel* EffectPromptLabel = nullptr;
    BoardWidget* BlackWhiteBoard = nullptr;
    BoardWidget* DitherBoard = nullptr;
    TuningStrip* TuningControls = nullptr;

signals:
    // The window is being shown (not hidden).
    void shown();
    // The user (or the program) closed the window.
    void closed();
    void blackWhiteChosen();
    void ditherChosen();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
};

} // namespace kovra::shell
