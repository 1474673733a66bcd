#pragma once
// "kovra render PICTURE OUT.png": the board that "Send Image To Machine"
// would encode, made by the same picture code as the window (fitting, tuning,
// rendering, the choice onto the preview board) and written as a one-bit PNG
// (black = burned), with no machine and no display. "kovra testcard OUT.png":
// the material test card, written the same way; "kovra sample OUT.png" the
// sample picture.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTextStream>

namespace kovra::app {

// args: what follows the command's name. The exit status: 0 when written,
// 1 when the file cannot be written, 2 for a bad option or a picture that
// cannot be used (nothing is written then).
int RunRenderCommand(const QStringList& args, QTextStream& out, QTextStream& err);
int RunTestCardCommand(const QStringList& args, QTextStream& out, QTextStream& err);
QString RenderUsage();
QString TestCardUsage();
// "kovra sample OUT.png": 0 when written, 1 when not (or no file was
// given), 2 for a wrong option.
int RunSampleCommand(const QStringList& args, QTextStream& out, QTextStream& err);
QString SampleUsage();

} // namespace kovra::app
