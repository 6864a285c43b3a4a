#pragma once
// Option parsing and document loading shared by the subcommands.

#include "model/Language.h"
#include "model/LayoutDocument.h"

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace kestrel::cli {

// The language a --lang value names: ru or en in either case, or the
// language byte 0 or 1.
std::optional<Language> languageNamed(const std::string& value);
// The usage error for a --lang value that names no language.
std::string languageRefusal(const std::string& value, Language lang);

// A --lang before the subcommand counts as one after it: the leading ones
// are moved behind the subcommand's name (the first other argument) and
// returned, or a usage error when they name no language ("--lang info"
// takes "info" for one).
struct LeadingLang {
    std::vector<std::string> options;
    std::string refusal;
};
LeadingLang moveLeadingLang(std::vector<std::string>& line);

class Args {
public:
    // valueOptions take the next argument ("--board 2" or "--board=2");
    // flagOptions stand alone. When "lang" is a value option the usage
    // errors are worded in the language it names (ru or 0, en or 1; the last
    // --lang counts), in `fallback` when it is absent or names neither;
    // commands without --lang word them in English.
    Args(const std::vector<std::string>& raw, const std::set<std::string>& valueOptions,
         const std::set<std::string>& flagOptions, Language fallback = Language::Russian);

    bool ok() const { return error_.empty(); }
    const std::string& error() const { return error_; }
    // The language of the messages, as the constructor chose it.
    Language language() const { return lang_; }

    std::optional<std::string> value(const std::string& name) const;
    bool flag(const std::string& name) const { return flags_.count(name) > 0; }
    const std::vector<std::string>& positional() const { return positional_; }

    // Parses an option as an integer / a decimal number; sets the error on
    // a malformed value.
    std::optional<long> integer(const std::string& name);
    std::optional<double> number(const std::string& name);
    // A 0-based position in a list (--board, --object): a whole number from 0 up.
    std::optional<long> index(const std::string& name);

    // The usage error when the positional argument count differs.
    bool expectPositional(size_t count);

    // Records a usage error found by the caller; the first one is kept.
    void reject(const std::string& message);

private:
    std::map<std::string, std::string> values_;
    std::set<std::string> flags_;
    std::vector<std::string> positional_;
    std::string error_;
    Language lang_ = Language::English;
};

// Reads a layout file; on failure prints the reason and returns nullopt.
// `version` receives the file's version byte.
std::optional<LayoutDocument> loadDocument(const std::string& path, int* version = nullptr,
                                           Language lang = Language::English);

// The board chosen by --board (0-based), else the active board. Prints the
// reason and returns nullptr when the index does not exist.
Board* chooseBoard(LayoutDocument& doc, std::optional<long> index, Language lang = Language::English);

// Makes the chosen board the active one, storing the working state, so the
// core operations that act on the active board see it. A damaged grid or
// zoom is replaced as the editor replaces it on opening: a nudge or paste
// by a step of NaN would throw the selection anywhere.
void activateBoard(LayoutDocument& doc, const Board* board);

// Writes a document as the editor's Save does; prints the reason on failure.
bool saveDocument(LayoutDocument& doc, const std::string& path, Language lang = Language::English);

std::string jsonString(const std::string& s);

// Millimetres as the help texts and messages write them: "9.9", "0.4", "0".
std::string mmText(double mm);

} // namespace kestrel::cli
