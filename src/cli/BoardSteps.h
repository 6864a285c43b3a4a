#pragma once
// The steps of `kestrel-cli edit` that change the board rather than its
// objects: the ground plane, the grid, the board's size and name, and the
// boards of the document (add, delete, move, import), as the Options, grid
// and Board menus do.

#include "cli/EditSteps.h"

namespace kestrel::cli {

void groundPlane(EditContext& c, const StepArgs& a);

bool validGrid(const StepArgs& a);
void grid(EditContext& c, const StepArgs& a);
std::string allowedGrids(Language lang);

bool validBoardSize(const StepArgs& a);
void boardSize(EditContext& c, const StepArgs& a);
std::string allowedBoardSizes(Language lang);
void boardName(EditContext& c, const StepArgs& a);

void boardAdd(EditContext& c, const StepArgs& a);
void boardDelete(EditContext& c, const StepArgs& a);
void boardMove(EditContext& c, const StepArgs& a);
void boardImport(EditContext& c, const StepArgs& a);

} // namespace kestrel::cli
