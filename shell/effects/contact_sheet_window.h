#pragma once
// The contact sheet: every rendering of the current picture and tuning at
// once, each labelled, so they can be compared side by side. A tile shows
// its rendering whole at half size, or, with "Actual size" ticked, the middle
// of it dot for dot. Clicking a tile chooses that rendering, as a click on an
// effect board does. The last cell shows the tuned picture itself. The sheet
// opens as large as the screen's free area allows, scrolls what does not fit
// and can be resized.

#include "rendering/rendering.h"

#include <QImage>
#include <QRect>
#include <QWidget>

#include <vector>

class QCheckBox;
class QLabel;
class QScrollArea;

namespace kovra::shell {

class ContactSheetTile;

class ContactSheetWindow : public QWidget {
    Q_OBJECT
public:
    // A tile shows a fitted square at 1:2, or its middle part at 1:1.
    static constexpr int TileSide = 245;
    static constexpr int Columns = 4;

    explicit ContactSheetWindow(QWidget* parent = nullptr);
    ~ContactSheetWindow() override;

    // renderings: FitSize squares in the order of AllRenderings; tuned: the
    // tuned picture; place: where the picture lies in the square.
    void showRenderings(const std::vector<QImage>& renderings, const QImage& tuned, const QRect& place);
    // Blank tiles that ignore clicks, while a picture is being prepared.
    void clearRenderings();
    // What tile i shows now (the last one is the picture).
    QImage tileImage(int i) const;
    int tileCount() const { return int(m_tiles.size()); }
    // The tile itself, for clicks.
    QWidget* tile(int i) const;
    // The sheet of tiles, scrolled inside the window.
    QScrollArea* scrollArea() const { return m_scroll; }

    QCheckBox* ActualSizeCheck = nullptr;
    QLabel* HintLabel = nullptr;

signals:
    void chosen(rendering::Rendering rendering);

protected:
    void changeEvent(QEvent* event) override;

private:
    void retranslate();
    void addCell(QWidget* sheet, int i);
    void showTiles();

    QScrollArea* m_scroll = nullptr;
    std::vector<ContactSheetTile*> m_tiles;
    std::vector<QLabel*> m_labels;
    // Both views of every cell, made once per change of the renderings (the
    // renderings themselves are not kept).
    std::vector<QImage> m_halves;
    std::vector<QImage> m_middles;
};

// A rendering reduced to half its size, each new pixel the average of two by
// two dots (so the tile keeps the rendering's tone), or the middle part
// around place's centre at its own size.
QImage HalfSize(const QImage& image);
QImage MiddlePart(const QImage& image, const QRect& place, int side);

} // namespace kovra::shell
