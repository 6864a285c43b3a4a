#include "cli/Args.h"

#include "cli/Command.h"
#include "model/LayoutFile.h"
#include "view/Viewport.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>

namespace kestrel::cli {

namespace {

// The language the last --lang names, read as parsing will read the line
// (the values of value options skipped) but to its end, past anything the
// parser stops at, so that an error before --lang is worded in it too.
Language requestedLanguage(const std::vector<std::string>& raw, const std::set<std::string>& valueOptions,
                           Language fallback)
{
    std::optional<std::string> named;
    for (size_t i = 0; i < raw.size(); ++i) {
        const std::string& a = raw[i];
        if (a == "--")
            break;
        if (a.size() <= 2 || a.compare(0, 2, "--") != 0)
            continue;
        const size_t eq = a.find('=');
        const std::string name = a.substr(2, eq == std::string::npos ? std::string::npos : eq - 2);
        if (!valueOptions.count(name))
            continue;
        std::optional<std::string> value;
        if (eq != std::string::npos)
            value = a.substr(eq + 1);
        else if (i + 1 < raw.size())
            value = raw[++i];
        // A --lang naming no language is refused in the language named before it.
        if (name == "lang" && value && languageNamed(*value))
            named = value;
    }
    return named ? languageNamed(*named).value_or(fallback) : fallback;
}

} // namespace

std::optional<Language> languageNamed(const std::string& value)
{
    std::string lower = value;
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower == "en" || lower == "1")
        return Language::English;
    if (lower == "ru" || lower == "0")
        return Language::Russian;
    return std::nullopt;
}

std::string languageRefusal(const std::string& value, Language lang)
{
    return tr(lang, "--lang: ru или en (или байт языка 0 или 1), не '",
              "--lang expects ru or en (or the language byte 0 or 1), not '") +
           value + "'";
}

LeadingLang moveLeadingLang(std::vector<std::string>& line)
{
    LeadingLang leading;
    std::vector<std::string>& taken = leading.options;
    while (!line.empty() && (line[0] == "--lang" || line[0].starts_with("--lang="))) {
        const auto count = static_cast<std::ptrdiff_t>(line[0] == "--lang" && line.size() > 1 ? 2 : 1);
        taken.insert(taken.end(), line.begin(), line.begin() + count);
        line.erase(line.begin(), line.begin() + count);
    }
    const Language lang = Args(taken, {"lang"}, {}).language();
    for (size_t i = 0; i < taken.size() && leading.refusal.empty(); ++i) {
        if (taken[i] == "--lang" && i + 1 == taken.size()) {
            leading.refusal = tr(lang, "--lang: нет значения", "option --lang needs a value");
            break;
        }
        const std::string value = taken[i] == "--lang" ? taken[++i] : taken[i].substr(7);
        if (!languageNamed(value))
            leading.refusal = languageRefusal(value, lang);
    }
    if (!line.empty())
        line.insert(line.begin() + 1, taken.begin(), taken.end());
    return leading;
}

Args::Args(const std::vector<std::string>& raw, const std::set<std::string>& valueOptions,
           const std::set<std::string>& flagOptions, Language fallback)
    : lang_(valueOptions.count("lang") ? requestedLanguage(raw, valueOptions, fallback) : Language::English)
{
    for (size_t i = 0; i < raw.size(); ++i) {
        const std::string& a = raw[i];
        if (a == "--") {
            // The end of the options: a file may be named "--board".
            positional_.insert(positional_.end(), raw.begin() + static_cast<std::ptrdiff_t>(i) + 1, raw.end());
            return;
        }
        if (a.size() > 2 && a.compare(0, 2, "--") == 0) {
            std::string name = a.substr(2);
            std::optional<std::string> inlineValue;
            if (auto eq = name.find('='); eq != std::string::npos) {
                inlineValue = name.substr(eq + 1);
                name = name.substr(0, eq);
            }
            if (valueOptions.count(name)) {
                if (inlineValue) {
                    values_[name] = *inlineValue;
                } else if (i + 1 < raw.size()) {
                    values_[name] = raw[++i];
                } else {
                    error_ = lang_ == Language::English ? "option --" + name + " needs a value"
                                                        : "--" + name + ": нет значения";
                    return;
                }
            } else if (flagOptions.count(name) && !inlineValue) {
                flags_.insert(name);
            } else {
                error_ = tr(lang_, "неизвестный параметр ", "unknown option ") + a;
                return;
            }
        } else {
            positional_.push_back(a);
        }
    }
}

std::optional<std::string> Args::value(const std::string& name) const
{
    auto it = values_.find(name);
    if (it == values_.end())
        return std::nullopt;
    return it->second;
}

