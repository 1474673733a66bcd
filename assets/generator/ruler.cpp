#include "assets/generator/ruler.h"

#include <functional>

namespace kovra::assets {

namespace {

// Across the ruler, 0 is the inner edge (next to the board) and 11 the outer.
constexpr int Thickness = 12;
constexpr int BaselineFirst = 10;     // rows/columns 10 and 11
constexpr int MinorTickFirst = 7;     // short ticks span 7..9
constexpr int MajorTickFirst = 4;     // every fifth tick spans 4..9

// 3 x 5 digits: at this size a drawn font only smears.
constexpr const char* DigitZero[5] = {"###", "#.#", "#.#", "#.#", "###"};
constexpr const char* DigitFive[5] = {"###", "#..", "###", "..#", "###"};

using Plot = std::function<void(int along, int across)>;

void drawScale(int length, const Plot& plot)
{
    for (int along = 0; along < length; ++along)
        for (int across = BaselineFirst; across < Thickness; ++across)
            plot(along, across);
    for (int n = 0; RulerTickPosition(n) < length; ++n) {
        const int first = n % 5 == 0 ? MajorTickFirst : MinorTickFirst;
        for (int across = first; across < BaselineFirst; ++across)
            plot(RulerTickPosition(n), across);
    }
}

// Calls draw(digitRows, tickPosition) for every fifth tick, 0 and 5 in turn.
void forEachDigit(int length, const std::function<void(const char* const* rows, int tick)>& draw)
{
    for (int n = 0; RulerTickPosition(n) < length; n += 5)
        draw(n % 10 == 0 ? DigitZero : DigitFive, RulerTickPosition(n));
}

void setBlack(QImage& image, int x, int y)
{
    if (x >= 0 && y >= 0 && x < image.width() && y < image.height())
        image.setPixel(x, y, qRgb(0, 0, 0));
}

} // namespace

QImage DrawHorizontalRuler()
{
    QImage image(HorizontalRulerWidth, HorizontalRulerHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    drawScale(HorizontalRulerWidth, [&](int along, int across) { setBlack(image, along, across); });
    forEachDigit(HorizontalRulerWidth, [&](const char* const* rows, int tick) {
        for (int r = 0; r < 5; ++r)
            for (int c = 0; c < 3; ++c)
                if (rows[r][c] == '#')
                    setBlack(image, tick + 2 + c, 1 + r);
    });
    return image;
}

QImage DrawVerticalRuler()
{
    QImage image(VerticalRulerWidth, VerticalRulerHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    drawScale(VerticalRulerHeight, [&](int along, int across) { setBlack(image, across, along); });
    forEachDigit(VerticalRulerHeight, [&](const char* const* rows, int tick) {
        for (int r = 0; r < 5; ++r)
            for (int c = 0; c < 3; ++c)
                if (rows[r][c] == '#')
                    setBlack(image, 1 + c, tick + 2 + r);
    });
    return image;
}

} // namespace kovra::assets
