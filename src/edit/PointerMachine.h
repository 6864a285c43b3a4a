#pragma once
// The pointer state machine of the board view over plain events in board
// units: presses, moves and releases of the buttons, a few keys, the tool
// choice and the abort of an operation in progress. It changes the active
// board's objects through the edit core and keeps the previews; what the
// window has to do about it (repaint, menus, zoom, another tool) it collects
// in PointerEffects for the caller to take after each event.

#include "edit/BoardChange.h"
#include "edit/EditSession.h"
#include "edit/Generators.h"
#include "edit/Labels.h"
#include "edit/PointerState.h"
#include "edit/Previews.h"
#include "edit/ToolParameters.h"
#include "edit/TrackLabel.h"
#include "edit/Undo.h"
#include "model/LayoutDocument.h"
#include "view/ObjectIndex.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kestrel {

enum class PointerMenu : uint8_t { None, Context, Corner };
enum class ZoomRequest : uint8_t { None, Out, Release };
enum class PointerCursor : uint8_t { Arrow, Lupe, Test, Changer, Connect, AutoRoute };

struct PointerEffects {
    // Board rectangles whose objects changed, and whether everything did.
    std::vector<Rect> changed;
    bool changedAll = false;
    // Board rectangles where a preview appeared or went.
    std::vector<Rect> previews;
    bool selectionChanged = false;
    bool objectsChanged = false; // the list or an object in it: commands, title
    std::optional<ToolMode> switchTool;
    PointerMenu menu = PointerMenu::None;
    ZoomRequest zoom = ZoomRequest::None;
    Point zoomAnchor, zoomRelease; // raw, clamped into the board
    // The pointer is kept in the visible area (true) or set free (false).
    std::optional<bool> confine;
    // Autorouter tool: a press with this pick state (1 a band, 2 a routed
    // track) routes or unroutes; 0 when no press asks for it.
    int autoroutePick = 0;
    // Autorouter tool: the pointer moved, its pick state is due.
    bool autorouteMoved = false;
    // Track-label tool: a label was placed without numbering; the dialog
    // opens again (startTrackLabel on OK, the edit tool on Cancel).
    bool askTrackLabel = false;
    // Label tool: the label dialog is due; answer with labelChosen.
    bool labelDialog = false;
    // With it after a numbered label: the number to go on from, whose label
    // would be larger than the board.
    std::optional<int> nextLabelNumber;
    // Edit tool: a double click asks for the properties of this label.
    long editLabel = -1;
};

// What the label dialog gave for the labels the label tool places.
struct LabelChoice {
    std::string text;
    int32_t fontHeight = 0; // the labels' Width: negative, units
    int32_t angle = 0;
    bool numbering = false; // the counter follows the text
    int start = 0;          // the counter's first value
};

// Whether the corner commands of the corner menu apply.
struct CornerMenuState {
    bool remove = false; // the object keeps at least two corners
    bool split = false;  // a track's inner corner
};

class PointerMachine {
public:
    using IndexSource = std::function<const ObjectIndex&()>;
    // index returns the spatial index of the active board's objects as they
    // are now. session.EndPointerOperation is left to the caller: it should
    // call abort().
    PointerMachine(EditSession& session, LayoutDocument& doc, ToolParameters& tools, IndexSource index);

    ToolMode tool() const { return tool_; }
    const PointerState& state() const { return s_; }
    const Previews& previews() const { return previews_; }
    // The pixel size in units, for the previews' hairline margins.
    void setOnePixelUnits(int32_t units) { previews_.setOnePixelUnits(units); }

