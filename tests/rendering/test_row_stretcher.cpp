#include "rendering/row_stretcher.h"
#include "tests/rendering/test_pictures.h"

#include <gtest/gtest.h>

namespace kovra::test {
namespace {

TEST(RowStretcher, ShrinksExactlyLikeTheSmoothStretchOfTheBoards)
{
    struct Case {
        QSize from, to;
    };
    const Case cases[] = {
        {{640, 480}, {490, 367}}, {{560, 420}, {490, 367}}, {{500, 250}, {490, 245}}, {{980, 700}, {490, 350}},
        {{1000, 37}, {490, 18}},  {{37, 1000}, {18, 490}},  {{491, 491}, {490, 490}}, {{2000, 300}, {490, 73}},
        {{1500, 1300}, {490, 425}}, {{2900, 2900}, {490, 490}}, {{8, 40}, {7, 35}},
    };
    quint32 seed = 1;
    for (const Case& c : cases) {
        ASSERT_TRUE(rendering::RowStretcher::handles(c.from, c.to));
        const QImage source = testPicture(c.from.width(), c.from.height(), seed++);
        const QImage expected = source.scaled(c.to, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        rendering::RowStretcher stretcher(c.from, c.to);
        QImage streamed(c.to, QImage::Format_RGB32);
        for (int y = 0; y < c.to.height(); ++y) {
            EXPECT_LT(stretcher.lastSourceRow(y), c.from.height());
            stretcher.stretchRow(y, source.constBits(), source.bytesPerLine(),
                                 reinterpret_cast<QRgb*>(streamed.scanLine(y)));
        }
        EXPECT_EQ(streamed, expected) << c.from.width() << "x" << c.from.height() << " -> " << c.to.width() << "x"
                                      << c.to.height();
    }
    EXPECT_FALSE(rendering::RowStretcher::handles({490, 490}, {490, 490}));
    EXPECT_FALSE(rendering::RowStretcher::handles({600, 300}, {490, 300}));
    EXPECT_FALSE(rendering::RowStretcher::handles({600, 70}, {490, 8})) << "more than six rows per output row";
    EXPECT_FALSE(rendering::RowStretcher::handles({4000, 600}, {490, 500})) << "more than six columns per output column";
}

} // namespace
} // namespace kovra::test
