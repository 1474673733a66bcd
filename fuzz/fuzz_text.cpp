// libFuzzer target: the text-line splitter and the CR LF rewriting on
// arbitrary UTF-16 text (two input bytes per code unit).
#include "image/text_drawing.h"

#include <QString>

#include <cstdint>
#include <cstdlib>

namespace {

bool isBreak(QChar c) { return c == u'\r' || c == u'\n'; }

// The text with every break (CR or LF, and an LF right after it) as one LF
// and the breaks at its end left off: what the lines joined by LF must give.
QString normalised(const QString& text)
{
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!isBreak(text.at(i))) {
            out += text.at(i);
            continue;
        }
        out += u'\n';
        if (i + 1 < text.size() && text.at(i + 1) == u'\n')
            ++i;
    }
    while (out.endsWith(u'\n'))
        out.chop(1);
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf16(reinterpret_cast<const char16_t*>(data), qsizetype(size / 2));
    const QStringList lines = kovra::image::SplitTextLines(text);
    for (const QString& line : lines)
        if (line.contains(u'\r') || line.contains(u'\n'))
            std::abort();
    if (!lines.isEmpty() && lines.last().isEmpty())
        std::abort();
    if (lines.join(u'\n') != normalised(text))
        std::abort();

    // Every LF gets its CR, nothing else changes, and doing it twice is doing it once.
    const QString crlf = kovra::image::WithCrLfBreaks(text);
    for (qsizetype i = 0; i < crlf.size(); ++i)
        if (crlf.at(i) == u'\n' && (i == 0 || crlf.at(i - 1) != u'\r'))
            std::abort();
    qsizetype loneLineFeeds = 0;
    for (qsizetype i = 0; i < text.size(); ++i)
        loneLineFeeds += text.at(i) == u'\n' && (i == 0 || text.at(i - 1) != u'\r');
    if (crlf.size() != text.size() + loneLineFeeds || QString(crlf).remove(u'\r') != QString(text).remove(u'\r')
        || kovra::image::WithCrLfBreaks(crlf) != crlf)
        std::abort();
    // A line typed as LF alone is a line of its own once rewritten.
    if (kovra::image::SplitTextLines(crlf).size() < lines.size())
        std::abort();
    return 0;
}
