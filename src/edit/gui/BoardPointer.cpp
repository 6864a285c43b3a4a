#include "edit/gui/BoardPointer.h"

#include "edit/gui/PointerCursors.h"
#include "edit/gui/PreviewPainter.h"
#include "view/gui/BoardView.h"

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>

#include <utility>

namespace kestrel {

namespace {

// The corner menu is the board's child, within reach of the board's
// one-letter tool keys: while it is open, a plain letter is its own, to
// choose an item by its access letter.
class MenuKeysFirst : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::ShortcutOverride)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier) || key->text().isEmpty())
            return false;
        event->accept();
        return true;
    }
};

} // namespace

BoardPointer::BoardPointer(BoardView& view, PointerMachine& machine, Language lang, QObject* parent)
    : QObject(parent), view_(view), paintBox_(view.paintBox()), scrollBox_(view.scrollBox()), machine_(machine),
      lang_(lang)
{
    view_.paintBox()->installEventFilter(this);
    view_.scrollBox()->installEventFilter(this); // the keys go to the board's scroll box
    view_.paintBox()->setAcceptDrops(true);
    view_.setOverlay([this](QImage& image, const QTransform& t) { DrawPreviews(image, t, machine_.previews()); });
    buildCornerMenu(lang);
}

void BoardPointer::buildCornerMenu(Language lang)
{
    cornerMenu_ = new QMenu(view_.paintBox());
    cornerMenu_->setObjectName("KnotenPopup");
    cornerMenu_->installEventFilter(new MenuKeysFirst(cornerMenu_));
    using C = PointerMachine::CornerCommand;
    struct Row {
        const char* name;
        const char* russian;
        const char* english;
        C command;
    };
    const Row rows[] = {
        {"NeuerKnoten1", "&Добавить узел", "&Add corner", C::Add},
        {"Knotenentfernen1", "&Удалить узел", "&Remove corner", C::Remove},
        {"AmRasterausrichten2", "&Подогнать под сетку", "Adjust corner to &grid", C::ToGrid},
        {"Trennen1", "&Разделить дорожки", "&Split track", C::Split},
    };
    for (const Row& r : rows) {
        QAction* a = cornerMenu_->addAction(QString::fromUtf8(kestrel::tr(lang, r.russian, r.english)));
        a->setObjectName(r.name);
        connect(a, &QAction::triggered, this, [this, c = r.command] {
            machine_.cornerCommand(c);
            settle();
        });
    }
}

void BoardPointer::selectTool(ToolMode tool)
{
    machine_.selectTool(tool);
    settle();
}

bool BoardPointer::startTrackLabel(const TrackLabelSettings& settings)
{
    const bool made = machine_.startTrackLabel(settings);
    settle();
    return made;
}

void BoardPointer::startPolygon(const PolygonSettings& settings)
{
    machine_.startPolygon(settings);
    settle();
}

void BoardPointer::key(PointerKey key, PointerKeys keys)
{
    machine_.key(key, keys);
    settle();
}

void BoardPointer::abort()
{
    machine_.abort();
    settle();
}

void BoardPointer::releaseShownPick()
{
    machine_.releaseShownPick();
    settle();
}

void BoardPointer::activeLayerChanged()
{
    machine_.activeLayerChanged();
    settle();
}

void BoardPointer::answerLabelDialog(const std::optional<LabelChoice>& choice)
{
    machine_.labelChosen(choice);
    settle();
}

// While a track, zone or frame runs the pointer stays in the visible area:
// points beyond it are taken at its edge.
Point BoardPointer::boardPoint(QPoint pixel) const
{
    if (confined_) {
        const QRect area = view_.visibleArea();
        if (!area.isEmpty())
            pixel = {std::clamp(pixel.x(), area.left(), area.right()), std::clamp(pixel.y(), area.top(), area.bottom())};
    }
    return view_.screenToBoard(pixel, false);
}

PointerKeys BoardPointer::keysOf(const QMouseEvent& e) const
{
    const Qt::KeyboardModifiers m = e.modifiers();
    const bool leftHeld = (e.buttons() & Qt::LeftButton) && e.button() != Qt::LeftButton;
    return {m.testFlag(Qt::ShiftModifier), m.testFlag(Qt::ControlModifier), m.testFlag(Qt::AltModifier), leftHeld};
}

void BoardPointer::confine(bool on)
{
    if (on == confined_)
        return;
    confined_ = on;
    // Between the clicks of a track no button is held: the grab keeps the
    // moves coming when the pointer leaves the drawing area.
    if (on)
        view_.paintBox()->grabMouse();
    else
        view_.paintBox()->releaseMouse();
}

