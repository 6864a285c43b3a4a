#pragma once
// The steps of `kestrel-cli edit` that write text on the board: labels of
// tracks in the stroke font and labels in the system font, new and edited.

#include "cli/EditSteps.h"

#include <optional>
#include <string>

namespace kestrel::cli {

// What keeps a step's text from being stored as given, in the language;
// nullopt when nothing does.
std::optional<std::string> textProblem(const StepRow& row, const std::string& text, Language lang);

bool validTrackLabel(const StepArgs& a);
void trackLabel(EditContext& c, const StepArgs& a);

bool validLabel(const StepArgs& a);
void label(EditContext& c, const StepArgs& a);
void relabel(EditContext& c, const StepArgs& a);

} // namespace kestrel::cli