    // The tool buttons: nothing stays selected, any operation ends.
    void selectTool(ToolMode tool);
    // The track-label tool after its dialog: the counter starts at the
    // first number and the label that follows the pointer is made. False
    // (and the edit tool) when the text makes no track.
    bool startTrackLabel(const TrackLabelSettings& settings);
    // The polygon tool after its dialog.
    void startPolygon(const PolygonSettings& settings);
    // The label that follows the pointer in the track-label tool, made at
    // kFollowingAnchor. It lives outside the board: nothing saves, exports
    // or deletes it with the board's objects.
    const ObjectList& followingLabel() const { return following_; }
    static constexpr Point kFollowingAnchor{0, 100};
    // raw is the unsnapped board point under the pointer; the machine snaps
    // it to the grid unless Ctrl is held.
    void press(PointerButton button, Point raw, PointerKeys keys);
    void move(Point raw, PointerKeys keys);
    void release(PointerButton button, Point raw, PointerKeys keys);
    void key(PointerKey key, PointerKeys keys);
    // Ends what a press has begun as a tool change, a board change or a
    // command that changes the objects must: previews go, a track of fewer
    // than two points and a zone that spans no area are removed. The
    // machine's own edits do not end it.
    void abort();
    // The connect tool shows the pad under the pointer by selecting it (and
    // its group) unless the user had selected it; the autorouter tool shows
    // the band or track under the pointer by selecting it alone. A command
    // that acts on the selection lets them go first. A press of the connect
    // tool still takes that pad; the next move shows them again.
    void releaseShownPick();
    // The pad selected only to show it under the pointer, -1 for none.
    long shownOnlyPad() const { return s_.HighlightSelected ? s_.HighlightedPad : -1; }
    // Whether whatever is selected is selected only to show it: in the
    // autorouter tool nothing else is.
    bool selectionOnlyShown() const { return tool_ == ToolMode::AutoRoute; }
    // The autorouter's pick under the pointer, found by the window from the
    // pointer's pixel after a move (0 nothing, 1 a band, 2 a routed track).
    void setRoutePick(int pick) { routePick_ = pick; }
    // Edit tool: a double click; on a label it asks for its properties.
    void doubleClick(Point raw);

    // How label texts measure (the font is the caller's).
    void setLabelMeasure(LabelMeasure measure) { measure_ = std::move(measure); }
    const LabelMeasure& labelMeasure() const { return measure_; }
    // The label dialog's answer after PointerEffects::labelDialog; nullopt
    // is Cancel, which returns to the edit tool.
    void labelChosen(const std::optional<LabelChoice>& choice);
    // The label that follows the pointer in the label tool, if any. It is
    // removed whenever the tool, the board or the objects change otherwise.
    const LayoutObject* placingLabel() const { return placing_; }
    // Another layer became active: the label that follows the pointer goes
    // to it, as the next one made would.
    void activeLayerChanged();

    // The corner under the right press, for the corner menu.
    CornerMenuState cornerMenu() const;
    enum class CornerCommand : uint8_t { Add, Remove, ToGrid, Split };
    void cornerCommand(CornerCommand command);

    PointerCursor cursor() const;
    // The long hint for the tool and state, in the language.
    const char* hint(Language lang) const;

    PointerEffects takeEffects();

    // A macro dragged from the macro panel over the drawing area: its outline
    // follows with the reference point at the snapped board point under the
    // pointer, kept on the board. The first move ends any other operation.
    void macroDragMove(const ObjectList& macro, Point raw);
    // The drag left the drawing area or was given up: the outline goes.
    void macroDragLeave();
    // The drop: the macro inserted at the previewed point (MacroDrop.h).
    void macroDrop(ObjectList& macro, Point raw);

    // Whether a track or zone is being built (DEL then also takes its last point).
    bool building() const { return building_ != nullptr; }
    // The track or zone being drawn takes the current track width, which
    // its rubber band shows: a width chosen while drawing is the width it
    // gets. Returns whether its width changed.
    bool takeTrackWidth();
    LayoutObject* builtObject() const { return building_; }
    // Whether the edit tool's button is held: a move, a corner drag or a frame.
    bool holdingDrag() const { return tool_ == ToolMode::Edit && s_.Pressed; }

private:
    // The machine's own edits call EditSession::objectsWillChange like every
    // command; while one runs, that must not end the operation it belongs to.
    struct Busy {
        explicit Busy(PointerMachine& m) : m_(m) { ++m_.busy_; }
        ~Busy() { --m_.busy_; }
        PointerMachine& m_;
    };

