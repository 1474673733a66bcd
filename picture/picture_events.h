#pragma once
// What happened to the picture, for whoever listens: the window, the
// command-line engraving, the benchmarks. The picture flow says what
// happened; the listeners decide what the window shows, whether the job
// pauses and which controls are enabled. Signals are emitted on the
// user-interface thread, in the order things happened.

#include "rendering/rendering.h"

#include <QObject>
#include <QPoint>
#include <QSize>
#include <QString>

namespace kovra::picture {

// The four edits of the preview board.
enum class Edit { Rotated, ZoomedOut, Cleared, Reloaded };

class PictureEvents final : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

signals:
    // A dropped file was read: path names it, size is the picture's own
    // size in pixels. Its two renderings follow once they are on the boards.
    void loaded(const QString& path, QSize size);
    // A dropped file cannot be used, for the one-line reason; nothing changed.
    void refused(const QString& path, const QString& reason);
    // Both renderings are on their boards: a choice may be made now.
    void renderingsReady();
    // rendering is on the preview board and is the working image now.
    void chosen(kovra::rendering::Rendering rendering);
    // An edit changed the preview board.
    void edited(kovra::picture::Edit edit);
    // Lines of text were drawn into the preview board with their first
    // line's corner at at.
    void textPlaced(QPoint at, const QString& text);
    // Undo or redo put the board (and the working image) back as it was;
    // no edit is reported for it.
    void restored();
    // Whether a step can be taken back now, and one forward again.
    void historyChanged(bool canUndo, bool canRedo);
};

} // namespace kovra::picture
