#pragma once
// TLinienText_Dlg: the text, height, spacing, stroke width, orientation and
// numbering of a label made of tracks. Created once; keeps its values.

#include "app/UiTexts.h"
#include "edit/TrackLabel.h"
#include "model/Language.h"

#include <QDialog>

#include <span>

class QButtonGroup;
class QCheckBox;
class QDoubleSpinBox;
class QLineEdit;
class QSpinBox;

namespace kestrel {

class Prompts;

std::span<const UiText> trackLabelDialogTexts();

class TrackLabelDialog : public QDialog {
    Q_OBJECT
public:
    TrackLabelDialog(Language lang, Prompts& prompts, QWidget* parent = nullptr);

    TrackLabelSettings settings() const;
    // Shows these values, as after a cancel the dialog shows the last ones used.
    void load(const TrackLabelSettings& s);
    // The board the label goes on: a label larger than it is refused.
    void setBoardSize(int32_t widthUnits, int32_t heightUnits);

protected:
    // Kept open, with a message, on a text of which the font draws nothing
    // or a label larger than the board.
    void accept() override;
    void showEvent(QShowEvent* event) override;

private:
    Language lang_;
    Prompts& prompts_;
    QLineEdit* text_ = nullptr;
    QDoubleSpinBox* height_ = nullptr;
    QButtonGroup* spacing_ = nullptr;
    QButtonGroup* weight_ = nullptr;
    QButtonGroup* angle_ = nullptr;
    QCheckBox* numbered_ = nullptr;
    QSpinBox* start_ = nullptr;
    int32_t boardWidth_ = 0, boardHeight_ = 0; // 0: not known, not checked
};

} // namespace kestrel
