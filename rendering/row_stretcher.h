#pragma once
// Area-averaging shrink of a picture one output row at a time, with the same
// fixed-point weights as the smooth stretch DrawPicture uses, so a picture
// shrunk here row by row (while it is still being decoded) is identical to
// the one DrawPicture would draw. Only shrinking in both directions is
// handled; handles() tells.

#include <QImage>
#include <QSize>

#include <vector>

namespace kovra::rendering {

class RowStretcher {
public:
    // True when source (at least 8 pixels wide) shrinks to target in both
    // directions, by at most six times.
    static bool handles(QSize source, QSize target);

    // Requires handles(source, target).
    RowStretcher(QSize source, QSize target);

    // The last source row that output row y needs.
    int lastSourceRow(int y) const { return m_rows.index[m_rows.end[y] - 1]; }

    // Output row y (0 .. target height - 1) from the RGB32 source rows at
    // bits (stride bytes apart), written to out (target width pixels).
    // Rows are meant to be asked for in order: the one source row two output
    // rows share is averaged across only once.
    void stretchRow(int y, const uchar* bits, qsizetype stride, QRgb* out);

private:
    // The source pixels (or rows) one output pixel (or row) averages: taps
    // end[i - 1] .. end[i] - 1 of index and weight, the weights of each
    // output summing to 1 << 14.
    struct Taps {
        std::vector<int> end;
        std::vector<int> index;
        std::vector<quint32> weight;
        int begin(int i) const { return i == 0 ? 0 : end[i - 1]; }
    };
    static Taps makeTaps(int source, int target);

    // The horizontal averages of one source row: four values per output
    // column, blue, green, red and alpha of QRgb's byte order (already
    // divided by 16, as the stretch does; alpha is not used).
    const quint32* averagedRow(int sourceRow, const uchar* bits, qsizetype stride);

    int m_width;
    Taps m_columns;
    Taps m_rows;
    // The averaged rows of up to eight consecutive source rows, each in the
    // slot of its row number modulo 8.
    static constexpr int Slots = 8;
    std::vector<quint32> m_averaged[Slots];
    int m_averagedRow[Slots] = {-1, -1, -1, -1, -1, -1, -1, -1};
    std::vector<quint32> m_sums; // scalar build only
    // The column taps again for two-at-a-time averaging: every column reads
    // the same even number m_columnTaps of consecutive source pixels from
    // m_columnStart[x] (never past the row's end), the ones outside its taps
    // weighing 0. Weights come in groups of eight 16-bit values (w0 w1 w0 w1
    // ...), one group per pair of pixels.
    int m_columnTaps = 0;
    std::vector<int> m_columnStart;
    std::vector<qint16> m_columnWeight;
};

} // namespace kovra::rendering
