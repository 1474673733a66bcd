#pragma once
// A drawing board: a persistent backing picture of the board's picture area,
// a background picture and colour, a text font and a mouse pointer number.
// Whatever is drawn stays until the board is cleared or overdrawn; the widget
// that shows a board only paints picture() and listens to changed().

#include "image/colour_ref.h"

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QObject>
#include <QRect>

#include <functional>

class QPainter;

namespace kovra::image {

class DrawingBoard : public QObject {
    Q_OBJECT
public:
    // width and height are the picture area (inside the one-pixel frame).
    DrawingBoard(int width, int height, QObject* parent = nullptr);

    int width() const { return m_picture.width(); }
    int height() const { return m_picture.height(); }
    // Resizing keeps what fits and fills the new area with the background.
    void resize(int width, int height);

    // Repaints the whole picture area with the background colour and picture.
    void ClearBoard();
    // Rebuilds the backing picture from the new background alone: everything
    // drawn before is discarded.
    void SetBackgroundPicture(const QImage& background);
    const QImage& backgroundPicture() const { return m_background; }
    // The board as it was: this background, and picture (of the board's
    // size) as what is drawn; for taking an edit back.
    void RestorePicture(const QImage& background, const QImage& picture);
    void SetBackgroundColour(const QColor& colour);
    QColor backgroundColour() const { return m_backgroundColour; }

    // At the picture's own size, source copy; a null picture draws nothing.
    void DrawPicture(const QImage& picture, int x, int y);
    // Stretched to width × height by area averaging.
    void DrawPicture(const QImage& picture, int x, int y, int width, int height);
    // Outside the picture area nothing happens. colour is 0x00BBGGRR.
    void SetBoardPixel(int x, int y, quint32 colour);
    // Runs paint on a painter over the backing picture, then repaints area
    // (the whole board when area is null).
    void Paint(const std::function<void(QPainter&)>& paint, const QRect& area = QRect());

    // The bytes of a 24-bit BMP file of the whole picture area as it is now.
    QByteArray CaptureBoard() const;
    // The backing picture itself (RGB32), for showing and for fast reads.
    const QImage& picture() const { return m_picture; }

    // The number of the standard mouse pointer the shell shows over the
    // board (0 until set); the board only keeps it and says when it changes.
    void SetPointer(int pointer);
    int Pointer() const { return m_pointer; }

    void SetTextFont(const QFont& font) { m_textFont = font; }
    const QFont& TextFont() const { return m_textFont; }

signals:
    void changed(const QRect& area);
    void pointerChanged(int pointer);

private:
    void paintBackground(const QRect& area);

    QImage m_picture;
    QImage m_background;
    QColor m_backgroundColour;
    QFont m_textFont;
    int m_pointer = 0;
};

// picture drawn into target over area, stretched by area averaging when the
// sizes differ, transparency over white, source copy: what a board's
// DrawPicture does to its backing picture.
void DrawPictureInto(QImage& target, const QImage& picture, const QRect& area);

// A 24-bit BMP file (bottom row first, rows padded to 4 bytes) of an image.
QByteArray EncodeBmp24(const QImage& image);


} // namespace kovra::image
