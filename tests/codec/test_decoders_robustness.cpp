// Cut and damaged pictures: every decoder either gives a consistent picture
// or a reason, never a crash or a half-filled result.
#include "codec/picture_loader.h"
#include "image/bitmap_image.h"

#include "tests/codec/decoders_samples.h"

#include <gtest/gtest.h>

#include <random>

using namespace kovra::codec;
using namespace kovra::test;

namespace {

// What every answer must look like, good or bad.
void expectConsistent(const LoadedPicture& p, const std::string& what, QSize minSize = QSize())
{
    if (p.ok()) {
        EXPECT_EQ(p.image.format(), QImage::Format_RGB32) << what;
        if (minSize.isValid()) { // reduced, but still covering the fitted size
            const QSize fitted = FittedPictureSize(p.width, p.height, minSize);
            EXPECT_GE(p.image.width(), fitted.width()) << what;
            EXPECT_GE(p.image.height(), fitted.height()) << what;
            EXPECT_LE(p.image.width(), p.width) << what;
            EXPECT_LE(p.image.height(), p.height) << what;
        } else {
            EXPECT_EQ(p.image.size(), QSize(p.width, p.height)) << what;
        }
        EXPECT_LE(qMax(p.width, p.height), kMaxPictureSide) << what;
        EXPECT_TRUE(p.error.isEmpty()) << what;
    } else {
        EXPECT_EQ(QSize(p.width, p.height), QSize(0, 0)) << what;
        EXPECT_FALSE(p.error.isEmpty()) << what;
    }
}

} // namespace

TEST(DecoderRobustness, EverySampleDecodes)
{
    for (const SampleFile& s : sampleFiles()) {
        const LoadedPicture p = LoadPicture(s.bytes);
        EXPECT_TRUE(p.ok()) << s.kind << ": " << p.error.toStdString();
        expectConsistent(p, s.kind);
    }
}

TEST(DecoderRobustness, CutFilesFailWithAReason)
{
    for (const SampleFile& s : sampleFiles()) {
        const LoadedPicture full = LoadPicture(s.bytes);
        const qsizetype n = s.bytes.size();
        const qsizetype step = qMax<qsizetype>(1, n / 300);
        for (qsizetype len = 0; len < n; len += step) {
            const std::string what = std::string(s.kind) + " cut to " + std::to_string(len) + " of " + std::to_string(n);
            const LoadedPicture p = LoadPicture(s.bytes.left(len));
            expectConsistent(p, what);
            // Only the very end (padding, end marks) may be missing from a file that still loads.
            // A progressive file cut between two scans is a valid file of fewer scans.
            const bool mayStopBetweenScans = std::string(s.kind) == "jpeg progressive";
            if (len <= n * 3 / 4 && !mayStopBetweenScans) {
                EXPECT_FALSE(p.ok()) << what;
            } else if (p.ok()) {
                EXPECT_EQ(p.image.size(), full.image.size()) << what;
            }
        }
    }
}

TEST(DecoderRobustness, DamagedFilesGiveAPictureOrAReason)
{
    std::mt19937 random(20240611);
    for (const SampleFile& s : sampleFiles()) {
        for (int round = 0; round < 300; ++round) {
            QByteArray bytes = s.bytes;
            const int changes = 1 + int(random() % 4);
            for (int i = 0; i < changes; ++i) {
                // Headers are where sizes live: damage them more often.
                const qsizetype span = (round % 2) ? bytes.size() : qMin<qsizetype>(bytes.size(), 64);
                bytes[qsizetype(random() % quint32(span))] = char(random() & 0xFF);
            }
            const std::string what = std::string(s.kind) + " round " + std::to_string(round);
            expectConsistent(LoadPicture(bytes), what);
            expectConsistent(LoadPicture(bytes, QSize(7, 7)), what + " scaled", QSize(7, 7));
        }
    }
}

TEST(DecoderRobustness, BitmapImageLoaderSurvivesDamage)
{
    std::mt19937 random(77);
    const std::vector<SampleFile> samples = sampleFiles();
    for (const SampleFile& s : samples) {
        if (std::string(s.name) != "bmp")
            continue;
        for (int round = 0; round < 300; ++round) {
            QByteArray bytes = s.bytes;
            bytes[qsizetype(random() % quint32(qMin<qsizetype>(bytes.size(), 60)))] = char(random() & 0xFF);
            if (round % 3 == 0)
                bytes.truncate(qsizetype(random() % quint32(bytes.size())));
            kovra::image::BitmapImage img;
            if (!img.LoadFromBmp(bytes)) {
                EXPECT_TRUE(img.isEmpty());
                continue;
            }
            // Whatever loaded is a whole image: it saves, reloads and converts.
            kovra::image::BitmapImage again;
            ASSERT_TRUE(again.LoadFromBmp(img.SaveToBmp())) << s.kind << " " << round;
            EXPECT_EQ(again.bits(), img.bits());
            EXPECT_FALSE(img.ConvertToDepth(1).isEmpty());
            EXPECT_EQ(img.ToQImage().size(), QSize(img.width(), img.height()));
        }
    }
}
