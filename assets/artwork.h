#pragma once
// The product artwork the windows show: drop hints, plain white background,
// ruler scales, logo and the help tutorial pictures. The pictures are drawn by
// our own generator (kovra-artwork) at build time and carried inside the
// program as Qt resources; these functions hand them out as file bytes or as
// decoded images. Every function returns an empty result for an unknown index.

#include <QByteArray>
#include <QIcon>
#include <QImage>
#include <QString>

namespace kovra::assets {

// Registers the resources of this static library. Call once from main (and
// from tests that need the pictures); calling it again does no harm.
void InitArtwork();

// Interface languages, in the order of the language list.
enum Language : int {
    English = 0,
    Chinese = 1,
    Japanese = 2,
    French = 3,
    Italian = 4,
    German = 5,
};
inline constexpr int LanguageCount = 6;

// The drop hint of a language: a 512 x 512 uncompressed 4-bit BMP file of
// 131,190 bytes (16 standard colours), black text centred on white.
QByteArray DropPromptBmp(int language);
QImage DropPrompt(int language);

// 600 x 600 one-bit BMP, every pixel white; palette entry 0 black, 1 white.
QByteArray PlainWhiteBackgroundBmp();
QImage PlainWhiteBackground();

// Ruler scales (24-bit BMP): ticks every 13.44 px at trunc(n * 13.44), tick 0
// at the board's edge, a two-pixel baseline on the outer long edge and the
// digits 0 and 5 alternating at every fifth tick on the inner side.
QByteArray HorizontalRulerBmp(); // 620 x 12, baseline at the bottom
QImage HorizontalRuler();
QByteArray VerticalRulerBmp();   // 12 x 619, baseline at the right
QImage VerticalRuler();
inline constexpr double RulerTickSpacing = 13.44;

// The maker's logo, 1336 x 473 PNG.
QByteArray LogoPng();
QImage Logo();

// The logo's emblem, the desktop entry's icon, at every size a window
// carries (16 to 128 pixels square). Needs a QGuiApplication.
QIcon WindowIcon();

// Help pictures, 500 x 500: index 0 is HelpIntroImage, 1..8 are AnswerImage1..8.
// The bytes are the file as carried: PNG for 0 and 5..8, JPEG for 1..4.
inline constexpr int HelpPictureCount = 9;
QByteArray HelpPictureBytes(int index);
QImage HelpPicture(int index);

// The maker's web address, opened by the logo and the settings window's link.
QString MakerWebAddress();

} // namespace kovra::assets
