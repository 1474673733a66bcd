#pragma once
// The effect window: the black-and-white and the dithered rendering side by
// side; clicking one chooses it. Modeless; the picture session drives it.

#include <QWidget>

class QLabel;

namespace kovra::image {
class DrawingBoard;
}

namespace kovra::shell {

class BoardWidget;

class EffectWindow : public QWidget {
    Q_OBJECT
public:
    EffectWindow(image::DrawingBoard& blackWhiteBoard, image::DrawingBoard& ditherBoard, QWidget* parent = nullptr);

    QLabel* EffectPromptLabel = nullptr;
    BoardWidget* BlackWhiteBoard = nullptr;
    BoardWidget* DitherBoard = nullptr;

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
