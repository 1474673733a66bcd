#include "rendering/black_white.h"
#include "rendering/blue_noise.h"
#include "rendering/dither.h"
#include "rendering/fitting.h"
#include "rendering/rendering.h"
#include "rendering/tuning.h"

#include <gtest/gtest.h>

#include <QImage>

#include <cmath>
#include <set>

namespace kovra::test {
namespace {

using rendering::FitSize;
using rendering::Rendering;
using rendering::Tuning;

const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kWhite = qRgb(255, 255, 255);
const QRect kWhole(0, 0, FitSize, FitSize);

QImage filled(int w, int h, QRgb colour)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(colour);
    return img;
}

int countBlack(const QImage& img, const QRect& area)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += img.pixel(x, y) == kBlack;
    return n;
}

// A fitted square with a picture of colour at place and white margins.
QImage fittedWith(const QRect& place, QRgb colour)
{
    QImage img = filled(FitSize, FitSize, kWhite);
    for (int y = place.top(); y <= place.bottom(); ++y)
        for (int x = place.left(); x <= place.right(); ++x)
            img.setPixel(x, y, colour);
    return img;
}

TEST(Tuning, NeutralIsTheIdentityAndEachControlMovesLevelsTheWayItSays)
{
    const rendering::ToneTable neutral = rendering::MakeToneTable(Tuning{});
    for (int level = 0; level < 256; ++level)
        ASSERT_EQ(neutral[size_t(level)], level);
    const QImage picture = fittedWith(QRect(10, 20, 30, 40), qRgb(12, 200, 77));
    const QImage tuned = rendering::TunePicture(picture, QRect(10, 20, 30, 40), Tuning{});
    EXPECT_EQ(tuned, picture);
    EXPECT_EQ(tuned.constBits(), picture.constBits()) << "neutral tuning copies nothing";

    struct Case {
        Tuning tuning;
        int level, expected;
    };
    const Case cases[] = {
        {{.brightness = 100}, 0, 255},   {{.brightness = -100}, 255, 0}, {{.brightness = 20}, 100, 151},
        {{.contrast = -100}, 0, 128},    {{.contrast = -100}, 255, 128}, {{.contrast = 100}, 96, 2},
        {{.contrast = 100}, 159, 254},   {{.gamma = 2.0}, 64, 128},      {{.gamma = 0.5}, 128, 64},
        {{.gamma = 5.0}, 0, 0},          {{.gamma = 0.2}, 255, 255},     {{.invert = true}, 0, 255},
        {{.invert = true}, 200, 55},
        // Invert comes first: brightening an inverted picture lightens the result.
        {{.brightness = 10, .invert = true}, 200, 81},
    };
    for (const Case& c : cases)
        EXPECT_EQ(rendering::MakeToneTable(c.tuning)[size_t(c.level)], c.expected)
            << "level " << c.level << " b " << c.tuning.brightness << " c " << c.tuning.contrast << " g "
            << c.tuning.gamma << " i " << c.tuning.invert;
}

TEST(Tuning, RangesAndTheThresholdRule)
{
    EXPECT_TRUE(Tuning{}.isNeutral());
    EXPECT_TRUE((Tuning{.brightness = -100, .contrast = 100, .gamma = 0.2, .threshold = 255}).isValid());
    for (const Tuning& bad : {Tuning{.brightness = 101}, Tuning{.contrast = -101}, Tuning{.gamma = 0.19},
                              Tuning{.gamma = 5.01}, Tuning{.threshold = -1}, Tuning{.threshold = 256}})
        EXPECT_FALSE(bad.isValid());
    // The neutral threshold is the nearer-of-black-and-white rule.
    EXPECT_EQ(rendering::DarkSumForThreshold(Tuning::NeutralThreshold), rendering::BlackWhiteDarkSum);
    // A grey is dark exactly when its level is below the threshold.
    for (int threshold : {1, 100, 128, 200, 255}) {
        const QImage below = rendering::RenderPicture(Rendering::BlackWhite, filled(8, 8, qRgb(threshold - 1, threshold - 1,
                                                                                         threshold - 1)), kWhole, threshold);
        const QImage at = rendering::RenderPicture(Rendering::BlackWhite, filled(8, 8, qRgb(threshold, threshold, threshold)),
                                               kWhole, threshold);
        EXPECT_EQ(below.pixel(3, 3), kBlack) << threshold;
        EXPECT_EQ(at.pixel(3, 3), kWhite) << threshold;
    }
}

