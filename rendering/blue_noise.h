#pragma once
// A threshold mask with a blue-noise spectrum, made by the void-and-cluster
// method: dots of every density it yields are spread evenly, with no clumps
// and no visible grid. Made by our own code from a fixed seed, so every run
// and every machine gets the same mask.

#include <QtGlobal>

#include <vector>

namespace kovra::rendering {

class BlueNoiseMask {
public:
    static constexpr int Side = 64;
    static constexpr int Cells = Side * Side;

    // Runs the void-and-cluster method (some tens of milliseconds).
    BlueNoiseMask();

    // The rank of cell (x, y) (wrapping), 0 .. Cells - 1, each rank once: a
    // grey that darkens a share s of the dots darkens the cells of rank
    // below s × Cells.
    int rank(int x, int y) const { return m_rank[size_t((y & (Side - 1)) * Side + (x & (Side - 1)))]; }

private:
    std::vector<quint16> m_rank;
};

// The mask, made on first use and kept: it is a constant table, the same for
// every caller.
const BlueNoiseMask& SharedBlueNoiseMask();

} // namespace kovra::rendering
