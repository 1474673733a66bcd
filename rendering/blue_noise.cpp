#include "rendering/blue_noise.h"

#include <QElapsedTimer>
#include <QLoggingCategory>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>

namespace kovra::rendering {

Q_LOGGING_CATEGORY(lcBlueNoise, "kovra.rendering", QtInfoMsg)

namespace {

constexpr int kSide = BlueNoiseMask::Side;
constexpr int kCells = BlueNoiseMask::Cells;
// Width of the Gaussian that measures how crowded a cell's neighbourhood is.
constexpr double kSigma = 1.5;
// The initial pattern darkens this share of the cells.
constexpr int kInitialShare = 10;
constexpr std::uint32_t kSeed = 0x4B6F7672; // any fixed value: the mask is the same on every run

// The crowding of every cell by the set cells around it, on a torus so that
// the mask tiles without seams. Whole numbers, so adding a dot and taking it
// away again leaves every sum exactly as it was.
class Energy {
public:
    Energy()
        : m_kernel(kCells)
        , m_sum(kCells, 0)
        , m_set(kCells, false)
    {
        for (int dy = 0; dy < kSide; ++dy) {
            for (int dx = 0; dx < kSide; ++dx) {
                const int wy = std::min(dy, kSide - dy);
                const int wx = std::min(dx, kSide - dx);
                const double g = std::exp(-(wx * wx + wy * wy) / (2 * kSigma * kSigma));
                m_kernel[size_t(dy * kSide + dx)] = std::llround(g * (1 << 24));
            }
        }
    }

    bool isSet(int cell) const { return m_set[size_t(cell)]; }
    void set(int cell) { change(cell, true); }
    void clear(int cell) { change(cell, false); }

    // The most crowded set cell, and the least crowded clear one; the first
    // in reading order wins a tie.
    int tightestCluster() const { return extreme(true); }
    int largestVoid() const { return extreme(false); }

private:
    void change(int cell, bool set)
    {
        m_set[size_t(cell)] = set;
        const int cx = cell % kSide;
        const int cy = cell / kSide;
        for (int y = 0; y < kSide; ++y) {
            const std::int64_t* k = &m_kernel[size_t(((y - cy) & (kSide - 1)) * kSide)];
            std::int64_t* e = &m_sum[size_t(y * kSide)];
            for (int x = 0; x < kSide; ++x) {
                const std::int64_t w = k[(x - cx) & (kSide - 1)];
                e[x] += set ? w : -w;
            }
        }
    }

    int extreme(bool amongSet) const
    {
        int best = -1;
        for (int i = 0; i < kCells; ++i) {
            if (m_set[size_t(i)] != amongSet)
                continue;
            if (best < 0 || (amongSet ? m_sum[size_t(i)] > m_sum[size_t(best)] : m_sum[size_t(i)] < m_sum[size_t(best)]))
                best = i;
        }
        return best;
    }

    std::vector<std::int64_t> m_kernel;
    std::vector<std::int64_t> m_sum;
    std::vector<bool> m_set;
};

} // namespace

BlueNoiseMask::BlueNoiseMask()
    : m_rank(kCells, 0)
{
    QElapsedTimer clock;
    clock.start();
    // An initial pattern of scattered dots...
    Energy energy;
    std::mt19937 random(kSeed);
    int dots = 0;
    while (dots < kCells / kInitialShare) {
        const int cell = int(random() % kCells);
        if (!energy.isSet(cell)) {
            energy.set(cell);
            ++dots;
        }
    }
    // ...evened out: the dot in the tightest cluster moves to the largest
    // void until it would land where it was.
    for (int moves = 0; moves < 4 * kCells; ++moves) {
        const int cluster = energy.tightestCluster();
        energy.clear(cluster);
        const int gap = energy.largestVoid();
        energy.set(gap);
        if (gap == cluster)
            break;
    }
    const Energy prototype = energy;

    // Ranks below the pattern's: take dots away, tightest cluster first.
    for (int rank = dots - 1; rank >= 0; --rank) {
        const int cluster = energy.tightestCluster();
        energy.clear(cluster);
        m_rank[size_t(cluster)] = quint16(rank);
    }
    // Ranks from the pattern up: fill the largest void each time. (Past half
    // full, the emptiest remaining cell is the tightest cluster of the clear
    // cells, so one rule serves to the end.)
    energy = prototype;
    for (int rank = dots; rank < kCells; ++rank) {
        const int gap = energy.largestVoid();
        energy.set(gap);
        m_rank[size_t(gap)] = quint16(rank);
    }
    qCDebug(lcBlueNoise) << "blue-noise mask made in" << clock.elapsed() << "ms";
}

const BlueNoiseMask& SharedBlueNoiseMask()
{
    static const BlueNoiseMask mask;
    return mask;
}

} // namespace kovra::rendering
