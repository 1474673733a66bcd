#include "assets/artwork.h"

#include "assets/artwork_files.h"

#include <QFile>
#include <QPixmap>

// Q_INIT_RESOURCE declares a function in the enclosing namespace, so it must
// be expanded at global scope.
static void initArtworkResources()
{
    Q_INIT_RESOURCE(kovra_artwork);
}

namespace kovra::assets {

namespace {

QByteArray readResource(const QString& file)
{
    InitArtwork();
    QFile f(ResourcePath(file));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

QImage decode(const QByteArray& bytes, const char* format)
{
    if (bytes.isEmpty())
        return {};
    return QImage::fromData(bytes, format);
}

} // namespace

void InitArtwork()
{
    // A static library's resources are not registered by themselves; every
    // accessor comes through here, so forgetting the call in main is harmless.
    static const bool registered = (initArtworkResources(), true);
    (void)registered;
}

QByteArray DropPromptBmp(int language)
{
    if (language < 0 || language >= LanguageCount)
        return {};
    return readResource(DropPromptFile(language));
}

QImage DropPrompt(int language)
{
    return decode(DropPromptBmp(language), "BMP");
}

QByteArray PlainWhiteBackgroundBmp()
{
    return readResource(PlainWhiteFile());
}

QImage PlainWhiteBackground()
{
    return decode(PlainWhiteBackgroundBmp(), "BMP");
}

QByteArray HorizontalRulerBmp()
{
    return readResource(HorizontalRulerFile());
}

QImage HorizontalRuler()
{
    return decode(HorizontalRulerBmp(), "BMP");
}

QByteArray VerticalRulerBmp()
{
    return readResource(VerticalRulerFile());
}

QImage VerticalRuler()
{
    return decode(VerticalRulerBmp(), "BMP");
}

QByteArray LogoPng()
{
    return readResource(LogoFile());
}

QIcon WindowIcon()
{
    QIcon icon;
    for (int size : WindowIconSizes)
        icon.addPixmap(QPixmap::fromImage(decode(readResource(WindowIconFile(size)), "PNG")));
    return icon;
}

QImage Logo()
{
    return decode(LogoPng(), "PNG");
}

QByteArray HelpPictureBytes(int index)
{
    if (index < 0 || index >= HelpPictureCount)
        return {};
    return readResource(HelpPictureFile(index));
}

QImage HelpPicture(int index)
{
    return decode(HelpPictureBytes(index), HelpPictureIsJpeg(index) ? "JPEG" : "PNG");
}

QString MakerWebAddress()
{
    return QStringLiteral("https://www.kovra.example/");
}

} // namespace kovra::assets
