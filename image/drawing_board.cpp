#include "image/drawing_board.h"

#include "image/bmp_writer.h"

#include <QPainter>

namespace kovra::image {

namespace {
// The platform's standard face colour for controls.
const QColor kFaceColour(240, 240, 240);
} // namespace

DrawingBoard::DrawingBoard(int width, int height, QObject* parent)
    : QObject(parent)
    , m_picture(qMax(width, 0), qMax(height, 0), QImage::Format_RGB32)
    , m_backgroundColour(kFaceColour)
{
    paintBackground(m_picture.rect());
}

void DrawingBoard::resize(int width, int height)
{
    width = qMax(width, 0);
    height = qMax(height, 0);
    if (width == this->width() && height == this->height())
        return;
    QImage old = m_picture;
    m_picture = QImage(width, height, QImage::Format_RGB32);
    paintBackground(m_picture.rect());
    {
        QPainter p(&m_picture);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(0, 0, old);
    }
    emit changed(m_picture.rect());
}

void DrawingBoard::paintBackground(const QRect& area)
{
    if (m_picture.isNull())
        return;
    QPainter p(&m_picture);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.fillRect(area, m_backgroundColour);
    if (!m_background.isNull()) {
        p.setClipRect(area);
        p.drawImage(0, 0, m_background);
    }
}

void DrawingBoard::ClearBoard()
{
    paintBackground(m_picture.rect());
    emit changed(m_picture.rect());
}

void DrawingBoard::SetBackgroundPicture(const QImage& background)
{
    m_background = background.convertToFormat(QImage::Format_RGB32);
    ClearBoard();
}

void DrawingBoard::RestorePicture(const QImage& background, const QImage& picture)
{
    m_background = background.convertToFormat(QImage::Format_RGB32);
    if (picture.size() != m_picture.size()) {
        paintBackground(m_picture.rect());
    } else {
        m_picture = picture.convertToFormat(QImage::Format_RGB32);
    }
    emit changed(m_picture.rect());
}

void DrawingBoard::SetBackgroundColour(const QColor& colour)
{
    m_backgroundColour = colour;
}

void DrawingBoard::DrawPicture(const QImage& picture, int x, int y)
{
    if (picture.isNull())
        return;
    DrawPicture(picture, x, y, picture.width(), picture.height());
}

void DrawingBoard::DrawPicture(const QImage& picture, int x, int y, int width, int height)
{
    if (picture.isNull() || width <= 0 || height <= 0)
        return;
    const QRect area(x, y, width, height);
    DrawPictureInto(m_picture, picture, area);
    emit changed(area.intersected(m_picture.rect()));
}

void DrawPictureInto(QImage& target, const QImage& picture, const QRect& area)
{
    if (picture.isNull() || area.isEmpty())
        return;
    // Transparent parts of a picture are shown over white.
    QImage source = picture;
    if (source.hasAlphaChannel()) {
        QImage flat(source.size(), QImage::Format_RGB32);
        flat.fill(Qt::white);
        QPainter fp(&flat);
        fp.drawImage(0, 0, source);
        fp.end();
        source = flat;
    }
    if (source.size() != area.size())
        source = source.scaled(area.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QPainter p(&target);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(area.topLeft(), source);
}

void DrawingBoard::SetBoardPixel(int x, int y, quint32 colour)
{
    if (x < 0 || y < 0 || x >= width() || y >= height())
        return;
    m_picture.setPixel(x, y, ColourRefToRgb(colour));
    emit changed(QRect(x, y, 1, 1));
}

void DrawingBoard::Paint(const std::function<void(QPainter&)>& paint, const QRect& area)
{
    {
        QPainter p(&m_picture);
        paint(p);
    }
    emit changed(area.isNull() ? m_picture.rect() : area.intersected(m_picture.rect()));
}

QByteArray DrawingBoard::CaptureBoard() const
{
    return EncodeBmp24(m_picture);
}

void DrawingBoard::SetPointer(int pointer)
{
    if (pointer == m_pointer)
        return;
    m_pointer = pointer;
    emit pointerChanged(pointer);
}

QByteArray EncodeBmp24(const QImage& image)
{
    // 72 dots per inch, as the platform's own captures say.
    return WriteBmp(image, 24, 2835);
}

} // namespace kovra::image
