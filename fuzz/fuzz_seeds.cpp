// Writes the seed corpus: one folder per fuzz target, one small valid file
// of every layout its decoder reads.
#include "tests/image/decoders_samples.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdio>

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
        for (const QString& corpus : corpora) {
            if (!root.mkpath(corpus)) {
                std::fprintf(stderr, "cannot create %s\n", qPrintable(root.filePath(corpus)));
                return 1;
            }
            QFile file(root.filePath(corpus + QStringLiteral("/seed-%1").arg(index)));
            if (s.bytes.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(s.bytes) != s.bytes.size()) {
                std::fprintf(stderr, "cannot write the %s seed\n", s.kind);
                return 1;
            }
        }
        ++index;
    }
    std::printf("%d seeds written to %s\n", index, argv[1]);
    return 0;
}
