#pragma once

#include <QString>

namespace kovra::shell {

// The program's message boxes: no owner window, modal for the whole program,
// an OK button only and no icon. The shell implements it once; tests record.
class MessageBox {
public:
    virtual ~MessageBox() = default;
    virtual void Show(const QString& text, const QString& title) = 0;
};

} // namespace kovra::shell
