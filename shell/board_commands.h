#pragma once
// What the keyboard and the preview board's menu do beside the buttons:
// open a picture (Ctrl+O), paste one (Ctrl+V), save the board as it would be
// sent (Ctrl+S), undo and redo the board (Ctrl+Z; Ctrl+Shift+Z or Ctrl+Y),
// and the way to a missing machine (F1). They are the main window's
// shortcuts, so no control is added to its layout; a right click on the
// preview board lists them with their keys. A text box with the focus keeps
// its own Ctrl+V, Ctrl+Z and the like. An opened or pasted picture takes
// the road of a dropped file: the main window's filesDropped.

#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QPoint>
#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <memory>

class QAction;
class QMenu;
class QWidget;

namespace kovra::image {
class DrawingBoard;
}
namespace kovra::picture {
class BoardHistory;
class PictureEvents;
}

namespace kovra::shell {

class ConfigFile;
class MainWindow;
class MessageBox;

class BoardCommands final : public QObject {
    Q_OBJECT
public:
    // A file dialog: the chosen path, or empty when cancelled.
    enum class Dialog { Open, Save };
    using FileChooser = std::function<QString(Dialog dialog, const QString& title, const QString& start,
                                              const QString& filter)>;
    using LogLine = std::function<void(const QString& line)>;

    // explainMissingMachine: F1's action. Without a chooser the platform's
    // file dialogs are shown.
    BoardCommands(MainWindow& window, image::DrawingBoard& previewBoard, picture::BoardHistory& history,
                  picture::PictureEvents& events, ConfigFile& config, MessageBox& messageBox, LogLine logLine,
                  std::function<void()> explainMissingMachine, FileChooser chooser = {});
    ~BoardCommands() override;

    void Open();
    void Paste();
    void Save();
    // Another file dialog (the tests answer it themselves).
    void SetFileChooser(FileChooser chooser) { m_chooser = std::move(chooser); }

    // The preview board's menu, as a right click shows it.
    QMenu* Menu() const { return m_menu.get(); }
    // The file types the open dialog offers.
    static QString PictureFilter();

    QAction* OpenAction = nullptr;
    QAction* PasteAction = nullptr;
    QAction* SaveAction = nullptr;
    QAction* UndoAction = nullptr;
    QAction* RedoAction = nullptr;
    QAction* MissingMachineAction = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAction* addAction(QList<QKeySequence> keys, std::function<void()> run);
    void retranslate();
    QString choose(Dialog dialog, const QString& title, const QString& start, const QString& filter);
    QString pastedPicture();
    void rememberFolder(const QString& file);

    MainWindow& m_window;
    image::DrawingBoard& m_board;
    picture::BoardHistory& m_history;
    ConfigFile& m_config;
    MessageBox& m_messageBox;
    LogLine m_logLine;
    FileChooser m_chooser;
    std::unique_ptr<QMenu> m_menu;
    // Pasted pictures become files here, so they take a file's road.
    std::unique_ptr<QTemporaryDir> m_pasteFolder;
    int m_pastes = 0;
};

} // namespace kovra::shell
