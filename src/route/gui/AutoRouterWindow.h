#pragma once
// TAutoRouter: the small tool window of the autorouter tool. It stays on top
// of the main window while the tool is active and holds the track width
// SE_AutoWidth and the clearance SE_AutoAbstand of the next run, in mm, and
// the information label L_Info where a run reports its steps.

#include "model/Language.h"
#include "route/Autorouter.h"

#include <QWidget>

class QDoubleSpinBox;
class QLabel;

namespace kestrel {

class TAutoRouter : public QWidget {
    Q_OBJECT
public:
    explicit TAutoRouter(Language lang, QWidget* parent = nullptr);

    double widthMm() const;
    double clearanceMm() const;
    // Both spins start at 0.4 and 0.2 mm.
    void setSizes(double widthMm, double clearanceMm);
    // The settings of a run on the active layer; the new track gets the
    // tool panel's current clearance.
    RouteSettings settings(int activeLayer, int32_t currentClearance) const;

    // Sets L_Info and paints it at once: a run holds the event loop.
    void setInfo(const QString& text);
    QString info() const;
    // A step of a run in the interface language.
    void showStatus(RouteStatus status, const std::string& box);
    // The prompt the window opens with.
    void showPrompt();

private:
    Language lang_;
    QDoubleSpinBox* width_ = nullptr;
    QDoubleSpinBox* clearance_ = nullptr;
    QLabel* info_ = nullptr;
};

} // namespace kestrel
