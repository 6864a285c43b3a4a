#pragma once
// TL_Groesse: the size and the name of the active board. OK checks the
// texts before the dialog closes; a rejected value leaves it open.

#include "app/UiTexts.h"
#include "model/Language.h"

#include <QDialog>
#include <QString>

#include <cstdint>
#include <span>
#include <utility>

class QLineEdit;

namespace kestrel {

class Prompts;

// The dialog's captions in both languages.
std::span<const UiText> boardSizeDialogTexts();

class BoardSizeDialog : public QDialog {
    Q_OBJECT
public:
    BoardSizeDialog(Language lang, Prompts& prompts, QWidget* parent = nullptr);

    // Fills the edits: whole millimetres (the fraction dropped) and the name.
    void load(int32_t widthUnits, int32_t heightUnits, const QString& name);

    // Valid after the dialog was accepted.
    int32_t widthUnits() const { return widthUnits_; }
    int32_t heightUnits() const { return heightUnits_; }
    QString boardName() const;

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    Language lang_;
    Prompts& prompts_;
    QLineEdit* width_ = nullptr;
    QLineEdit* height_ = nullptr;
    QLineEdit* name_ = nullptr;
    std::pair<QString, QString> loadedSize_; // the size texts load() showed
    // Typed into since load(): the same digits typed again over a size with a
    // fraction (100 shown for 100.5) set that size too.
    bool widthEdited_ = false;
    bool heightEdited_ = false;
    int32_t widthUnits_ = 0;
    int32_t heightUnits_ = 0;
};

} // namespace kestrel
