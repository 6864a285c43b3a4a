#pragma once
// TBogenDlg: start and stop angle and filling of the selected circles. Made
// for each use, loaded from the last selected circle.

#include "app/UiTexts.h"
#include "edit/Generators.h"
#include "model/Language.h"

#include <QDialog>

#include <span>

class QCheckBox;
class QLabel;
class QSpinBox;

namespace kestrel {

std::span<const UiText> arcDialogTexts();

class ArcDialog : public QDialog {
    Q_OBJECT
public:
    explicit ArcDialog(Language lang, QWidget* parent = nullptr);

    void load(const ArcSettings& arc);
    ArcSettings settings() const;

private:
    QSpinBox* start_ = nullptr;
    QSpinBox* stop_ = nullptr;
    QCheckBox* filled_ = nullptr;
    QLabel* warning_ = nullptr;
};

} // namespace kestrel