TEST(Renderings, NamesRoundTripAndUnknownNamesAreRefused)
{
    const QStringList names = rendering::RenderingNames();
    ASSERT_EQ(names.size(), rendering::RenderingCount);
    EXPECT_EQ(names.first(), QStringLiteral("bw"));
    EXPECT_EQ(names.at(1), QStringLiteral("dither"));
    for (Rendering r : rendering::AllRenderings)
        EXPECT_EQ(rendering::RenderingFromName(rendering::RenderingName(r)), r);
    for (const char* bad : {"", "Dither", "floyd", "bw ", "blue_noise"})
        EXPECT_FALSE(rendering::RenderingFromName(QString::fromLatin1(bad)).has_value()) << bad;
}

// The new renderings keep the tone of a flat grey: the share of black dots
// is within two percent of (255 - L) / 255 at every level.
TEST(Renderings, EveryNewRenderingKeepsTheDensityOfFlatGreys)
{
    for (Rendering r : rendering::AllRenderings) {
        if (r == Rendering::BlackWhite || r == Rendering::Dither)
            continue;
        for (int level : {0, 16, 32, 64, 100, 128, 160, 192, 224, 240, 255}) {
            const QImage out = rendering::RenderPicture(r, filled(FitSize, FitSize, qRgb(level, level, level)), kWhole);
            const double share = double(countBlack(out, kWhole)) / (FitSize * FitSize);
            EXPECT_NEAR(share, (255.0 - level) / 255.0, 0.02)
                << rendering::RenderingName(r).toStdString() << " at level " << level;
        }
    }
}

// A small picture: tuning and the new renderings stay inside it, so
// inverting does not burn a frame around it, and the inverted black and
// white is the exact complement inside.
TEST(Renderings, InvertComplementsThePictureAndLeavesTheMarginsWhite)
{
    const QRect place(195, 145, 100, 200);
    QImage fitted = fittedWith(place, kWhite);
    for (int y = place.top(); y <= place.bottom(); ++y)
        for (int x = place.left(); x <= place.right(); ++x)
            fitted.setPixel(x, y, qRgb((x * 7) & 255, (y * 3) & 255, (x + y) & 255));
    const QImage inverted = rendering::TunePicture(fitted, place, Tuning{.invert = true});
    const QImage plain = rendering::RenderPicture(Rendering::BlackWhite, fitted, place);
    const QImage negative = rendering::RenderPicture(Rendering::BlackWhite, inverted, place);
    for (int y = 0; y < FitSize; ++y) {
        for (int x = 0; x < FitSize; ++x) {
            if (place.contains(x, y))
                ASSERT_NE(plain.pixel(x, y), negative.pixel(x, y)) << x << "," << y;
            else
                ASSERT_EQ(negative.pixel(x, y), kWhite) << x << "," << y;
        }
    }
    // A white picture inverted is all black inside, and only inside.
    const QImage black = rendering::TunePicture(fittedWith(place, kWhite), place, Tuning{.invert = true});
    for (Rendering r : rendering::AllRenderings) {
        const QImage out = rendering::RenderPicture(r, black, place);
        const int inside = countBlack(out, place);
        EXPECT_EQ(countBlack(out, kWhole), inside) << rendering::RenderingName(r).toStdString() << ": margins stay white";
        // The diffusion never dots its first row and column: a few short.
        EXPECT_GE(inside, place.width() * place.height() - place.width() - place.height())
            << rendering::RenderingName(r).toStdString();
    }
}

// The blue-noise mask: every rank once, and a sparse grey made from it has
// its dots spread out, never two side by side (a random mask clumps).
TEST(Renderings, BlueNoiseMaskIsAPermutationWithEvenlySpreadDots)
{
    const rendering::BlueNoiseMask& mask = rendering::SharedBlueNoiseMask();
    constexpr int side = rendering::BlueNoiseMask::Side;
    std::set<int> ranks;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            ranks.insert(mask.rank(x, y));
    ASSERT_EQ(int(ranks.size()), rendering::BlueNoiseMask::Cells);
    EXPECT_EQ(*ranks.begin(), 0);
    EXPECT_EQ(*ranks.rbegin(), rendering::BlueNoiseMask::Cells - 1);

    const int sparse = rendering::BlueNoiseMask::Cells / 10;
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            if (mask.rank(x, y) >= sparse)
                continue;
            for (auto [dx, dy] : {std::pair{1, 0}, std::pair{0, 1}, std::pair{1, 1}, std::pair{-1, 1}})
                EXPECT_GE(mask.rank(x + dx, y + dy), sparse) << "dots touch at " << x << "," << y;
        }
    }
    EXPECT_EQ(&rendering::SharedBlueNoiseMask(), &mask);
}

} // namespace
} // namespace kovra::test