bool BoardPointer::macroDragEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop: {
        auto* e = static_cast<QDropEvent*>(event);
        ObjectList* macro = macroSource_ && e->mimeData() ? macroSource_(*e->mimeData()) : nullptr;
        if (!macro) {
            e->ignore();
            return true;
        }
        const Point raw = view_.screenToBoard(e->position().toPoint(), false);
        if (event->type() == QEvent::Drop) {
            machine_.macroDrop(*macro, raw);
            // The keys then act on the dropped part, not on the macro list
            // the drag began in (Del there deletes the macro's file).
            view_.scrollBox()->setFocus(Qt::OtherFocusReason);
        } else
            machine_.macroDragMove(*macro, raw);
        e->acceptProposedAction();
        settle();
        return true;
    }
    case QEvent::DragLeave:
        machine_.macroDragLeave();
        settle();
        return true;
    default:
        return false;
    }
}

// Ctrl turns the grid capture off while held: the rubber band and the
// other previews follow at once, not at the next move, so a click places
// the point they show.
void BoardPointer::controlKeyChanged(QEvent* event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return;
    const auto* e = static_cast<QKeyEvent*>(event);
    if (e->key() != Qt::Key_Control || e->isAutoRepeat() || lastMove_.x() < 0 || panning_)
        return;
    const Qt::KeyboardModifiers m = e->modifiers();
    const PointerKeys keys{m.testFlag(Qt::ShiftModifier), event->type() == QEvent::KeyPress,
                           m.testFlag(Qt::AltModifier), QGuiApplication::mouseButtons().testFlag(Qt::LeftButton)};
    machine_.move(boardPoint(lastMove_), keys);
    settle(view_.paintBox()->mapToGlobal(lastMove_), lastMove_); // where the pointer is, for the router's pick too
}

bool BoardPointer::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == scrollBox_)
        controlKeyChanged(event);
    if (watched != paintBox_)
        return false;
    if (macroDragEvent(event))
        return true;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        // A double click's second press counts as a press of its own, so
        // fast clicks in the drawing tools all place their points.
        auto* e = static_cast<QMouseEvent*>(event);
        view_.scrollBox()->setFocus(Qt::MouseFocusReason);
        if (e->button() == Qt::MiddleButton) {
            panning_ = true;
            panFrom_ = e->globalPosition().toPoint();
            return true;
        }
        const PointerButton b = e->button() == Qt::RightButton ? PointerButton::Right : PointerButton::Left;
        if (e->button() != Qt::LeftButton && e->button() != Qt::RightButton)
            return false;
        const QPoint pixel = e->position().toPoint();
        // The window system cannot keep the pointer inside the drawing area
        // as an operation asks: a click beyond it (on the tool bar, another
        // program) meant something else. It adds no point at the edge, lets
        // the pointer go, and goes on to what lies there in this program (a
        // panel field, a tool button), which the pointer, no longer held,
        // would not reach before it moved again.
        if (confined_ && b == PointerButton::Left && !view_.visibleArea().contains(pixel)) {
            confine(false);
            const QPoint global = e->globalPosition().toPoint();
            QWidget* target = QApplication::widgetAt(global);
            if (target && target != view_.paintBox() && !view_.paintBox()->isAncestorOf(target)) {
                clickedOutside_ = target;
                // As a click of the user's own gives the focus (a sent one does not).
                for (QWidget* w = target; w && !w->isWindow(); w = w->parentWidget())
                    if (w->focusPolicy() & Qt::ClickFocus) {
                        w->setFocus(Qt::MouseFocusReason);
                        break;
                    }
                QMouseEvent press(QEvent::MouseButtonPress, target->mapFromGlobal(global), global, Qt::LeftButton,
                                  e->buttons(), e->modifiers());
                QApplication::sendEvent(target, &press);
            }
            return true;
        }
        // A double click's second press on the same pixel would only repeat
        // the first: a second pad on the first, a corner of no length.
        const bool repeated = event->type() == QEvent::MouseButtonDblClick && pixel == lastPress_;
        if (b == PointerButton::Left)
            lastPress_ = pixel;
        if (!repeated) {
            machine_.press(b, boardPoint(pixel), keysOf(*e));
            settle(e->globalPosition().toPoint(), pixel);
        }
        if (event->type() == QEvent::MouseButtonDblClick && b == PointerButton::Left) {
            machine_.doubleClick(boardPoint(e->position().toPoint()));
            settle();
        }
        return true;
    }
    case QEvent::MouseMove: {
        auto* e = static_cast<QMouseEvent*>(event);
        // The board takes the keys as soon as the pointer moves over it, so
        // the arrows and F-keys act on it, not on a tool field used last.
        if (QWidget* box = view_.scrollBox(); !box->hasFocus() && box->isActiveWindow())
            box->setFocus(Qt::MouseFocusReason);
        // A release that went elsewhere (to a menu opened meanwhile) ends
        // the pan, or the edit tool's drag, at the first move without it.
        if (panning_ && !(e->buttons() & Qt::MiddleButton))
            panning_ = false;
        if (machine_.holdingDrag() && !(e->buttons() & Qt::LeftButton)) {
            machine_.abort();
            settle();
        }
        if (panning_) {
            const QPoint now = e->globalPosition().toPoint();
            view_.scrollByPixels(panFrom_.x() - now.x(), panFrom_.y() - now.y());
            panFrom_ = now;
            return true;
        }
        lastMove_ = e->position().toPoint();
        machine_.move(boardPoint(lastMove_), keysOf(*e));
        if (e->buttons() & Qt::LeftButton)
            view_.scrollAtEdge(e->position().toPoint());
        settle(e->globalPosition().toPoint(), e->position().toPoint());
        return false; // the view shows the pointer position
    }
    case QEvent::MouseButtonRelease: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (e->button() == Qt::LeftButton && clickedOutside_) {
            const QPoint global = e->globalPosition().toPoint();
            QMouseEvent release(QEvent::MouseButtonRelease, clickedOutside_->mapFromGlobal(global), global,
                                Qt::LeftButton, e->buttons(), e->modifiers());
            QApplication::sendEvent(std::exchange(clickedOutside_, nullptr), &release);
            return true;
        }
        if (e->button() == Qt::MiddleButton) {
            panning_ = false;
            return true;
        }
        if (e->button() != Qt::LeftButton)
            return false;
        machine_.release(PointerButton::Left, boardPoint(e->position().toPoint()), keysOf(*e));
        settle();
        if (pendingLabel_ >= 0) {
            // Asked once the double click's button is up and its release
            // delivered: a modal dialog opened while it was down kept the
            // mouse grabbed by the board, and the release it swallowed left
            // the press's move running into the next click. The double
            // click's second press came before it (as the double click
            // event), so the click after the dialog is the user's own.
            QTimer::singleShot(0, this, [this, label = std::exchange(pendingLabel_, -1)] {
                Q_EMIT labelPropertiesRequested(label);
            });
        }
        return true;
    }
    default:
        return false;
    }
}

