#include "cli/BoardSteps.h"

#include "cli/Args.h"
#include "edit/ParameterLists.h"
#include "edit/Undo.h"
#include "model/BoardProperties.h"
#include "model/LayerSwitches.h"
#include "model/Units.h"
#include "view/GridChoice.h"
#include "view/Viewport.h"

#include <cmath>
#include <cstdio>

namespace kestrel::cli {

namespace {

// The grid in units a typed value chooses: a predefined grid of the grid
// menu by its value, else what the grid dialog takes (whole hundredths of a
// millimetre within its range).
std::optional<double> gridOf(double mm)
{
    for (const GridPreset& preset : gridPresets())
        if (std::abs(mmFromUnits(gridFromTag(preset.tag)) - mm) < 1e-9)
            return gridFromTag(preset.tag);
    const double hundredths = mm * kUnitsPerMm;
    if (std::abs(hundredths - std::round(hundredths)) > 1e-6)
        return std::nullopt;
    const auto tag = static_cast<int32_t>(std::lround(hundredths));
    if (!kGridTags.holds(tag))
        return std::nullopt;
    return gridFromTag(tag);
}

// A step's number as the dialog's field would hold it, for the dialog's check.
std::string fieldText(double mm)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.17g", mm);
    return buf;
}

BoardSizeCheck sizeOf(const StepArgs& a, Language lang)
{
    return checkBoardSize(fieldText(a.numbers[0]), fieldText(a.numbers[1]), lang);
}

// After the editor shows another board or other boards: the view takes the
// board's grid and zoom as it does on switching, and the history starts over.
void boardsChanged(EditContext& c)
{
    sanitizeViewSettings(c.doc.Working);
    ResetUndoHistory(c.session, c.doc);
}

} // namespace

void groundPlane(EditContext& c, const StepArgs& a)
{
    SetGroundPlane(c.doc, a.word == "on");
}

bool validGrid(const StepArgs& a)
{
    return gridOf(a.numbers[0]).has_value();
}

// The grid menu's entries and its dialog choose the grid through the view.
void grid(EditContext& c, const StepArgs& a)
{
    Viewport(c.doc.Working).setGrid(*gridOf(a.numbers[0]));
}

std::string allowedGrids(Language lang)
{
    std::string presets;
    for (const GridPreset& preset : gridPresets())
        presets += (presets.empty() ? "" : ", ") + mmText(mmFromUnits(gridFromTag(preset.tag)));
    return tr(lang, "от ", "from ") + mmText(mmFromUnits(kGridTags.least)) + tr(lang, " до ", " to ") +
           mmText(mmFromUnits(kGridTags.most)) +
           tr(lang, " мм в сотых долях миллиметра или сетка из меню: ", " mm in hundredths of a millimetre or a grid "
                                                                         "of the menu: ") +
           presets + tr(lang, " мм", " mm");
}

bool validBoardSize(const StepArgs& a)
{
    return !sizeOf(a, Language::English).message;
}

// The dialog asks before a smaller board leaves objects off it; a script
// has asked for the size, and hears how many the save will delete.
void boardSize(EditContext& c, const StepArgs& a)
{
    const BoardSizeCheck size = sizeOf(a, c.lang);
    if (const size_t off = ObjectsLeftOffBySize(c.doc, size.widthUnits, size.heightUnits))
        note(tr(c.lang, "шаг board-size: объектов целиком за краем новой платы: ",
                "step board-size: objects lying wholly outside the new board: ") +
             std::to_string(off) +
             tr(c.lang, "; их удалит сохранение, при котором эта плата активна",
                "; a save with this board active deletes them"));
    SetBoardProperties(c.doc, size.widthUnits, size.heightUnits, c.doc.activeBoard()->Name);
}

std::string allowedBoardSizes(Language lang)
{
    return tr(lang, "ширина и высота в целых миллиметрах от ", "width and height in whole millimetres from ") +
           std::to_string(kMinBoardMm) + tr(lang, " до ", " to ") + std::to_string(kMaxBoardMm);
}

void boardName(EditContext& c, const StepArgs& a)
{
    SetBoardProperties(c.doc, c.doc.Working.BoardWidth, c.doc.Working.BoardHeight, a.text);
}

// The new board becomes the active one, with the default size; the size
// dialog that follows in the editor is the board-size step here.
void boardAdd(EditContext& c, const StepArgs&)
{
    c.session.objectsWillChange();
    c.doc.newBoard(c.lang);
    boardsChanged(c);
}

// The neighbour that takes the deleted board's tab becomes active; the last
// board of a document is kept, as the editor keeps it.
void boardDelete(EditContext& c, const StepArgs&)
{
    c.session.objectsWillChange();
    const Board* deleted = c.doc.activeBoard();
    if (const auto refusal = c.doc.deleteActiveBoard(c.lang)) {
        note(tr(c.lang, "шаг board delete: ", "step board delete: ") + *refusal);
        return;
    }
    // A board added later may take its place in memory: it is not the same.
    if (deleted == c.fileActive)
        c.fileActive = nullptr;
    boardsChanged(c);
}

// Right moves the board to the end of the tabs, left to their front; it
// stays active, and so does its history.
void boardMove(EditContext& c, const StepArgs& a)
{
    if (a.word == "right")
        c.doc.moveActiveToEnd();
    else
        c.doc.moveActiveToFront();
}

void boardImport(EditContext& c, const StepArgs& a)
{
    c.session.objectsWillChange();
    appendImportedBoards(c.doc, std::move(*a.boards), c.lang);
    boardsChanged(c);
}

} // namespace kestrel::cli
