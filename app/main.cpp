// Kovra Laser: the window, or a command-line engraving ("kovra engrave").
#include "app/program.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kovra"));
    kovra::app::Program program;
    QStringList pictures = QApplication::arguments().mid(1);
    program.Start(pictures);
    return QApplication::exec();
}