void BoardPointer::settle(QPoint globalPosition, QPoint pixel)
{
    PointerEffects fx = machine_.takeEffects();
    if (fx.autorouteMoved)
        Q_EMIT autoroutePointerMoved(pixel);
    if (fx.autoroutePick != 0)
        Q_EMIT autoroutePressed(fx.autoroutePick);
    if (fx.changedAll)
        view_.redraw();
    view_.invalidateBoardRects(fx.changed);
    for (const Rect& r : fx.previews)
        view_.updateOverlay(r);
    if (fx.confine)
        confine(*fx.confine);
    if (fx.zoom == ZoomRequest::Out)
        view_.zoomToolOut();
    else if (fx.zoom == ZoomRequest::Release)
        view_.zoomToolRelease(fx.zoomAnchor, fx.zoomRelease);
    if (fx.selectionChanged)
        Q_EMIT selectionChanged();
    if (fx.objectsChanged || fx.changedAll)
        Q_EMIT objectsChanged();
    if (fx.switchTool)
        Q_EMIT toolSwitched(static_cast<int>(*fx.switchTool));
    if (fx.askTrackLabel)
        Q_EMIT trackLabelAsked();
    if (fx.menu == PointerMenu::Context) {
        Q_EMIT contextMenuRequested(globalPosition);
    } else if (fx.menu == PointerMenu::Corner) {
        const CornerMenuState state = machine_.cornerMenu();
        cornerMenu_->findChild<QAction*>("Knotenentfernen1")->setEnabled(state.remove);
        cornerMenu_->findChild<QAction*>("Trennen1")->setEnabled(state.split);
        cornerMenu_->popup(globalPosition);
    }
    const PointerCursor cursor = machine_.cursor();
    if (cursor != cursor_ || fx.switchTool) {
        cursor_ = cursor;
        view_.paintBox()->setCursor(pointerCursor(cursor, view_.paintBox()->devicePixelRatioF()));
    }
    if (const char* hint = machine_.hint(lang_)) {
        const QString text = QString::fromUtf8(hint);
        if (text != hint_) {
            hint_ = text;
            view_.paintBox()->setStatusTip(text.mid(1));
            Q_EMIT hintChanged(text.mid(1));
        }
    }
    // Dialogs last: their answers settle again on a settled pointer.
    if (fx.labelDialog)
        Q_EMIT labelDialogRequested(fx.nextLabelNumber.value_or(-1));
    if (fx.editLabel >= 0)
        pendingLabel_ = fx.editLabel; // asked for on the release
}

} // namespace kestrel
