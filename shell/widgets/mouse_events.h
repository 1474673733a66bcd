#pragma once
// Left-button events of any control, with the pointer inside the control and
// the key state (1 Ctrl, 2 Shift, 4 Alt), for handlers bound to "left button
// up" or "double click" rather than to a click.

#include <QObject>

class QWidget;

namespace kovra::shell {

class MouseEvents : public QObject {
    Q_OBJECT
public:
    // Watches widget; the object lives as the widget's child.
    static MouseEvents* Watch(QWidget* widget);

signals:
    void leftButtonDown(int x, int y, int keyState);
    void leftButtonUp(int x, int y, int keyState);
    void doubleClicked(int x, int y, int keyState);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit MouseEvents(QWidget* widget);
};

} // namespace kovra::shell
