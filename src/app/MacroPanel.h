#pragma once
// P_Makro: the macro library on the right of the drawing area. A drive
// selector and a folder tree choose the folder, the list shows its *.kmk
// files (either letter case), the preview PB_Makro draws the selected macro
// scaled to fit and is where a drag onto the board starts, and two buttons
// save the board as a macro and delete the selected file.

#include "model/Language.h"
#include "model/ObjectList.h"

#include <QDateTime>
#include <QWidget>

class QComboBox;
class QFileSystemModel;
class QFileSystemWatcher;
class QListWidget;
class QMimeData;

namespace kestrel {

class FolderTree;

class LayoutDocument;
class MacroPreviewBox;
class Prompts;

class MacroPanel : public QWidget {
    Q_OBJECT
public:
    MacroPanel(Language lang, Prompts& prompts, QWidget* parent = nullptr);
    ~MacroPanel() override;

    // The document whose active board sizes the preview's dots (not owned).
    void setDocument(const LayoutDocument* doc) { doc_ = doc; }

    QString folder() const { return folder_; }
    // Shows a folder in the tree and its macros in the list.
    void setFolder(const QString& path);
    // After a save: the list read again, the entry of that name (letter case
    // aside) selected and loaded.
    void showSaved(const QString& path);

    // The macro preview list: the selected macro, its reference point at the origin.
    const ObjectList& macro() const { return macro_; }
    // What a drag from the preview carries, and the macro for such data
    // (nullptr for other data or while no macro is loaded).
    QMimeData* dragData() const;
    ObjectList* macroFor(const QMimeData& data);

    // B_MakroLoeschenClick: asks, deletes the selected file, selects the
    // entry now at its place (or the last) and loads it.
    void deleteSelected();

Q_SIGNALS:
    void saveRequested();
    void closeRequested();
    void folderChosen(const QString& path);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // The folder's macros in the list, the drive selector on its drive.
    void showFolder(const QString& path);
    void refreshList();
    void watchFolder();
    // Expands the tree down to the folder and scrolls it into view.
    void revealFolder();
    // LB_MakroChange: reads the entry's file into the preview list.
    void loadEntry(int row);
    // Reads a macro file into the preview list; a file that does not read
    // is reported and leaves the preview empty.
    void loadFile(const QString& path);
    void clearPreview();
    QString entryPath(int row) const;

    Language lang_;
    Prompts& prompts_;
    const LayoutDocument* doc_ = nullptr;
    QString folder_;
    bool revealing_ = false; // the tree follows the folder until the user scrolls or clicks it
    ObjectList macro_;
    // The file the preview was read from as it was then: a change in the
    // folder reads it again only when the file itself changed.
    QString loadedPath_;
    QDateTime loadedTime_;
    qint64 loadedSize_ = -1;

    QComboBox* drives_ = nullptr;
    QWidget* titleBar_ = nullptr;
    QFileSystemModel* folders_ = nullptr;
    FolderTree* tree_ = nullptr;
    QListWidget* list_ = nullptr;
    QWidget* previewArea_ = nullptr;
    MacroPreviewBox* preview_ = nullptr;
    QFileSystemWatcher* watcher_ = nullptr;
};

} // namespace kestrel
