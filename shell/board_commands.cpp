#include "shell/board_commands.h"

#include "image/drawing_board.h"
#include "job/engrave_encoder.h"
#include "job/raster_png.h"
#include "picture/board_history.h"
#include "picture/picture_events.h"
#include "shell/main_window.h"
#include "shell/settings/folder_settings.h"
#include "shell/widgets/board_widget.h"
#include "shell/widgets/file_drop_router.h"
#include "shell/widgets/message_box.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QMenu>
#include <QMimeData>
#include <QStandardPaths>

namespace kovra::shell {

namespace {

QString defaultFolder()
{
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    return QFileInfo(pictures).isDir() ? pictures : QDir::homePath();
}

} // namespace

BoardCommands::BoardCommands(MainWindow& window, image::DrawingBoard& previewBoard, picture::BoardHistory& history,
                             picture::PictureEvents& events, ConfigFile& config, MessageBox& messageBox,
                             LogLine logLine, std::function<void()> explainMissingMachine, FileChooser chooser)
    : m_window(window)
    , m_board(previewBoard)
    , m_history(history)
    , m_config(config)
    , m_messageBox(messageBox)
    , m_logLine(std::move(logLine))
    , m_chooser(std::move(chooser))
    , m_menu(std::make_unique<QMenu>())
{
    OpenAction = addAction({QKeySequence(Qt::CTRL | Qt::Key_O)}, [this] { Open(); });
    PasteAction = addAction({QKeySequence(Qt::CTRL | Qt::Key_V)}, [this] { Paste(); });
    SaveAction = addAction({QKeySequence(Qt::CTRL | Qt::Key_S)}, [this] { Save(); });
    m_menu->addSeparator();
    UndoAction = addAction({QKeySequence(Qt::CTRL | Qt::Key_Z)}, [this] { m_history.Undo(); });
    RedoAction = addAction({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)},
                           [this] { m_history.Redo(); });
    m_menu->addSeparator();
    MissingMachineAction = addAction({QKeySequence(Qt::Key_F1)}, std::move(explainMissingMachine));
    UndoAction->setEnabled(false);
    RedoAction->setEnabled(false);
    connect(&events, &picture::PictureEvents::historyChanged, this, [this](bool canUndo, bool canRedo) {
        UndoAction->setEnabled(canUndo);
        RedoAction->setEnabled(canRedo);
    });

    BoardWidget* board = m_window.PreviewBoard;
    board->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(board, &QWidget::customContextMenuRequested, this,
            [this, board](const QPoint& at) { m_menu->popup(board->mapToGlobal(at)); });
    // Said again in the new language when it changes.
    m_window.installEventFilter(this);
    retranslate();
}

BoardCommands::~BoardCommands()
{
    m_window.removeEventFilter(this);
}

QAction* BoardCommands::addAction(QList<QKeySequence> keys, std::function<void()> run)
{
    auto* action = new QAction(&m_window);
    action->setShortcuts(keys);
    // The window's own keys; a focused text box's own Ctrl+V, Ctrl+Z and
    // the like go first (it claims them before any shortcut is looked up).
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, [run = std::move(run)] {
        if (run)
            run();
    });
    m_window.addAction(action);
    m_menu->addAction(action);
    return action;
}

void BoardCommands::retranslate()
{
    OpenAction->setText(tr("Open a picture…"));
    PasteAction->setText(tr("Paste a picture"));
    SaveAction->setText(tr("Save the preview as a PNG…"));
    UndoAction->setText(tr("Undo"));
    RedoAction->setText(tr("Redo"));
    MissingMachineAction->setText(tr("Why is no machine found?"));
}

bool BoardCommands::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &m_window && event->type() == QEvent::LanguageChange)
        retranslate();
    return false;
}

QString BoardCommands::PictureFilter()
{
    return tr("Pictures (*.bmp *.jpg *.jpeg *.png *.gif *.ico *.cur *.pcx)") + QStringLiteral(";;")
        + tr("All files (*)");
}

QString BoardCommands::choose(Dialog dialog, const QString& title, const QString& start, const QString& filter)
{
    if (m_chooser)
        return m_chooser(dialog, title, start, filter);
    return dialog == Dialog::Open ? QFileDialog::getOpenFileName(&m_window, title, start, filter)
                                  : QFileDialog::getSaveFileName(&m_window, title, start, filter);
}

void BoardCommands::rememberFolder(const QString& file)
{
    // Not being remembered is all a failed write costs.
    WriteLastFolder(m_config, QFileInfo(file).absolutePath());
}

void BoardCommands::Open()
{
    const QString path =
        choose(Dialog::Open, tr("Open a picture"), ReadLastFolder(m_config, defaultFolder()), PictureFilter());
    if (path.isEmpty())
        return;
    rememberFolder(path);
    emit m_window.filesDropped({path});
}

QString BoardCommands::pastedPicture()
{
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    if (!mime || !mime->hasImage())
        return {};
    const QImage image = qvariant_cast<QImage>(mime->imageData());
    if (!m_pasteFolder)
        m_pasteFolder = std::make_unique<QTemporaryDir>();
    // A new name each time: the picture flow may still be reading the last one.
    const QString path = m_pasteFolder->filePath(QStringLiteral("pasted-%1.png").arg(++m_pastes));
    return m_pasteFolder->isValid() && !image.isNull() && image.save(path, "PNG") ? path : QString();
}

void BoardCommands::Paste()
{
    // Copied files first (a file manager's copy), then picture data.
    QStringList paths = FileDropRouter::LocalFiles(QGuiApplication::clipboard()->mimeData());
    if (paths.isEmpty()) {
        const QString pasted = pastedPicture();
        if (!pasted.isEmpty())
            paths << pasted;
    }
    if (paths.isEmpty()) {
        m_logLine(tr("The clipboard holds no picture."));
        return;
    }
    emit m_window.filesDropped(paths);
}

void BoardCommands::Save()
{
    const QString start = QDir(ReadLastFolder(m_config, defaultFolder())).filePath(QStringLiteral("board.png"));
    QString path = choose(Dialog::Save, tr("Save the preview as it would be sent"), start, tr("PNG pictures (*.png)"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".png");
    rememberFolder(path);
    QString error;
    if (!job::WriteRasterPng(job::EncodeEngravePicture(m_board.picture()), path, error)) {
        m_messageBox.Show(tr("The preview could not be saved as %1.").arg(QDir::toNativeSeparators(path)),
                          tr("Save the preview"));
        return;
    }
    m_logLine(tr("Preview saved as %1").arg(QDir::toNativeSeparators(path)));
}

} // namespace kovra::shell
