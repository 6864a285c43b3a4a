#include "cli/EditSteps.h"

#include "cli/Args.h"
#include "cli/BoardSteps.h"
#include "cli/DrawSteps.h"
#include "cli/LabelSteps.h"
#include "cli/RouteSteps.h"
#include "cli/SelectionSteps.h"
#include "edit/Clipboard.h"
#include "edit/Grouping.h"
#include "edit/Labels.h"
#include "edit/Transformations.h"
#include "edit/Undo.h"
#include "edit/TrackLabel.h"
#include "edit/Generators.h"
#include "model/Units.h"
#include "route/RouteTool.h"
#include "route/RubberBands.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <numeric>
#include <optional>
#include <sstream>

namespace kestrel::cli {

namespace {

// What a step's validator accepts, for the message that refuses a value.
std::string allowedValues(bool (*valid)(const StepArgs&), Language lang)
{
    const auto mm = [lang](double from, double to) {
        return tr(lang, "от ", "from ") + mmText(from) + tr(lang, " до ", " to ") + mmText(to) + tr(lang, " мм", " mm");
    };
    const std::string wholeAngles = tr(lang, "углы в целых градусах", "the angles in whole degrees");
    if (valid == validRouteSizes)
        return tr(lang, "ширина и зазор ", "width and gap ") + mm(RouteSettings::kMinMm, RouteSettings::kMaxMm);
    if (valid == validSetting)
        return tr(lang, "shape: целое от 1 до 9; outer ", "shape: a whole number from 1 to 9; outer ") + mm(0.1, 99.9) +
               tr(lang, ", width и inner ", ", width and inner ") + mm(0, 99.9) + ", clearance " + mm(0, 5);
    if (valid == validTrackLabel)
        return tr(lang, "--height ", "--height ") + mm(TrackLabelSettings::kMinHeightMm, TrackLabelSettings::kMaxHeightMm) +
               ", --stroke " + mm(0.01, 99.9);
    if (valid == validLabel)
        return "--height " + mm(1, 99.9);
    if (valid == validPolygon)
        return tr(lang, "--corners: целое от ", "--corners: a whole number from ") +
               std::to_string(PolygonSettings::kMinCorners) + tr(lang, " до ", " to ") +
               std::to_string(PolygonSettings::kMaxCorners) + ", --radius " +
               mm(PolygonSettings::kMinRadiusMm, PolygonSettings::kMaxRadiusMm) + ", --offset " +
               tr(lang, "от -180 до 180°", "from -180 to 180°") + ", --width " + mm(0, PolygonSettings::kMaxLineWidthMm);
    if (valid == validSegment)
        return wholeAngles;
    if (valid == validArc)
        return tr(lang, "--radius от 0.05 до 99.9 мм, --width от 0.01 мм и не более двух радиусов, ",
                  "--radius from 0.05 to 99.9 mm, --width from 0.01 mm up to twice the radius, ") +
               wholeAngles;
    if (valid == validRadius)
        return tr(lang, "радиус от 0.05 до 99.9 мм", "a radius from 0.05 to 99.9 mm");
    if (valid == validGrid)
        return allowedGrids(lang);
    if (valid == validBoardSize)
        return allowedBoardSizes(lang);
    return {};
}

std::vector<StepRow> buildTable()
{
    auto plain = [](const char* name, void (*apply)(EditContext&, const StepArgs&)) {
        return StepRow{name, {}, 0, nullptr, apply};
    };
    return {
        plain("select all", selectAll),
        plain("select none", selectNone),
        {"select frame", {}, 4, nullptr, selectFrame},
        {"select at", {}, 2, nullptr, selectAt},
        {"select add", {}, 2, nullptr, selectAdd},
        {"move", {}, 2, nullptr, move},
        {"nudge", {"left", "right", "up", "down"}, 0, nullptr, nudge},
        plain("rotate", rotate),
        {"mirror", {"horizontal", "vertical"}, 0, nullptr, mirror},
        plain("align", [](EditContext& c, const StepArgs&) { AlignToGrid(c.session, c.doc); }),
        plain("group", [](EditContext& c, const StepArgs&) { GroupSelection(c.doc); }),
        plain("ungroup", [](EditContext& c, const StepArgs&) { Ungroup(c.doc); }),
        plain("copy", [](EditContext& c, const StepArgs&) { CopySelection(c.session, c.doc); }),
        plain("cut", [](EditContext& c, const StepArgs&) { CutSelection(c.session, c.doc); }),
        plain("paste", [](EditContext& c, const StepArgs&) { Paste(c.session, c.doc); }),
        plain("duplicate", [](EditContext& c, const StepArgs&) { Duplicate(c.session, c.doc); }),
        plain("delete", [](EditContext& c, const StepArgs&) { DeleteSelection(c.session, c.doc); }),
        plain("undo", [](EditContext& c, const StepArgs&) { Undo(c.session, c.doc); }),
        plain("redo", [](EditContext& c, const StepArgs&) { Redo(c.session, c.doc); }),
        {"set", {"width", "outer", "inner", "shape", "clearance"}, 1, validSetting, setValue},
        {"layer", {"K1", "B1", "K2", "B2"}, 0, nullptr, activeLayer},
        {"band", {}, 4, nullptr, band},
        {"track", {}, -4, validPath, track},
        {"zone", {}, -6, validPath, zone},
        {"pad", {}, 2, nullptr, pad},
        {"circle", {}, 3, validRadius, circle},
        {"drag", {}, 4, nullptr, drag},
        {"macro", {}, 2, nullptr, dropMacro, true},
        {"via", {"on", "off"}, 0, nullptr, via, false, {}, false, true},
        {"track-label", {}, 2, validTrackLabel, trackLabel, false,
         {{"--height"}, {"--stroke"}, {"--angle", StepOption::Kind::Word, {"0", "90", "180", "270"}},
          {"--mirror", StepOption::Kind::Flag}, {"--fixed", StepOption::Kind::Flag},
          {"--layer", StepOption::Kind::Word, {"K1", "B1", "K2", "B2"}}},
         true},
        {"polygon", {}, 2, validPolygon, polygon, false,
         {{"--corners", StepOption::Kind::Number, {}, true}, {"--radius", StepOption::Kind::Number, {}, true},
          {"--offset"}, {"--width"}, {"--fill", StepOption::Kind::Flag}}},
        {"arc", {}, 2, validArc, arc, false,
         {{"--radius", StepOption::Kind::Number, {}, true}, {"--width", StepOption::Kind::Number, {}, true},
          {"--from", StepOption::Kind::Number, {}, true}, {"--to", StepOption::Kind::Number, {}, true},
          {"--fill", StepOption::Kind::Flag}}},
        {"segment", {}, 2, validSegment, segment, false, {{"--fill", StepOption::Kind::Flag}}},
        {"corner", {"add", "remove", "grid", "split"}, 2, nullptr, corner},
        {"label", {}, 2, validLabel, label, false,
         {{"--height"}, {"--angle", StepOption::Kind::Word, {"0", "90", "180", "270"}},
          {"--layer", StepOption::Kind::Word, {"K1", "B1", "K2", "B2"}}},
         true},
        {"relabel", {}, 2, validLabel, relabel, false,
         {{"--height"}, {"--angle", StepOption::Kind::Word, {"0", "90", "180", "270"}}}, true},
        {"test", {}, 2, nullptr, testAt},
        plain("clear bands", [](EditContext& c, const StepArgs&) { ClearConnections(c.session, c.doc); }),
        {"route", {}, 2, validRouteSizes, route},
        plain("unroute", unroute),
        {"ground-plane", {"on", "off"}, 0, nullptr, groundPlane},
        {"grid", {}, 1, validGrid, grid},
        {"board-size", {}, 2, validBoardSize, boardSize},
        {"board-name", {}, 0, nullptr, boardName, false, {}, true},
        plain("board add", boardAdd),
        plain("board delete", boardDelete),
        {"board move", {"left", "right"}, 0, nullptr, boardMove},
        {"board import", {}, 0, nullptr, boardImport, true},
    };
}

std::vector<std::string> wordsOf(const std::string& text)
{
    std::istringstream in(text);
    std::vector<std::string> out;
    for (std::string w; in >> w;)
        out.push_back(w);
    return out;
}

// The text between the first `skip` and the last `drop` blank-separated
// words, blanks inside kept as typed: a file name with spaces in it.
std::string middleOf(const std::string& text, size_t skip, size_t drop)
{
    const auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    size_t begin = 0;
    for (size_t w = 0; w <= skip; ++w) {
        while (begin < text.size() && blank(text[begin]))
            ++begin;
        if (w < skip)
            while (begin < text.size() && !blank(text[begin]))
                ++begin;
    }
    size_t end = text.size();
    for (size_t w = 0; w <= drop; ++w) {
        while (end > begin && blank(text[end - 1]))
            --end;
        if (w < drop)
            while (end > begin && !blank(text[end - 1]))
                --end;
    }
    return text.substr(begin, end - begin);
}

std::optional<double> decimal(const std::string& s)
{
    double v = 0;
    const char* first = s.data() + (!s.empty() && s[0] == '+' ? 1 : 0);
    if (first != s.data() && first < s.data() + s.size() && (*first == '-' || *first == '+'))
        return std::nullopt; // "+-5" is no number
    const auto [ptr, ec] = std::from_chars(first, s.data() + s.size(), v);
    if (ec != std::errc() || ptr != s.data() + s.size() || first == ptr || !std::isfinite(v))
        return std::nullopt;
    return v;
}

} // namespace

Point boardPoint(double xMm, double yMm)
{
    return {unitsFromMm(xMm), -unitsFromMm(yMm)};
}

uint8_t layerOf(const std::string& word)
{
    return word == "K1" ? Layer::K1 : word == "B1" ? Layer::B1 : word == "K2" ? Layer::K2 : Layer::B2;
}

void note(const std::string& text) { std::fprintf(stderr, "kestrel-cli: %s\n", text.c_str()); }

bool isImportStep(const ParsedStep& step)
{
    return step.row && std::string(step.row->name) == "board import";
}

bool isLabelStep(const ParsedStep& step)
{
    return step.row && std::string(step.row->name) == "label";
}

int32_t LabelStepFontHeight(const StepArgs& args)
{
    return LabelFontHeight(static_cast<int32_t>(std::lround(args.number("--height", 3.0) * 100)));
}

int32_t LabelStepAngle(const StepArgs& args)
{
    return static_cast<int32_t>(args.number("--angle", 0.0));
}

const ObjectIndex& EditContext::freshIndex()
{
    index.build(objects());
    return index;
}

const std::vector<StepRow>& editSteps()
{
    static const std::vector<StepRow> table = buildTable();
    return table;
}

double StepArgs::number(const std::string& option, double fallback) const
{
    const auto it = options.find(option);
    if (it == options.end())
        return fallback;
    return decimal(it->second).value_or(fallback);
}

namespace {

// Takes the row's options out of the words after the step's name; false
// with the error set when one is unknown, given twice, lacks its value or
// has a wrong one. kept receives the place each remaining word had among
// all of them.
bool takeOptions(const StepRow& row, std::vector<std::string>& words, size_t from, StepArgs& args,
                 std::vector<size_t>& kept, const std::string& quoted, Language lang, std::string& error)
{
    const std::string prefix = tr(lang, "шаг ", "step ") + quoted + ": ";
    std::vector<std::string> rest(words.begin(), words.begin() + static_cast<long>(from));
    kept.resize(from);
    std::iota(kept.begin(), kept.end(), size_t{0});
    for (size_t i = from; i < words.size(); ++i) {
        const std::string& w = words[i];
        if (w.size() < 3 || w.compare(0, 2, "--") != 0) {
            rest.push_back(w);
            kept.push_back(i);
            continue;
        }
        const StepOption* option = nullptr;
        for (const StepOption& o : row.options)
            if (w == o.name)
                option = &o;
        if (!option) {
            error = prefix + tr(lang, "неизвестный параметр ", "unknown option ") + w;
            return false;
        }
        if (args.has(w)) {
            error = prefix + tr(lang, "параметр задан дважды: ", "option given twice: ") + w;
            return false;
        }
        if (option->kind == StepOption::Kind::Flag) {
            args.options[w] = "";
            continue;
        }
        if (i + 1 >= words.size()) {
            error = prefix + w + tr(lang, ": нет значения", ": expects a value");
            return false;
        }
        const std::string& value = words[++i];
        if (option->kind == StepOption::Kind::Number && !decimal(value)) {
            error = prefix + tr(lang, "не число: ", "not a number: ") + value;
            return false;
        }
        if (option->kind == StepOption::Kind::Word &&
            std::none_of(option->words.begin(), option->words.end(), [&](const char* c) { return value == c; })) {
            std::string choices;
            for (const char* c : option->words)
                choices.append(choices.empty() ? "" : "|").append(c);
            error = prefix + w + tr(lang, ": ожидается ", ": expects ") + choices;
            return false;
        }
        args.options[w] = value;
    }
    for (const StepOption& o : row.options)
        if (o.required && !args.has(o.name)) {
            error = prefix + tr(lang, "нужен параметр ", "requires ") + o.name;
            return false;
        }
    words = std::move(rest);
    return true;
}

} // namespace

std::optional<ParsedStep> parseStep(const std::string& text, Language lang, std::string& error)
{
    std::vector<std::string> words = wordsOf(text);
    const std::string quoted = "'" + text + "'";
    // The longest row name that begins the step wins ("select all" before "select").
    const StepRow* row = nullptr;
    size_t nameWords = 0;
    for (const StepRow& r : editSteps()) {
        const std::vector<std::string> name = wordsOf(r.name);
        if (name.size() > nameWords && name.size() <= words.size() &&
            std::equal(name.begin(), name.end(), words.begin())) {
            row = &r;
            nameWords = name.size();
        }
    }
    if (!row) {
        error = tr(lang, "неизвестный шаг ", "unknown step ") + quoted;
        return std::nullopt;
    }
    ParsedStep step{row, {}};
    std::vector<size_t> kept(words.size());
    std::iota(kept.begin(), kept.end(), size_t{0});
    if (!row->options.empty() && !takeOptions(*row, words, nameWords, step.args, kept, quoted, lang, error))
        return std::nullopt;
    const bool hasWord = (!row->words.empty() || row->fileWord) && !(row->wordOptional && words.size() == nameWords);
    const size_t fixed = nameWords + (hasWord ? 1 : 0);
    const size_t expected = fixed + static_cast<size_t>(std::abs(row->numbers));
    // A negative count asks for at least that many numbers; a text or a file
    // name at least one word.
    const bool countFits = row->text                           ? words.size() > expected
                           : row->numbers < 0 || row->fileWord ? words.size() >= expected
                                                               : words.size() == expected;
    if (!countFits) {
        const bool atLeast = row->text || row->numbers < 0 || row->fileWord;
        error = tr(lang, "шаг ", "step ") + quoted +
                (atLeast ? tr(lang, ": ожидается аргументов не менее: ", ": expects at least this many arguments: ")
                         : tr(lang, ": ожидается аргументов: ", ": expects arguments: ")) +
                std::to_string(expected - nameWords + (row->text ? 1 : 0));
        return std::nullopt;
    }
    size_t next = nameWords;
    if (row->fileWord) {
        // The name takes every word but the numbers after it.
        const size_t nameEnd = words.size() - static_cast<size_t>(row->numbers);
        step.args.word = middleOf(text, next, static_cast<size_t>(row->numbers));
        words.erase(words.begin() + static_cast<long>(next) + 1, words.begin() + static_cast<long>(nameEnd));
        ++next;
    } else if (hasWord) {
        const std::string& w = words[next++];
        bool known = false;
        for (const char* choice : row->words)
            known |= w == choice;
        if (!known) {
            std::string choices;
            for (const char* choice : row->words) {
                if (!choices.empty())
                    choices += '|';
                choices += choice;
            }
            error = tr(lang, "шаг ", "step ") + quoted + tr(lang, ": ожидается ", ": expects ") + choices;
            return std::nullopt;
        }
        step.args.word = w;
    }
    const size_t numbersEnd = row->text ? expected : words.size();
    for (; next < numbersEnd; ++next) {
        const auto v = decimal(words[next]);
        if (!v) {
            error = tr(lang, "шаг ", "step ") + quoted + tr(lang, ": не число: ", ": not a number: ") + words[next];
            return std::nullopt;
        }
        // Coordinates and sizes beyond what a layout file holds (10 m).
        if (std::abs(*v) > mmFromUnits(ranges::kMaxCoordinate)) {
            error = tr(lang, "шаг ", "step ") + quoted + tr(lang, ": значение вне допустимого диапазона: ",
                                                              ": value out of range: ") + words[next];
            return std::nullopt;
        }
        step.args.numbers.push_back(*v);
    }
    if (row->text) {
        // The text as typed, blanks inside kept, unless options stand in it.
        const size_t first = kept[next], last = kept[words.size() - 1];
        if (last - first != words.size() - 1 - next) {
            error = tr(lang, "шаг ", "step ") + quoted +
                    tr(lang, ": параметры стоят внутри текста; их место до или после него",
                       ": options stand inside the text; they go before or after it");
            return std::nullopt;
        }
        step.args.text = middleOf(text, first, wordsOf(text).size() - 1 - last);
    }
    if (const auto problem = row->text ? textProblem(*row, step.args.text, lang) : std::nullopt) {
        error = tr(lang, "шаг ", "step ") + quoted + ": " + *problem;
        return std::nullopt;
    }
    if (row->valid && !row->valid(step.args)) {
        error = tr(lang, "шаг ", "step ") + quoted +
                (row->valid == validPath
                     ? tr(lang, ": координаты задаются парами X Y", ": the coordinates come in X Y pairs")
                     : tr(lang, ": недопустимое значение; допустимо: ", ": value not allowed; allowed: ") +
                           allowedValues(row->valid, lang));
        return std::nullopt;
    }
    return step;
}

} // namespace kestrel::cli
