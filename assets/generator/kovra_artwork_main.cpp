// kovra-artwork: draws every picture the program carries and writes the files
// into the folder named on the command line. The build runs it whenever its
// code changes; the output depends only on this code and the installed fonts.
// "kovra-artwork --icons FOLDER" writes the desktop icons instead
// (kovra-<size>.png, one per installed size), and "--windows-icon FILE" the
// Windows icon file with the sizes Windows shows.

#include "assets/artwork_files.h"
#include "assets/generator/artwork_fonts.h"
#include "assets/generator/drop_prompt.h"
#include "assets/generator/help_pictures.h"
#include "assets/generator/ico_encoder.h"
#include "assets/generator/logo.h"
#include "assets/generator/ruler.h"
#include "image/bmp_writer.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSaveFile>

#include <cstdio>

namespace {

using namespace kovra::assets;

bool writeFile(const QDir& dir, const QString& name, const QByteArray& bytes)
{
    QSaveFile file(dir.filePath(name));
    if (bytes.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        std::fprintf(stderr, "kovra-artwork: cannot write %s\n", qPrintable(dir.filePath(name)));
        return false;
    }
    return true;
}

QByteArray encode(const QImage& image, const char* format, int quality = -1)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, format, quality))
        return {};
    return bytes;
}

QImage plainWhite()
{
    QImage image(600, 600, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc == 3 && QByteArray(argv[1]) == "--icons") {
        QDir icons(QString::fromLocal8Bit(argv[2]));
        bool ok = icons.mkpath(".");
        for (int size : AppIconSizes)
            ok = ok && writeFile(icons, QStringLiteral("kovra-%1.png").arg(size), encode(DrawAppIcon(size), "PNG"));
        return ok ? 0 : 1;
    }
    if (argc == 3 && QByteArray(argv[1]) == "--windows-icon") {
        const QFileInfo file(QString::fromLocal8Bit(argv[2]));
        QList<QImage> sizes;
        for (int size : {16, 24, 32, 48, 64, 256})
            sizes.append(DrawAppIcon(size));
        return file.dir().mkpath(".") && writeFile(file.dir(), file.fileName(), EncodeIco(sizes)) ? 0 : 1;
    }
    if (argc != 2) {
        std::fprintf(stderr, "usage: kovra-artwork OUTPUT_FOLDER | --icons FOLDER | --windows-icon FILE\n");
        return 2;
    }
    QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.mkpath(".")) {
        std::fprintf(stderr, "kovra-artwork: cannot create %s\n", argv[1]);
        return 1;
    }
    if (!CjkFontAvailable())
        std::fprintf(stderr, "kovra-artwork: warning: no CJK font found (install fonts-noto-cjk); "
                             "Chinese and Japanese text will not show\n");

    // The pictures the boards show are BMP files of a fixed depth (Qt's own
    // writer picks the depth itself), at 96 dots per inch.
    const auto bmp = [](const QImage& picture, int depth) { return kovra::image::WriteBmp(picture, depth, 3780); };
    bool ok = true;
    for (int language = 0; language < 6; ++language)
        ok &= writeFile(dir, DropPromptFile(language), bmp(DrawDropPrompt(language), 4));
    ok &= writeFile(dir, PlainWhiteFile(), bmp(plainWhite(), 1));
    ok &= writeFile(dir, HorizontalRulerFile(), bmp(DrawHorizontalRuler(), 24));
    ok &= writeFile(dir, VerticalRulerFile(), bmp(DrawVerticalRuler(), 24));
    ok &= writeFile(dir, LogoFile(), encode(DrawLogo(), "PNG"));
    for (int size : WindowIconSizes)
        ok &= writeFile(dir, WindowIconFile(size), encode(DrawAppIcon(size), "PNG"));

    QStringList overflowing;
    for (int index = 0; index < 9; ++index) {
        const QImage page = DrawHelpPicture(index, &overflowing);
        const QByteArray bytes = HelpPictureIsJpeg(index) ? encode(page, "JPEG", 92) : encode(page, "PNG");
        ok &= writeFile(dir, HelpPictureFile(index), bytes);
    }
    for (const QString& title : overflowing)
        std::fprintf(stderr, "kovra-artwork: warning: help page \"%s\" runs past its bottom edge\n", qPrintable(title));
    return ok ? 0 : 1;
}
