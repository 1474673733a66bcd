#include "shell/widgets/window_fonts.h"

#include <QStringList>

namespace kovra::shell {

QFont PixelFont(const QString& family, int pixels, bool bold)
{
    QFont font(family);
    font.setFamilies({family, QStringLiteral("Carlito"), QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans"),
        QStringLiteral("Noto Sans CJK SC")});
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

} // namespace kovra::shell
