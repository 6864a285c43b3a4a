#pragma once
// The steps of `kestrel-cli edit`: a table of rows, each a step name, the
// arguments it takes and the core call it makes. Tools that come later add
// rows here.

#include "edit/EditSession.h"
#include "edit/ToolParameters.h"
#include "model/LayoutDocument.h"
#include "model/LayoutFile.h"
#include "view/ObjectIndex.h"

#include <map>
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
    // The language of the notes a step that finds nothing to do prints.
    Language lang = Language::Russian;
    // The board active in the file read, which the file written keeps
    // active; null once a step has deleted it.
    const Board* fileActive = nullptr;

    ObjectList& objects() { return *doc.currentObjects(); }
    // The index of the objects as they are now.
    const ObjectIndex& freshIndex();
};

struct StepArgs {
    std::string word;            // the chosen word, when the row takes one
    std::vector<double> numbers; // in the order given
    std::shared_ptr<ObjectList> macro; // a file step's macro, read before the board
    std::shared_ptr<LoadedDocument> boards; // an import step's boards, read before the board
    std::string text;            // a text step's words after the numbers, one blank apart
    // Options given ("--height" -> "3.5"; a flag maps to ""), checked by the parser.
    std::map<std::string, std::string> options;
    std::optional<Point> extent; // a label step's box, measured before the board is read

    bool has(const std::string& option) const { return options.count(option) > 0; }
    // An option's number (the parser has checked it), or the fallback.
    double number(const std::string& option, double fallback) const;
};

// "--name VALUE" or a flag "--name" after the positional arguments.
struct StepOption {
    const char* name;
    enum class Kind : uint8_t { Number, Word, Flag } kind = Kind::Number;
    std::vector<const char*> words = {}; // the choices of a word
    bool required = false;
};

struct StepRow {
    const char* name;               // one or two words: "rotate", "select frame"
    std::vector<const char*> words; // the choices of a word argument; empty: none
    int numbers;                    // decimal arguments after the word; -n: at least n
    // Checks the values beyond their syntax; nullptr accepts any number.
    bool (*valid)(const StepArgs&);
    void (*apply)(EditContext&, const StepArgs&);
    bool fileWord = false; // the word is a macro file's name, not a choice
    std::vector<StepOption> options = {};
    bool text = false;         // words after the numbers form a text (at least one)
    bool wordOptional = false; // the word may be left out
};

const std::vector<StepRow>& editSteps();


struct ParsedStep {
    const StepRow* row = nullptr;
    StepArgs args;
};

// A step that found nothing to do says so on stderr; the steps after it run.
void note(const std::string& text);

// Step coordinates are millimetres with y downwards from the board's top
// left corner, as the rulers show them.
Point boardPoint(double xMm, double yMm);
// A layer's name in a step ("K1", "B1", "K2", "B2").
uint8_t layerOf(const std::string& word);

// The step that imports the boards of a file, which are read with the steps.
bool isImportStep(const ParsedStep& step);

// A label step in the system font: its box is measured in the label font
// (by kestrel-cli-render) before the steps run.
bool isLabelStep(const ParsedStep& step);
int32_t LabelStepFontHeight(const StepArgs& args);
int32_t LabelStepAngle(const StepArgs& args);

// Reads one step ("select frame 10 10 50 40"); on failure returns nullopt
// and sets error to the reason in the language.
std::optional<ParsedStep> parseStep(const std::string& text, Language lang, std::string& error);

} // namespace kestrel::cli
