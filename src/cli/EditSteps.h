#pragma once
// The steps of `kestrel-cli edit`: a table of rows, each a step name, the
// arguments it takes and the core call it makes. Tools that come later add
// rows here.

#include "edit/EditSession.h"
#include "edit/ToolParameters.h"
#include "model/LayoutDocument.h"
#include "view/ObjectIndex.h"

#include <optional>
#include <memory>
#include <string>
#include <vector>

namespace kestrel::cli {

// What the steps of one run share: the document, the editor's session and
// tool parameters, and the spatial index hit tests use.
struct EditContext {
    LayoutDocument& doc;
    EditSession session;
    ToolParameters tools;
    ObjectIndex index;

    ObjectList& objects() { return *doc.currentObjects(); }
    // The index of the objects as they are now.
    const ObjectIndex& freshIndex();
};

struct StepArgs {
    std::string word;            // the chosen word, when the row takes one
    std::vector<double> numbers; // in the order given
    std::shared_ptr<ObjectList> macro; // a file step's macro, read before the board
    std::string text;            // a label step's text
    std::optional<Point> extent; // a label step's measured box, found before the board
};

struct StepRow {
    const char* name;               // one or two words: "rotate", "select frame"
    std::vector<const char*> words; // the choices of a word argument; empty: none
    int numbers;                    // decimal arguments after the word; -n: at least n
    // Checks the values beyond their syntax; nullptr accepts any number.
    bool (*valid)(const StepArgs&);
    void (*apply)(EditContext&, const StepArgs&);
    bool fileWord = false; // the word is a macro file's name, not a choice
    // Reads the words after the name itself (numbers and options in its
    // own form); nullptr: the word and numbers above. False: malformed.
    bool (*readWords)(const std::vector<std::string>&, StepArgs&) = nullptr;
};

const std::vector<StepRow>& editSteps();

// A label step's values in its numbers: X, Y (mm), height, angle, layer (0:
// the active one).
enum LabelNumber : size_t { kLabelX, kLabelY, kLabelHeight, kLabelAngle, kLabelLayer };
// The font height of a label step's height (the dialog's millimetres).
int32_t LabelStepFontHeight(const StepArgs& args);

struct ParsedStep {
    const StepRow* row = nullptr;
    StepArgs args;
};

// Reads one step ("select frame 10 10 50 40"); on failure returns nullopt
// and sets error to the reason in the language.
std::optional<ParsedStep> parseStep(const std::string& text, Language lang, std::string& error);

} // namespace kestrel::cli
