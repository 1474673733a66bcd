#include "shell/effects/contact_sheet_window.h"

#include "shell/effects/tuning_strip.h"
#include "shell/widgets/window_fonts.h"
#include "shell/widgets/window_placement.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>
#include <QStyle>

namespace kovra::shell {

namespace {

constexpr int kMargin = 8;
constexpr int kGap = 10;
constexpr int kLabelHeight = 20;
constexpr int kTop = 40;    // where the tiles begin
constexpr int kTopRow = 24; // the check box and the hint above them
// The tile with its one-pixel frame.
constexpr int kFramed = ContactSheetWindow::TileSide + 2;
constexpr int kCells = rendering::RenderingCount + 1;
constexpr int kRows = (kCells + ContactSheetWindow::Columns - 1) / ContactSheetWindow::Columns;
// All tiles with their labels.
constexpr QSize kSheet{ContactSheetWindow::Columns * kFramed + (ContactSheetWindow::Columns - 1) * kGap,
                       kRows * (kLabelHeight + kFramed) + (kRows - 1) * kGap};

QPoint cellOrigin(int i)
{
    const int col = i % ContactSheetWindow::Columns;
    const int row = i / ContactSheetWindow::Columns;
    return {col * (kFramed + kGap), row * (kLabelHeight + kFramed + kGap)};
}

} // namespace

// One tile: a picture in a one-pixel frame that reports a left-button
// release inside it.
class ContactSheetTile : public QWidget {
public:
    ContactSheetTile(QWidget* parent, std::function<void()> onClick)
        : QWidget(parent)
        , m_onClick(std::move(onClick))
    {
    }
    void setImage(const QImage& image)
    {
        m_image = image;
        setCursor(m_onClick && !image.isNull() ? Qt::PointingHandCursor : Qt::ArrowCursor);
        update();
    }
    const QImage& image() const { return m_image; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        p.setPen(Qt::black);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
        if (!m_image.isNull())
            p.drawImage(1, 1, m_image);
    }
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && !m_image.isNull()
            && m_onClick)
            m_onClick();
    }

private:
    std::function<void()> m_onClick;
    QImage m_image;
};

ContactSheetWindow::ContactSheetWindow(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("ContactSheetWindow"));

    ActualSizeCheck = new QCheckBox(this);
    ActualSizeCheck->setObjectName(QStringLiteral("ActualSizeCheck"));
    ActualSizeCheck->setFont(ArialFont(13));
    HintLabel = new QLabel(this);
    HintLabel->setObjectName(QStringLiteral("HintLabel"));
    HintLabel->setFont(ArialFont(13));
    HintLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    ActualSizeCheck->setFixedHeight(kTopRow);
    HintLabel->setFixedHeight(kTopRow);

    auto* sheet = new QWidget;
    sheet->setFixedSize(kSheet);
    for (int i = 0; i < kCells; ++i)
        addCell(sheet, i);
    m_scroll = new QScrollArea(this);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_scroll->setWidget(sheet);

    auto* top = new QHBoxLayout;
    top->addWidget(ActualSizeCheck);
    top->addStretch();
    top->addWidget(HintLabel);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    layout->setSpacing(kTop - kMargin - kTopRow);
    layout->addLayout(top);
    layout->addWidget(m_scroll, 1);

    // The whole sheet where the screen has room for it (the scroll bar's
    // width kept free for screens that do not), else the screen's free area.
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    setMinimumSize(kFramed + 2 * kMargin + scrollBar, kTop + kLabelHeight + kMargin + 60);
    WindowPlacement::Keep(this,
        QRect(0, 0, kSheet.width() + 2 * kMargin + scrollBar, kTop + kSheet.height() + kMargin),
        WindowPlacement::Sizing::FitScreen);
    connect(ActualSizeCheck, &QCheckBox::toggled, this, [this] { showTiles(); });
    retranslate();
}

