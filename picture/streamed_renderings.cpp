#include "picture/streamed_renderings.h"

#include "codec/picture_loader.h"
#include "picture/kept_thread.h"
#include "rendering/black_white.h"
#include "rendering/dither.h"
#include "rendering/fitting.h"
#include "rendering/reused_image.h"
#include "rendering/row_stretcher.h"

#include <QRect>

#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace kovra::picture {

namespace {

using rendering::FitSize;

// A sleeping renderer is woken after every this many rows, a few dozen
// times per picture rather than for every row.
constexpr int kRowBatch = 16;
// The decoder tells the renderer about its rows this many at a time.
constexpr int kPublishEvery = 4;

// How often the renderer looks for its next row before it sleeps (some
// tens of microseconds).
constexpr int kSpins = 2000;
constexpr int kPausesPerLook = 16;

const QRgb kWhite = 0xFFFFFFFFu;
constexpr QImage::Format kRgb32 = QImage::Format_RGB32;

inline void pause()
{
#ifdef __SSE2__
    _mm_pause();
#else
    std::this_thread::yield();
#endif
}

class StreamedRenderer final : public codec::DecodeRowObserver {
public:
    // buffers: images of earlier renderings to reuse.
    explicit StreamedRenderer(StreamedRenderings buffers)
        : m_buffers(std::move(buffers))
    {
    }
    ~StreamedRenderer() override { stop(false); }
    StreamedRenderer(const StreamedRenderer&) = delete;
    StreamedRenderer& operator=(const StreamedRenderer&) = delete;

    void rowsDecoded(const QImage& image, int trueWidth, int trueHeight, int rows) override
    {
        if (!m_running && !m_declined && !start(image, trueWidth, trueHeight))
            m_declined = true;
        if (m_declined)
            return;
        // Released, not sequentially consistent: a full fence per row slows
        // the decoder. A sleeping renderer is woken every few rows (and at
        // the end of the decode); that costs next to nothing while it runs.
        // Published every few rows only: each store pulls the counter's
        // cache line back from the renderer that reads it.
        if (rows % kPublishEvery != 0 && rows != image.height())
            return;
        m_rows.store(rows, std::memory_order_release);
        if (rows % kRowBatch == 0) {
            std::lock_guard lock(m_mutex);
            m_wake.notify_one();
        }
    }

    void decodeEnded(bool complete) override { stop(complete); }

    // The renderings, when the whole picture went through.
    StreamedRenderings take()
    {
        if (!m_finished || !m_complete)
            return {};
        StreamedRenderings out;
        out.fitted = std::move(m_fitted);
        out.blackWhite = std::move(m_blackWhite);
        out.ditherDots = m_diffusion->takeDots();
        return out;
    }

private:
    bool start(const QImage& image, int trueWidth, int trueHeight)
    {
        m_place = rendering::FitPlacement(trueWidth, trueHeight);
        if (m_place.isEmpty() || image.format() != QImage::Format_RGB32
            || !rendering::RowStretcher::handles(image.size(), m_place.size()))
            return false;
        m_bits = image.constBits();
        m_stride = image.bytesPerLine();
        m_sourceRows = image.height();
        // This runs inside the decoder's C code, which no exception may
        // cross: without memory or a thread the plain road takes over.
        try {
            m_stretcher.emplace(image.size(), m_place.size());
            m_diffusion.emplace(std::move(m_buffers.ditherDots));
            m_fitted = rendering::ReuseOrAllocate(std::move(m_buffers.fitted), FitSize, FitSize, kRgb32);
            m_blackWhite = rendering::ReuseOrAllocate(std::move(m_buffers.blackWhite), FitSize, FitSize, kRgb32);
            if (m_fitted.isNull() || m_blackWhite.isNull() || m_diffusion->dots().isNull())
                return false;
            // The kept thread, unless another picture's renderer has it.
            m_onKeptThread = KeptThread::forRenderings().start([this] { render(); });
            if (!m_onKeptThread)
                m_ownThread = std::thread([this] { render(); });
        } catch (const std::exception&) {
            return false;
        }
        m_running = true;
        return true;
    }