std::optional<long> Args::integer(const std::string& name)
{
    const auto v = value(name);
    if (!v)
        return std::nullopt;
    long out = 0;
    auto [ptr, ec] = std::from_chars(v->data(), v->data() + v->size(), out);
    if (ec != std::errc() || ptr != v->data() + v->size() || v->empty()) {
        reject("--" + name + tr(lang_, ": ожидается целое число, не '", " expects a whole number, not '") + *v + "'");
        return std::nullopt;
    }
    return out;
}

std::optional<double> Args::number(const std::string& name)
{
    const auto v = value(name);
    if (!v)
        return std::nullopt;
    double out = 0;
    auto [ptr, ec] = std::from_chars(v->data(), v->data() + v->size(), out);
    // nan would pass every range check below: no comparison holds for it.
    if (ec != std::errc() || ptr != v->data() + v->size() || v->empty() || !std::isfinite(out)) {
        reject("--" + name + tr(lang_, ": ожидается число, не '", " expects a number, not '") + *v + "'");
        return std::nullopt;
    }
    return out;
}

std::optional<long> Args::index(const std::string& name)
{
    const auto v = integer(name);
    if (v && *v < 0) {
        reject("--" + name +
               tr(lang_, ": ожидается целое число от 0, не '", " expects a whole number from 0 up, not '") +
               std::to_string(*v) + "'");
        return std::nullopt;
    }
    return v;
}

void Args::reject(const std::string& message)
{
    if (ok())
        error_ = message;
}

bool Args::expectPositional(size_t count)
{
    if (ok() && positional_.size() != count) {
        error_ = lang_ == Language::English
                     ? "expected " + std::to_string(count) + " file argument" + (count == 1 ? "" : "s") + ", got " +
                           std::to_string(positional_.size())
                     : "ожидается файлов: " + std::to_string(count) + ", указано: " +
                           std::to_string(positional_.size());
        // An option given without its value takes the next file for it.
        std::error_code ignored;
        for (const auto& [name, value] : values_)
            if (positional_.size() < count && std::filesystem::is_regular_file(value, ignored)) {
                error_ += tr(lang_, "; значением --", "; --") + name +
                          tr(lang_, " стал файл '", " took the file '") + value +
                          tr(lang_, "'", "' for its value");
                break;
            }
    }
    if (ok() && std::any_of(positional_.begin(), positional_.end(), [](const std::string& f) { return f.empty(); }))
        error_ = tr(lang_, "пустое имя файла", "an empty file name");
    return ok();
}

std::optional<LayoutDocument> loadDocument(const std::string& path, int* version, Language lang)
{
    auto read = readDocument(path, lang);
    if (!read) {
        fail(kExitFailure, read.message());
        return std::nullopt;
    }
    if (version)
        *version = read->version;
    return std::move(read->document);
}

Board* chooseBoard(LayoutDocument& doc, std::optional<long> index, Language lang)
{
    if (!index)
        return doc.activeBoard();
    if (*index < 0 || static_cast<size_t>(*index) >= doc.boardCount()) {
        fail(kExitFailure, tr(lang, "в документе нет платы ", "the document has no board ") + std::to_string(*index) +
                               tr(lang, " (плат в нём: ", " (it holds ") + std::to_string(doc.boardCount()) + ")");
        return nullptr;
    }
    return &doc.board(static_cast<size_t>(*index));
}

void activateBoard(LayoutDocument& doc, const Board* board)
{
    for (size_t i = 0; i < doc.boardCount(); ++i)
        if (&doc.board(i) == board && static_cast<int>(i) != doc.ActiveBoard)
            doc.activate(static_cast<int>(i));
    sanitizeViewSettings(doc.Working);
}

bool saveDocument(LayoutDocument& doc, const std::string& path, Language lang)
{
    // Writing cleans the active board, which need not be the one a command
    // worked on: the count is taken there.
    const Board* active = doc.activeBoard();
    const size_t before = active ? active->Objects.size() : 0;
    const Status written = writeDocument(doc, path, false, lang);
    if (!written) {
        fail(kExitFailure, written.message());
        return false;
    }
    if (const size_t removed = active ? before - active->Objects.size() : 0)
        std::fprintf(stderr, "%s%zu\n",
                     tr(lang, "kestrel-cli: при записи удалено объектов вне платы (как при сохранении): ",
                        "kestrel-cli: objects off the board removed on writing (as Save does): "),
                     removed);
    return true;
}

std::string jsonString(const std::string& s)
{
    std::string out = "\"";
    for (char c : s) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", u);
            out += buf;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string mmText(double mm)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", mm);
    return buf;
}

} // namespace kestrel::cli
