// Writes the seed corpus: one folder per fuzz target, one small valid file
// of every layout its decoder reads, and typical inputs of the other parsers.
#include "tests/codec/decoders_samples.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdio>
#include <utility>
#include <vector>

namespace {

// Seeds of the reply, configuration and text targets: (corpus, bytes).
std::vector<std::pair<QString, QByteArray>> otherSeeds()
{
    std::vector<std::pair<QString, QByteArray>> out;
    const auto reply = [&](const char* hex) { out.emplace_back(QStringLiteral("reply"), QByteArray::fromHex(hex)); };
    reply("FF010000FF020100FF07010000");                  // handshake, firmware, motor status
    reply("FF04010CFF030C22FF0402FFFF0500000102030405"); // positions, a cut frame, an image request, noise
    reply("FF06000001020304FF0A0032FF080C22");            // finished, a dropped group, burn time, a value
    const auto config = [&](const char* text) { out.emplace_back(QStringLiteral("config"), QByteArray(text)); };
    config("\x05[MainWindow]\r\nLanguage=2\r\n[Front]\r\nName=Song\r\nSize=12\r\n");
    config("\x06\xEF\xBB\xBF; comment\n[front ]\n  name = \"quoted\"  \n\n[a b]\nk\n");
    config("\x0B[MainWindow\nLanguage=-0012abc\n[]\n=x\n[Front]Name=1e5");
    const auto text = [&](const QString& t) {
        out.emplace_back(QStringLiteral("text"),
                         QByteArray(reinterpret_cast<const char*>(t.utf16()), t.size() * qsizetype(sizeof(char16_t))));
    };
    text(QStringLiteral("Kovra\r\nLaser\r\n\r\nline three\r\n"));
    text(QStringLiteral("a\n\nb\rc\r\r\nd\n\r"));
    text(QString::fromUtf8("\xE6\x8B\x96\xE6\x94\xBE\n\xF0\x9F\x98\x80\r"));
    return out;
}

bool writeSeed(const QDir& root, const QString& corpus, int index, const QByteArray& bytes)
{
    if (!root.mkpath(corpus)) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(root.filePath(corpus)));
        return false;
    }
    QFile file(root.filePath(corpus + QStringLiteral("/seed-%1").arg(index)));
    if (bytes.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write a %s seed\n", qPrintable(corpus));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv); // image writer plugins
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));
    int index = 0;
    for (const kovra::test::SampleFile& s : kovra::test::sampleFiles()) {
        QStringList corpora = {QString::fromLatin1(s.name)};
        if (corpora.front() == QLatin1String("bmp"))
            corpora << QStringLiteral("bitmap_image");
        for (const QString& corpus : corpora)
            if (!writeSeed(root, corpus, index, s.bytes))
                return 1;
        ++index;
    }
    for (const auto& [corpus, bytes] : otherSeeds())
        if (!writeSeed(root, corpus, index++, bytes))
            return 1;
    std::printf("%d seeds written to %s\n", index, argv[1]);
    return 0;
}
