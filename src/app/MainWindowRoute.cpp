// The main window's rubber-band clean-up command and the autorouter window
// with the actions of the test, connect and autorouter tools.

#include "app/MainWindow.h"

#include "edit/PointerMachine.h"
#include "edit/gui/BoardPointer.h"
#include "model/gui/BusyCursor.h"
#include "model/gui/Prompts.h"
#include "route/RubberBands.h"
#include "route/gui/AutoRouterWindow.h"
#include "route/gui/RouteToolActions.h"
#include "view/gui/BoardView.h"

namespace kestrel {

void MainWindow::defineRouteHandlers()
{
    handlers_["TB_ClearConnectionsClick"] = [this](int) { clearConnections(); };
}

// The autorouter window lives as long as the main window and shows only
// while its tool is active.
void MainWindow::buildRouteTools()
{
    autoRouter_ = new TAutoRouter(lang_, this);
    routeTools_ = new RouteToolActions(*view_, session_, tools_, *autoRouter_, this);
    connect(routeTools_, &RouteToolActions::boardChanged, this, [this] {
        updateCommandStates();
        updateTitle();
    });
    connect(pointer_, &BoardPointer::autoroutePointerMoved, this, [this](QPoint pixel) {
        machine_->setRoutePick(static_cast<int>(routeTools_->autorouteMove(pixel)));
    });
    connect(pointer_, &BoardPointer::autoroutePressed, this,
            [this](int pick) { routeTools_->autoroutePress(static_cast<PickState>(pick)); });
}

void MainWindow::clearConnections()
{
    BandCleanup result;
    runEdit([this, &result] {
        const BusyCursor busy;
        result = ClearConnections(session_, doc_);
    });
    prompts_.message(this, QString::fromUtf8(clearReportCaption(lang_)),
                     QString::fromStdString(clearReportText(lang_, result)), Prompts::Icon::Information);
}

} // namespace kestrel
