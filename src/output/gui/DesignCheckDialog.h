#pragma once
// The design check window: the rules in millimetres, a button that runs the
// check, and the list of violations; picking one hands it to the window
// behind, which selects its objects and zooms to them.

#include "model/LayoutDocument.h"
#include "model/gui/Prompts.h"
#include "output/DesignCheck.h"

#include <QDialog>

#include <functional>
#include <vector>

class QDoubleSpinBox;
class QLabel;
class QListWidget;

namespace kestrel {

class DesignCheckDlg : public QDialog {
    Q_OBJECT
public:
    // The most violations the list shows; the count says how many there are.
    static constexpr size_t kMostListed = 10000;

    DesignCheckDlg(Language lang, QWidget* parent = nullptr);

    void setRules(const DesignRules& rules);
    DesignRules rules() const;

    // Runs the check on `objects` and lists what it finds, with positions
    // as the rulers show them.
    void check(const ObjectList& objects, const BoardSettings& settings, PlaceFrame place = {});
    const std::vector<Violation>& violations() const { return violations_; }

    // Called with the CheckBtn press before the check runs (to remember the rules).
    std::function<void(const DesignRules&)> onRulesUsed;
    // Called when a violation of the list is picked.
    std::function<void(const Violation&)> onPick;

private:
    void runCheck();

    Language lang_;
    const ObjectList* objects_ = nullptr;
    BoardSettings settings_;
    PlaceFrame place_;
    QDoubleSpinBox* clearance_ = nullptr;
    QDoubleSpinBox* width_ = nullptr;
    QDoubleSpinBox* hole_ = nullptr;
    QDoubleSpinBox* ring_ = nullptr;
    QListWidget* list_ = nullptr;
    QLabel* result_ = nullptr;
    std::vector<Violation> violations_;
};

// The command behind Functions > Design check: checks the active board with
// `rules` and shows the window until it is closed; `rules` returns the last
// ones checked with. `pick` selects a violation's objects and shows them.
void runDesignCheckDialog(QWidget* parent, LayoutDocument& doc, Language lang, Prompts& prompts, DesignRules& rules,
                          const std::function<void(const Violation&)>& pick, bool inchUnit = false);

} // namespace kestrel
