#pragma once
// File names of the generated pictures, shared by the generator that writes
// them and by the library that reads them back from its resources. The build
// lists the same names in assets/CMakeLists.txt.

#include <QString>

namespace kovra::assets {

// The picture files of one language's drop hint.
inline QString DropPromptFile(int language) { return QStringLiteral("drop_prompt_%1.bmp").arg(language); }
inline QString PlainWhiteFile() { return QStringLiteral("plain_white.bmp"); }
inline QString HorizontalRulerFile() { return QStringLiteral("ruler_horizontal.bmp"); }
inline QString VerticalRulerFile() { return QStringLiteral("ruler_vertical.bmp"); }
inline QString LogoFile() { return QStringLiteral("logo.png"); }
// The program's icon on its windows, at the sizes window managers ask for.
inline constexpr int WindowIconSizes[] = {16, 24, 32, 48, 64, 128};
inline QString WindowIconFile(int size) { return QStringLiteral("window_icon_%1.png").arg(size); }

// Answers 1 to 4 travel as JPEG, the intro and answers 5 to 8 as PNG.
inline bool HelpPictureIsJpeg(int index) { return index >= 1 && index <= 4; }
inline QString HelpPictureFile(int index)
{
    return QStringLiteral("help_%1.%2").arg(index).arg(HelpPictureIsJpeg(index) ? "jpg" : "png");
}

// Where the files live inside the program's resources.
inline QString ResourcePath(const QString& file) { return QStringLiteral(":/kovra/artwork/") + file; }

} // namespace kovra::assets
