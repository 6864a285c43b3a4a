#pragma once
// TTXT_Dlg: a label in a system font, for the label tool (text, height,
// orientation, automatic numbering) and for the properties of a placed
// label (the same dialog loaded from it). It keeps its values between uses.

#include "app/UiTexts.h"
#include "edit/PointerMachine.h"
#include "model/Language.h"

#include <QDialog>

#include <span>

class QCheckBox;
class QDoubleSpinBox;
class QGroupBox;
class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace kestrel {

class Prompts;

std::span<const UiText> labelDialogTexts();

class LabelDialog : public QDialog {
    Q_OBJECT
public:
    LabelDialog(Language lang, Prompts& prompts, QWidget* parent = nullptr);

    // The height in units (TextHeight) shown in mm.
    void setHeightUnits(int32_t heightUnits);
    int32_t heightUnits() const;
    // Loads a placed label: its text, the height its font stands for, its angle.
    void loadLabel(const LayoutObject& label);
    // Numbering is for labels the tool places; a placed label's properties
    // have none, so its text may not be left empty.
    void offerNumbering(bool offered);
    // Numbering goes on from `next`; past the last number the dialog takes,
    // it ends rather than repeat that number.
    void continueNumbering(int next);
    // What OK gave, for the label tool.
    LabelChoice choice() const;
    // The board the label goes on and how texts measure: OK refuses a
    // label whose box is larger than the board.
    void setBoard(int32_t widthUnits, int32_t heightUnits, LabelMeasure measure);
    int32_t angle() const;
    std::string text() const;

    // What the fields hold, put back when a use is cancelled: a cancel
    // drops what was typed, and a placed label's values shown for its
    // properties do not stay for the next new label.
    struct Fields {
        QString text;
        double heightMm = 0;
        int32_t angle = 0;
        bool numbered = false;
        int start = 0;
    };
    Fields fields() const;
    void setFields(const Fields& fields);

protected:
    void showEvent(QShowEvent* event) override;
    void accept() override;

private:
    Language lang_;
    Prompts& prompts_;
    QLineEdit* text_ = nullptr;
    QDoubleSpinBox* height_ = nullptr;
    QRadioButton* angles_[4] = {};
    QGroupBox* numberBox_ = nullptr;
    QCheckBox* numbering_ = nullptr;
    QSpinBox* start_ = nullptr;
    int32_t boardWidth_ = 0, boardHeight_ = 0;
    LabelMeasure measure_; // none: not checked
};

} // namespace kestrel
