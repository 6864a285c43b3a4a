#pragma once
// The board view's pointer: turns the drawing area's mouse events and the
// tool keys into events of the PointerMachine, repaints what it reports,
// draws its previews over the board, keeps the pointer inside the visible
// area while a track, zone or frame is drawn, scrolls at the edges while a
// button is held and drags the view with the middle button in every tool.
// Menus, tool changes and list changes go to the window as signals.

#include "edit/PointerMachine.h"
#include "model/Language.h"

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QWidget>

#include <functional>

class QDropEvent;
class QMenu;
class QMimeData;
class QMouseEvent;

namespace kestrel {

class BoardView;

class BoardPointer : public QObject {
    Q_OBJECT
public:
    BoardPointer(BoardView& view, PointerMachine& machine, Language lang, QObject* parent);

    PointerMachine& machine() { return machine_; }
    void selectTool(ToolMode tool);
    // The generator tools after their dialogs (PointerMachine::startTrackLabel, startPolygon).
    bool startTrackLabel(const TrackLabelSettings& settings);
    void startPolygon(const PolygonSettings& settings);
    void key(PointerKey key, PointerKeys keys = {});
    // Ends the operation in progress (the hook of EditSession).
    void abort();
    // Lets go of what the connect or autorouter tool selects only to show
    // it under the pointer (PointerMachine).
    void releaseShownPick();
    // The label following the pointer takes the new active layer.
    void activeLayerChanged();
    // The mouse grab between a track's clicks; a command lets go of it so
    // that a dialog it opens can be used with the mouse.
    void confine(bool on);
    // The label dialog's answer (nullopt: Cancel).
    void answerLabelDialog(const std::optional<LabelChoice>& choice);
    // The corner menu KnotenPopup with its four commands.
    QMenu& cornerMenu() const { return *cornerMenu_; }
    // Where a dragged macro comes from: its list for the dragged data, or
    // nullptr when the data is not a macro the window offers (the drawing
    // area then refuses the drag).
    using MacroSource = std::function<ObjectList*(const QMimeData&)>;
    void setMacroSource(MacroSource source) { macroSource_ = std::move(source); }

Q_SIGNALS:
    void objectsChanged();
    void selectionChanged();
    void toolSwitched(int toolMode);
    void contextMenuRequested(QPoint globalPosition);
    void hintChanged(const QString& hint);
    // Autorouter tool: the pointer moved to this paint-box pixel; the
    // receiver finds the pick state there and gives it to the machine
    // (PointerMachine::setRoutePick) before returning.
    void autoroutePointerMoved(QPoint paintBoxPixel);
    // Autorouter tool: a press on what was picked (1 a band, 2 a routed track).
    void autoroutePressed(int pick);
    // Label tool: the receiver shows the label dialog and answers with
    // answerLabelDialog before returning. nextNumber >= 0: numbering goes
    // on from it, its label being too large for the board.
    void labelDialogRequested(int nextNumber);
    // Edit tool: a label was double-clicked; the receiver shows its
    // properties. The next press is ignored afterwards.
    void labelPropertiesRequested(long objectIndex);
    // Track-label tool: a label was placed without numbering; its dialog is due again.
    void trackLabelAsked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void controlKeyChanged(QEvent* event);
    void buildCornerMenu(Language lang);
    Point boardPoint(QPoint pixel) const;
    PointerKeys keysOf(const QMouseEvent& e) const;
    // Applies what the machine reports after each event.
    void settle(QPoint globalPosition = {}, QPoint pixel = {});
    // Drag and drop of a macro; true when the event was one of those.
    bool macroDragEvent(QEvent* event);

    BoardView& view_;
    // Kept apart from view_: the filter still sees the paint box's events
    // while the view around it is being destroyed.
    QObject* paintBox_;
    QObject* scrollBox_; // compared only: events come while the view is being taken down
    PointerMachine& machine_;
    Language lang_;
    QMenu* cornerMenu_ = nullptr;
    bool confined_ = false;
    bool panning_ = false;
    QPoint panFrom_; // global pixels
    QPoint lastPress_{-1, -1}; // paint-box pixel of the last left press
    QPoint lastMove_{-1, -1};  // and of the last move over it
    QPointer<QWidget> clickedOutside_; // took the press of a click the board's grab caught; gets its release
    long pendingLabel_ = -1; // a double-clicked label, asked for on the release
    PointerCursor cursor_ = PointerCursor::Arrow;
    QString hint_;
    MacroSource macroSource_;
};

} // namespace kestrel