    Point snapped(Point raw, PointerKeys keys) const;
    ObjectList& objects();
    void changed(const LayoutObject& o);
    void deselectAll();
    void backToEdit();
    void endOperation();
    // What abort does: the operation ends, and the label tool, whose label
    // followed the pointer, gives way to the edit tool.
    void interruptOperation();
    // The connect tool's part of releaseShownPick, which an operation's end does too.
    void releaseShownPad();
    void rightPress(Point raw, PointerKeys keys);
    Point clampToBoard(Point p) const;
    PreviewColour previewColour() const;
    // The selection flags before a change, and the repaint of what differs.
    std::vector<uint8_t> selectionFlags();
    void selectionDiffers(const std::vector<uint8_t>& before);

    void editPress(Point raw, PointerKeys keys);
    void editMove(Point raw, PointerKeys keys);
    void editRelease();
    void editRightPress(Point raw);
    void buildMoveOutline();

    // False when the press closed a zone on its first point.
    bool pathPress(Point raw, PointerKeys keys);
    void pathMove(Point raw, PointerKeys keys);
    void pathRightPress();
    void startZone();
    void appendPathPoint(Point p);
    void finishZone();
    void drawRubberBand();
    void drawStartDot();

    void placeFigure(Point raw, PointerKeys keys);
    void figureMove(Point raw, PointerKeys keys);

    void drawFrame();

    // Track-label and polygon tools (PointerGeneratorTools.cpp).
    void makeFollowingLabel();
    Point clampLabel(Point p) const;
    void drawFollowingLabel();
    void trackLabelMove(Point raw, PointerKeys keys);
    void trackLabelPress(Point raw, PointerKeys keys);
    void polygonMove(Point raw, PointerKeys keys);
    void polygonPress(Point raw, PointerKeys keys);

    // The label tool (PointerLabelTool.cpp).
    void labelPress();
    void labelMove(Point raw, PointerKeys keys);
    void createFollowingLabel(Point at);
    bool nextLabelFits() const;
    void dropFollowingLabel();

    void report(const BoardChange& change);
    void testPress(Point raw);
    void connectMove(Point raw);
    void connectPress();
    void connectRightPress();

    EditSession& session_;
    LayoutDocument& doc_;
    ToolParameters& tools_;
    IndexSource index_;
    ToolMode tool_ = ToolMode::Edit;
    PointerState s_;
    Previews previews_;
    PointerEffects effects_;
    LayoutObject* building_ = nullptr; // the track or zone under construction
    ObjectList* buildingList_ = nullptr; // its board's list: a board change ends it after the switch
    UndoStepTaken buildingStep_;          // the snapshot taken when it was begun
    // Takes the track or zone being built off its board and gives back the
    // undo step taken when it was begun.
    void dropBuilding();
    // Ends the building; whatever is left of the object stays.
    void endBuilding();
    bool overCorner_ = false;          // edit tool: the pointer rests on a draggable corner
    bool outlineBuilt_ = false;        // the move outline of this drag exists
    bool macroOutlineBuilt_ = false;   // the outline of a dragged macro exists
    int busy_ = 0;                     // inside the machine's own edits
    int routePick_ = 0;
    TrackLabelSettings trackLabel_;
    ObjectList following_;
    Point followingExtent_;
    Rect followingBox_; // its strokes' drawn box, at kFollowingAnchor
    PolygonSettings polygon_;
    LabelChoice label_;                   // the label tool's text, look and numbering
    LabelMeasure measure_;
    LayoutObject* placing_ = nullptr;   // the label tool's label under the pointer
    ObjectList* placingList_ = nullptr; // its board's list
};

} // namespace kestrel
