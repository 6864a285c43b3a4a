#include "route/gui/RouteToolActions.h"

#include "model/gui/BusyCursor.h"
#include "route/Connectivity.h"
#include "route/TestTool.h"
#include "route/gui/AutoRouterWindow.h"
#include "route/gui/SearchBoxFlash.h"
#include "view/gui/BoardView.h"

namespace kestrel {

RouteToolActions::RouteToolActions(BoardView& view, EditSession& session, const ToolParameters& tools,
                                   TAutoRouter& window, QObject* parent)
    : QObject(parent), view_(view), session_(session), tools_(tools), window_(window),
      flash_(new SearchBoxFlash(view)), grid_(std::make_unique<RouteGrid>())
{
}

RouteToolActions::~RouteToolActions() = default;

void RouteToolActions::toolChosen(int toolMode)
{
    const bool autorouter = toolMode == kAutorouterTool;
    view_.setAutorouterToolActive(autorouter);
    // Hiding the window while it has the keyboard (its sizes were being
    // edited) hands the keyboard back to the board's window.
    const bool hadKeyboard = window_.isActiveWindow();
    window_.setVisible(autorouter);
    if (!autorouter && hadKeyboard)
        view_.window()->activateWindow();
    if (!autorouter)
        flash_->flash({});
}

void RouteToolActions::repaint(const BoardChange& change)
{
    if (change.repaint) {
        view_.invalidateBoardRect(*change.repaint);
        Q_EMIT boardChanged();
    }
}

void RouteToolActions::testPress(Point p)
{
    LayoutDocument* doc = view_.document();
    if (!doc || !doc->currentObjects())
        return;
    ConnectionTestResult r;
    {
        const BusyCursor busy;
        r = TestConnectionAt(*doc->currentObjects(), view_.objectIndex(), doc->Working, p);
    }
    repaint(r.change);
}

PickState RouteToolActions::autorouteMove(QPoint paintBoxPixel)
{
    LayoutDocument* doc = view_.document();
    if (!doc || !doc->currentObjects())
        return PickState::Nothing;
    // Only bands of the active copper layer can be picked: with a silk layer
    // active the window says why none is.
    if (silkActive() != silkShown_)
        resultNoLongerStands();
    const RoutePick pick = PickRouteTarget(*doc->currentObjects(), view_.objectIndex(), view_.viewport(),
                                           {paintBoxPixel.x(), paintBoxPixel.y()});
    repaint(pick.change);
    return pick.state;
}

bool RouteToolActions::silkActive() const
{
    const LayoutDocument* doc = view_.document();
    return doc && !isBoardCopper(static_cast<int>(doc->Working.ActiveLayer));
}

void RouteToolActions::resultNoLongerStands()
{
    silkShown_ = silkActive();
    if (silkShown_)
        window_.showStatus(RouteStatus::LayerNotCopper, {});
    else
        window_.showPrompt();
}

void RouteToolActions::autoroutePress(PickState pick)
{
    LayoutDocument* doc = view_.document();
    if (!doc)
        return;
    if (pick == PickState::RoutedTrack) {
        repaint(UnrouteSelectedTrack(session_, *doc).change);
        resultNoLongerStands();
        return;
    }
    if (pick != PickState::Band)
        return;
    std::vector<Rect> boxes;
    RouteObserver observer;
    observer.status = [this](RouteStatus status, const std::string& box) { window_.showStatus(status, box); };
    observer.searchBox = [&boxes](const Rect& box, bool shown) {
        if (shown)
            boxes.push_back(box);
    };
    const RouteSettings settings = window_.settings(static_cast<int>(doc->Working.ActiveLayer),
                                                    tools_.CurrentClearance);
    RouteRun run;
    {
        const BusyCursor busy;
        run = RouteSelectedBand(session_, *doc, settings, observer, *grid_);
    }
    flash_->flash(std::move(boxes));
    repaint(run.change);
}

} // namespace kestrel
