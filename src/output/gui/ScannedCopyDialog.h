#pragma once
// TVorlageDlg: the scanned copies of both board sides, one page each. Every
// change goes straight into the board's settings and is announced, so the
// board view follows while the dialog is open.

#include "model/Board.h"
#include "model/Language.h"
#include "model/gui/Prompts.h"

#include <QColor>
#include <QDialog>

#include <array>
#include <functional>
#include <optional>

class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTabWidget;

namespace kestrel {

class ScannedCopies;

class TVorlageDlg : public QDialog {
    Q_OBJECT
public:
    TVorlageDlg(Language lang, Prompts& prompts, BoardSettings& board, ScannedCopies& copies,
                QWidget* parent = nullptr);

    // The colour dialog; tests put their own answer here.
    std::function<std::optional<QColor>(const QColor&)> chooseColour;

    // Side 1 or 2 from its file, as the load buttons do after the file
    // dialog. On failure the side keeps its file name and bitmap.
    bool LoadScannedCopy(int side, const QString& path);

Q_SIGNALS:
    // Something of side 1 or 2 changed.
    void changed(int side);

private:
    struct SideControls {
        QCheckBox* show = nullptr;
        QSpinBox* dpi = nullptr;
        QSpinBox* offsetX = nullptr;
        QSpinBox* offsetY = nullptr;
        QPushButton* colour = nullptr;
        QPushButton* load = nullptr;
        QLabel* fileName = nullptr;
    };
    QWidget* makePage(int side);
    void showSettings(int side);
    void controlsChanged(int side);
    void colourClicked(int side);
    void loadClicked(int side);

    Language lang_;
    Prompts& prompts_;
    BoardSettings& board_;
    ScannedCopies& copies_;
    QTabWidget* PageControl1_ = nullptr;
    std::array<SideControls, 2> sides_;
    bool showing_ = false;
};

} // namespace kestrel
