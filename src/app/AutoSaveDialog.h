#pragma once
// TAutoSaveDlg: whether the document is saved regularly to its backup file,
// and how often, in whole minutes.

#include "app/UiTexts.h"
#include "model/Language.h"

#include <QDialog>

#include <span>

class QCheckBox;
class QLabel;
class QSpinBox;

namespace kestrel {

std::span<const UiText> autoSaveDialogTexts();

class AutoSaveDialog : public QDialog {
    Q_OBJECT
public:
    explicit AutoSaveDialog(Language lang, QWidget* parent = nullptr);

    // The interval shown in whole minutes (1..60); left as shown, it stays
    // as loaded, whole minutes or not.
    void load(bool enabled, int intervalMs);
    bool enabled() const;
    int intervalMs() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void followCheckBox();

    QCheckBox* check_ = nullptr;
    QLabel* text_ = nullptr;
    QLabel* cycleLabel_ = nullptr;
    QSpinBox* minutes_ = nullptr;
    int loadedMs_ = 0;
    int loadedMinutes_ = -1;
};

} // namespace kestrel