    void stop(bool complete)
    {
        if (!m_running)
            return;
        {
            std::lock_guard lock(m_mutex);
            m_ended = true;
            m_complete = complete;
            m_wake.notify_one();
        }
        // The renderer's last rows take a fraction of a millisecond; the
        // wait sleeps until they are done.
        if (m_onKeptThread)
            KeptThread::forRenderings().wait();
        else
            m_ownThread.join();
        m_running = false;
    }

    // False when the decode ended before the rows arrived.
    bool waitForRows(int needed)
    {
        // A row takes the decoder a few microseconds: waiting for it
        // actively costs less than falling asleep and being woken, for both
        // threads. Long waits (a progressive file decodes all its scans
        // before its first row) sleep.
        // It looks only now and then, so as not to pull the counter's cache
        // line away from the decoder all the time.
        for (int spin = 0; spin < kSpins; spin += kPausesPerLook) {
            if (m_rows.load(std::memory_order_acquire) >= needed)
                return true;
            for (int i = 0; i < kPausesPerLook; ++i)
                pause();
        }
        std::unique_lock lock(m_mutex);
        m_wake.wait(lock, [&] { return m_ended || m_rows.load(std::memory_order_acquire) >= needed; });
        return m_rows.load(std::memory_order_acquire) >= needed;
    }

    // Runs on the second thread: every fitted row, then its black and white
    // and the diffusion of the row above it.
    void render()
    {
        for (int y = 0; y < FitSize; ++y) {
            auto* line = reinterpret_cast<QRgb*>(m_fitted.scanLine(y));
            std::fill_n(line, FitSize, kWhite);
            if (y >= m_place.top() && y <= m_place.bottom()) {
                const int row = y - m_place.top();
                if (!waitForRows(m_stretcher->lastSourceRow(row) + 1))
                    return;
                m_stretcher->stretchRow(row, m_bits, m_stride, line + m_place.left());
            }
            rendering::BlackWhiteRow(line, reinterpret_cast<QRgb*>(m_blackWhite.scanLine(y)), FitSize);
            if (y > 0)
                m_diffusion->feedRow(line);
        }
        m_diffusion->finish();
        m_finished = true;
    }

    StreamedRenderings m_buffers;
    bool m_declined = false;
    QRect m_place;
    const uchar* m_bits = nullptr;
    qsizetype m_stride = 0;
    int m_sourceRows = 0;
    std::optional<rendering::RowStretcher> m_stretcher;
    std::optional<rendering::DitherDiffusion> m_diffusion;
    QImage m_fitted;
    QImage m_blackWhite;
    bool m_finished = false; // written by the second thread, read after the wait

    bool m_running = false; // rendering on the kept thread or on m_ownThread
    bool m_onKeptThread = false;
    std::thread m_ownThread;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    // Rows the decoder has finished; on a cache line of its own.
    alignas(64) std::atomic<int> m_rows{0};
    alignas(64) bool m_ended = false;
    bool m_complete = false;
};

} // namespace

codec::LoadedPicture LoadPictureRendered(const QString& path, StreamedRenderings& renderings,
                                         const std::atomic<bool>* stop)
{
    StreamedRenderer renderer(std::move(renderings));
    renderings = StreamedRenderings();
    codec::DecodeOptions options;
    options.minSize = rendering::FitDecodeSize;
    options.rowObserver = &renderer;
    options.stop = stop;
    codec::LoadedPicture picture = codec::LoadPicture(path, options);
    renderer.decodeEnded(picture.ok());
    renderings = picture.ok() ? renderer.take() : StreamedRenderings();
    return picture;
}

} // namespace kovra::picture
