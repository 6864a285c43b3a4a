#include "app/MacroPanel.h"

#include "app/MacroPreviewBox.h"
#include "model/LayoutDocument.h"
#include "model/MacroFile.h"
#include "model/SystemErrors.h"
#include "model/gui/Prompts.h"
#include "view/MacroPreview.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QFileSystemWatcher>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>
#include <cerrno>

#include <unistd.h>

namespace kestrel {

// A folder tree that says when a key moved its mark: the keys move through
// it as clicks do, while a mark the model moves (the folder shown was
// removed, to be listed again when it comes back) is no choice of the user's.
class FolderTree : public QTreeView {
public:
    using QTreeView::QTreeView;
    std::function<void(const QModelIndex&)> movedByKey;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        const QPersistentModelIndex before = currentIndex();
        QTreeView::keyPressEvent(event);
        if (currentIndex() != before && currentIndex().isValid() && movedByKey)
            movedByKey(currentIndex());
    }
};

namespace {

// What a drag from the preview carries: the panel it came from, so the
// drawing area takes only this window's macro.
constexpr char kMacroMime[] = "application/x-kestrel-macro";

QByteArray panelToken(const MacroPanel* panel)
{
    return QByteArray::number(reinterpret_cast<quintptr>(panel));
}

} // namespace

MacroPanel::MacroPanel(Language lang, Prompts& prompts, QWidget* parent)
    : QWidget(parent), lang_(lang), prompts_(prompts)
{
    setObjectName("P_Makro");
    setMinimumWidth(140);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(2, 2, 2, 2);
    column->setSpacing(2);

    drives_ = new QComboBox(this);
    drives_->setObjectName("DriveComboBox1");
    for (const QFileInfo& drive : QDir::drives())
        drives_->addItem(drive.absoluteFilePath());
    column->addWidget(drives_);

    // The title bar: caption at the left, the close button at the right.
    auto* title = new QLabel(this);
    title->setObjectName("Panel6");
    title->setAutoFillBackground(true);
    // The selection's colours: every desktop theme keeps that pair readable.
    title->setBackgroundRole(QPalette::Highlight);
    title->setForegroundRole(QPalette::HighlightedText);
    title->setContentsMargins(4, 0, 0, 0);
    auto* titleRow = new QHBoxLayout(title);
    titleRow->setContentsMargins(0, 0, 0, 0);
    titleRow->addStretch(1);
    auto* close = new QToolButton(title);
    close->setObjectName("SpeedButton1");
    close->setText(QStringLiteral("×"));
    close->setAutoRaise(true);
    titleRow->addWidget(close);
    titleBar_ = title;
    column->addWidget(title);

    folders_ = new QFileSystemModel(this);
    folders_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    folders_->setRootPath(QString());
    tree_ = new FolderTree(this);
    tree_->setObjectName("DirectoryListBox1");
    tree_->setModel(folders_);
    tree_->setHeaderHidden(true);
    for (int c = 1; c < folders_->columnCount(); ++c)
        tree_->hideColumn(c);
    column->addWidget(tree_, 1);

    list_ = new QListWidget(this);
    list_->setObjectName("LB_Makro");
    list_->installEventFilter(this);
    column->addWidget(list_, 1);

    previewArea_ = new QWidget(this);
    previewArea_->setObjectName("P_MakroVorschau");
    auto* previewColumn = new QVBoxLayout(previewArea_);
    previewColumn->setContentsMargins(0, 0, 0, 0);
    previewColumn->setSpacing(0);
    preview_ = new MacroPreviewBox(
        macro_,
        [this] {
            const Board* board = doc_ ? doc_->activeBoard() : nullptr;
            return board ? Point{doc_->Working.BoardWidth, doc_->Working.BoardHeight} : Point{};
        },
        [this] { return dragData(); }, previewArea_);
    previewColumn->addWidget(preview_, 1);
    auto* hint = new QLabel(previewArea_);
    hint->setObjectName("DragDropLabel");
    hint->setAlignment(Qt::AlignCenter);
    previewColumn->addWidget(hint);
    column->addWidget(previewArea_);

    auto* buttons = new QHBoxLayout;
    auto* save = new QPushButton(this);
    save->setObjectName("B_MakroSpeichern");
    auto* remove = new QPushButton(this);
    remove->setObjectName("B_MakroLoeschen");
    buttons->addWidget(save);
    buttons->addWidget(remove);
    column->addLayout(buttons);

    // Files added or removed by others show at once.
    watcher_ = new QFileSystemWatcher(this);
    connect(watcher_, &QFileSystemWatcher::directoryChanged, this, [this] {
        watchFolder();
        refreshList();
    });

    // The tree fills in and sorts itself while the folders are read: it
    // keeps the folder in view until the user takes the tree in hand.
    auto reveal = [this] {
        if (revealing_)
            revealFolder();
    };
    connect(folders_, &QFileSystemModel::directoryLoaded, this, reveal);
    connect(folders_, &QFileSystemModel::layoutChanged, this, reveal);
    connect(tree_, &QTreeView::pressed, this, [this] { revealing_ = false; });
    connect(tree_->verticalScrollBar(), &QScrollBar::actionTriggered, this, [this] { revealing_ = false; });
    connect(drives_, &QComboBox::activated, this, [this](int i) {
        setFolder(drives_->itemText(i));
        Q_EMIT folderChosen(folder_);
    });
    connect(tree_, &QTreeView::clicked, this, [this](const QModelIndex& index) {
        showFolder(folders_->filePath(index)); // in view already where it was clicked
        Q_EMIT folderChosen(folder_);
    });
    tree_->movedByKey = [this](const QModelIndex& index) {
        revealing_ = false;
        showFolder(folders_->filePath(index));
        Q_EMIT folderChosen(folder_);
    };
    connect(list_, &QListWidget::currentRowChanged, this, &MacroPanel::loadEntry);
    // A click on the entry shown reads it again: another program may have
    // written a new macro under its name.
    connect(list_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { loadEntry(list_->row(item)); });
    connect(close, &QToolButton::clicked, this, &MacroPanel::closeRequested);
    connect(save, &QPushButton::clicked, this, &MacroPanel::saveRequested);
    connect(remove, &QPushButton::clicked, this, &MacroPanel::deleteSelected);
}

