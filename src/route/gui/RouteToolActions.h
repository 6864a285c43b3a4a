#pragma once
// What the pointer tools 8 (test), 9 (connect) and 11 (autorouter) do to the
// board, for the pointer state machine to call on its events. Each call runs
// the core step (route/TestTool.h, route/ConnectTool.h, route/RouteTool.h),
// repaints what changed and sends boardChanged when the objects or the
// selection changed, so the window can bring its commands and title up to
// date. The previews the tools draw themselves (the dotted line of a band
// being drawn) stay with the pointer state machine.
//
// Calls, by tool and event:
//   any tool chosen:  toolChosen(mode) - shows TAutoRouter only for tool 11
//                     and lets the view draw the picked band in magenta.
//   8 left press:     testPress(raw board point)
//   11 move:          pick = autorouteMove(paint-box pixel)
//   11 left press:    autoroutePress(pick)

#include "edit/EditSession.h"
#include "edit/ToolParameters.h"
#include "route/ConnectTool.h"
#include "route/RouteTool.h"

#include <QObject>
#include <QPoint>

#include <memory>

namespace kestrel {

class BoardView;
class SearchBoxFlash;
class TAutoRouter;

class RouteToolActions : public QObject {
    Q_OBJECT
public:
    static constexpr int kAutorouterTool = 11;

    // The view shows the document the tools change; the tool parameters give
    // a routed track its clearance.
    RouteToolActions(BoardView& view, EditSession& session, const ToolParameters& tools, TAutoRouter& window,
                     QObject* parent);
    ~RouteToolActions() override;

    void toolChosen(int toolMode);

    // Test tool: the copper joined to the object at p becomes the selection.
    void testPress(Point p);

    // Autorouter tool: picks the band or laid track under the pointer; keep
    // the answer for the next press.
    PickState autorouteMove(QPoint paintBoxPixel);
    // Autorouter tool: Band routes the picked band with the window's width
    // and clearance, showing its steps in L_Info and its search boxes on the
    // board; RoutedTrack turns the picked track back into its band.
    void autoroutePress(PickState pick);
    // The board, its objects (undo, redo) or the active layer changed under
    // the tool: the last run's result no longer stands, and the window asks
    // for a band again, or says why none can be picked on a silk layer.
    void resultNoLongerStands();

    TAutoRouter& window() const { return window_; }
    SearchBoxFlash& searchBoxFlash() const { return *flash_; }

Q_SIGNALS:
    void boardChanged();

private:
    void repaint(const BoardChange& change);
    bool silkActive() const;

    BoardView& view_;
    EditSession& session_;
    const ToolParameters& tools_;
    TAutoRouter& window_;
    SearchBoxFlash* flash_ = nullptr;
    bool silkShown_ = false; // the window says a silk layer is active
    std::unique_ptr<RouteGrid> grid_; // 2.5 MB, kept for the whole session
};

} // namespace kestrel