void ContactSheetWindow::retranslate()
{
    setWindowTitle(tr("All renderings"));
    ActualSizeCheck->setText(tr("Actual size (the middle of the picture, dot for dot)"));
    HintLabel->setText(tr("Click a rendering to choose it"));
    for (size_t i = 0; i < m_labels.size(); ++i) {
        const bool isRendering = i < size_t(rendering::RenderingCount);
        m_labels[i]->setText(isRendering ? RenderingTitle(rendering::AllRenderings[i]) : tr("The tuned picture"));
        if (isRendering) {
            // The name the command line knows it by, beside the window's.
            m_labels[i]->setToolTip(TuningStrip::CommandLineTip(rendering::AllRenderings[i]));
            m_tiles[i]->setToolTip(m_labels[i]->toolTip());
        }
    }
}

void ContactSheetWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

void ContactSheetWindow::addCell(QWidget* sheet, int i)
{
    const QPoint at = cellOrigin(i);
    const bool isRendering = i < rendering::RenderingCount;
    auto* label = new QLabel(sheet);
    label->setGeometry(at.x(), at.y(), kFramed, kLabelHeight);
    label->setFont(ArialFont(13, isRendering));
    m_labels.push_back(label);
    std::function<void()> onClick;
    if (isRendering)
        onClick = [this, i] { emit chosen(rendering::AllRenderings[size_t(i)]); };
    auto* tile = new ContactSheetTile(sheet, std::move(onClick));
    tile->setObjectName(isRendering ? QStringLiteral("Tile_") + rendering::RenderingName(rendering::AllRenderings[size_t(i)])
                                    : QStringLiteral("Tile_picture"));
    tile->setGeometry(at.x(), at.y() + kLabelHeight, kFramed, kFramed);
    m_tiles.push_back(tile);
}

ContactSheetWindow::~ContactSheetWindow() = default;

void ContactSheetWindow::showRenderings(const std::vector<QImage>& renderings, const QImage& tuned, const QRect& place)
{
    m_halves.assign(m_tiles.size(), QImage());
    m_middles.assign(m_tiles.size(), QImage());
    for (size_t i = 0; i < m_tiles.size(); ++i) {
        const QImage& img = i < size_t(rendering::RenderingCount) ? (i < renderings.size() ? renderings[i] : QImage()) : tuned;
        if (img.isNull())
            continue;
        m_halves[i] = HalfSize(img);
        m_middles[i] = MiddlePart(img, place, TileSide);
    }
    showTiles();
}

void ContactSheetWindow::clearRenderings()
{
    m_halves.clear();
    m_middles.clear();
    showTiles();
}

void ContactSheetWindow::showTiles()
{
    const std::vector<QImage>& shown = ActualSizeCheck->isChecked() ? m_middles : m_halves;
    for (size_t i = 0; i < m_tiles.size(); ++i)
        m_tiles[i]->setImage(i < shown.size() ? shown[i] : QImage());
}

QImage ContactSheetWindow::tileImage(int i) const
{
    return i >= 0 && i < tileCount() ? m_tiles[size_t(i)]->image() : QImage();
}

QWidget* ContactSheetWindow::tile(int i) const
{
    return i >= 0 && i < tileCount() ? m_tiles[size_t(i)] : nullptr;
}

QImage HalfSize(const QImage& image)
{
    const QImage src = image.convertToFormat(QImage::Format_RGB32);
    QImage out(src.width() / 2, src.height() / 2, QImage::Format_RGB32);
    for (int y = 0; y < out.height(); ++y) {
        const auto* a = reinterpret_cast<const QRgb*>(src.constScanLine(2 * y));
        const auto* b = reinterpret_cast<const QRgb*>(src.constScanLine(2 * y + 1));
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const QRgb p[4] = {a[2 * x], a[2 * x + 1], b[2 * x], b[2 * x + 1]};
            int r = 0, g = 0, bl = 0;
            for (QRgb c : p) {
                r += qRed(c);
                g += qGreen(c);
                bl += qBlue(c);
            }
            line[x] = qRgb((r + 2) / 4, (g + 2) / 4, (bl + 2) / 4);
        }
    }
    return out;
}

QImage MiddlePart(const QImage& image, const QRect& place, int side)
{
    const QPoint centre = place.isEmpty() ? image.rect().center() : place.center();
    const int x = qBound(0, centre.x() - side / 2, qMax(0, image.width() - side));
    const int y = qBound(0, centre.y() - side / 2, qMax(0, image.height() - side));
    return image.copy(x, y, side, side);
}

} // namespace kovra::shell