MacroPanel::~MacroPanel() = default;

// Del in the macro list means its file, as the Delete button below does:
// the window's Delete shortcut would take the objects selected on the board.
bool MacroPanel::eventFilter(QObject* watched, QEvent* event)
{
    const bool key = event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress;
    if (watched != list_ || !key)
        return QWidget::eventFilter(watched, event);
    const auto* press = static_cast<QKeyEvent*>(event);
    // The keypad's Del comes with the keypad modifier.
    if (press->key() != Qt::Key_Delete || (press->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    event->accept();
    if (event->type() == QEvent::KeyPress)
        deleteSelected();
    return true;
}

void MacroPanel::setFolder(const QString& path)
{
    showFolder(path);
    revealing_ = true;
    revealFolder();
}

void MacroPanel::showFolder(const QString& path)
{
    const QString folder = QDir(path).absolutePath();
    if (folder != folder_) {
        // Nothing of the last folder stays to be dragged.
        const QSignalBlocker quiet(list_);
        list_->clear();
        clearPreview();
    }
    folder_ = folder;
    if (!watcher_->directories().isEmpty())
        watcher_->removePaths(watcher_->directories());
    watchFolder();
    for (int i = 0; i < drives_->count(); ++i)
        if (folder_.startsWith(drives_->itemText(i)))
            drives_->setCurrentIndex(i);
    refreshList();
}

// The folder above is watched too: a folder removed drops out of the
// watcher, and is watched again when it is made anew.
void MacroPanel::watchFolder()
{
    const QStringList watched = watcher_->directories();
    for (const QString& path : {folder_, QFileInfo(folder_).absolutePath()})
        if (!watched.contains(path) && QFileInfo(path).isDir())
            watcher_->addPath(path);
}

void MacroPanel::revealFolder()
{
    const QModelIndex index = folders_->index(folder_);
    for (QModelIndex up = index.parent(); up.isValid(); up = up.parent())
        tree_->expand(up);
    tree_->setCurrentIndex(index);
    tree_->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

// The entries keep their place when the same names come back, so the
// selection and the preview survive a refresh.
void MacroPanel::refreshList()
{
    const QString current = list_->currentItem() ? list_->currentItem()->text() : QString();
    const QStringList names =
        QDir(folder_).entryList({"*.kmk"}, QDir::Files | QDir::Hidden, QDir::Name | QDir::IgnoreCase);
    QStringList shown;
    for (int i = 0; i < list_->count(); ++i)
        shown << list_->item(i)->text();
    if (names == shown) {
        // The same names: the file shown may have been replaced by a new
        // one. Unchanged, it is not read again (nor its fault said again).
        const int row = list_->currentRow();
        if (row < 0)
            return;
        const QFileInfo file(entryPath(row));
        if (file.absoluteFilePath() != loadedPath_ || file.lastModified() != loadedTime_ || file.size() != loadedSize_)
            loadEntry(row);
        return;
    }
    const QSignalBlocker quiet(list_);
    list_->clear();
    list_->addItems(names);
    const int row = static_cast<int>(names.indexOf(current));
    if (row >= 0)
        list_->setCurrentRow(row);
    else
        clearPreview(); // the macro shown is gone from the folder
}

QString MacroPanel::entryPath(int row) const
{
    const QListWidgetItem* item = list_->item(row);
    return item ? QDir(folder_).filePath(item->text()) : QString();
}

void MacroPanel::showSaved(const QString& path)
{
    refreshList();
    const QFileInfo saved(path);
    const QSignalBlocker quiet(list_);
    // Saved into another folder, it is not in the list: no entry stays
    // marked as if it were the macro shown.
    list_->setCurrentRow(-1);
    // The file's own name first: the folder may hold another that differs
    // only in case.
    if (saved.absoluteDir() == QDir(folder_))
        for (const Qt::CaseSensitivity cs : {Qt::CaseSensitive, Qt::CaseInsensitive})
            if (list_->currentRow() < 0)
                for (int i = 0; i < list_->count(); ++i)
                    if (list_->item(i)->text().compare(saved.fileName(), cs) == 0) {
                        list_->setCurrentRow(i);
                        break;
                    }
    loadFile(path);
}

void MacroPanel::loadEntry(int row)
{
    const QString path = entryPath(row);
    if (!path.isEmpty() && QFileInfo::exists(path))
        loadFile(path); // else the preview keeps what it shows
}

void MacroPanel::loadFile(const QString& path)
{
    const QFileInfo file(path);
    loadedPath_ = file.absoluteFilePath();
    loadedTime_ = file.lastModified();
    loadedSize_ = file.size();
    auto read = readMacro(path.toStdString(), lang_);
    if (!read) {
        clearPreview();
        prompts_.message(this, QString::fromUtf8(kestrel::tr(lang_, "Макросы", "Macros")),
                         QString::fromStdString(read.message()), Prompts::Icon::Warning);
        return;
    }
    macro_ = std::move(read->objects);
    preview_->update();
}

void MacroPanel::clearPreview()
{
    macro_ = ObjectList();
    preview_->update();
}

QMimeData* MacroPanel::dragData() const
{
    auto* data = new QMimeData;
    data->setData(kMacroMime, panelToken(this));
    return data;
}

ObjectList* MacroPanel::macroFor(const QMimeData& data)
{
    if (macro_.empty() || data.data(kMacroMime) != panelToken(this))
        return nullptr;
    return &macro_;
}

void MacroPanel::deleteSelected()
{
    const int row = list_->currentRow();
    const QString path = entryPath(row);
    if (path.isEmpty())
        return;
    const QString name = QFileInfo(path).fileName();
    const QString question = lang_ == Language::English
                                 ? "Delete file \"" + name + "\" ?"
                                 : "Вы уверены , что файл \"" + name + "\" следует удалить?";
    if (prompts_.ask(this, QString::fromUtf8(kestrel::tr(lang_, "Удаление файла", "Delete file")), question,
                     Prompts::Buttons::OkCancel, Prompts::Icon::Question) !=
        Prompts::Answer::Ok)
        return;
    // The reason in the interface language, which Qt's own text is not.
    if (::unlink(QFile::encodeName(path).constData()) != 0) {
        const int error = errno;
        prompts_.message(this, QString::fromUtf8(kestrel::tr(lang_, "Удаление файла", "Delete file")),
                         QString::fromUtf8(kestrel::tr(lang_, "Файл \"%1\" не удалён: %2",
                                                       "The file \"%1\" was not deleted: %2"))
                             .arg(name, QString::fromStdString(systemErrorText(error, lang_))),
                         Prompts::Icon::Error);
        refreshList();
        return;
    }
    refreshList();
    if (list_->count() == 0) {
        clearPreview(); // nothing left to show, and nothing to drag
        return;
    }
    const int next = std::min(row, list_->count() - 1);
    const QSignalBlocker quiet(list_);
    list_->setCurrentRow(next);
    loadEntry(next);
}

// Scrolling means nothing before the tree has its size.
void MacroPanel::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    revealFolder();
}

void MacroPanel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const int free = height() - drives_->height() - titleBar_->height();
    const QMargins m = layout()->contentsMargins();
    previewArea_->setFixedHeight(macroPreviewHeight(width() - m.left() - m.right(), free));
}

} // namespace kestrel
