#include "assets/generator/artwork_fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace kovra::assets {

namespace {

QStringList families(Script script)
{
    QStringList chinese = {"Noto Sans CJK SC", "Source Han Sans SC", "WenQuanYi Zen Hei", "Microsoft YaHei"};
    QStringList japanese = {"Noto Sans CJK JP", "Source Han Sans JP", "IPAGothic"};
    QStringList list = script == Script::Japanese ? japanese + chinese : chinese + japanese;
    list << "DejaVu Sans" << "Arial";
    return list;
}

} // namespace

QFont ArtworkFont(int pixelSize, bool bold, Script script)
{
    QFont font;
    font.setFamilies(families(script));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferAntialias);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

bool CjkFontAvailable()
{
    const QStringList installed = QFontDatabase::families();
    for (const QString& family : families(Script::Chinese)) {
        if (family == "DejaVu Sans")
            break;
        if (installed.contains(family))
            return true;
    }
    return false;
}

} // namespace kovra::assets
