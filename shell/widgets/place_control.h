#pragma once
// Creates a control of a window's design: its object name, its container and
// its position and size inside that container.

#include <QString>
#include <QWidget>

namespace kovra::shell {

template <typename T>
T* PlaceControl(QWidget* container, const char* name, int x, int y, int w, int h)
{
    auto* control = new T(container);
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(x, y, w, h);
    return control;
}

} // namespace kovra::shell
