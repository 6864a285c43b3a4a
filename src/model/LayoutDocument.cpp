#include "model/LayoutDocument.h"

#include "model/Units.h"

#include <charconv>
#include <cmath>

namespace kestrel {

LayoutDocument LayoutDocument::withFirstBoard(Language lang)
{
    LayoutDocument doc;
    doc.addBoard(newBoardName(lang, 1));
    return doc;
}

Board& LayoutDocument::addBoard(const std::string& name)
{
    auto b = std::make_unique<Board>();
    b->Name = cutToCharacters(name, kBoardNameMax);
    Board& added = appendBoard(std::move(b));
    const int last = static_cast<int>(boards_.size()) - 1;
    if (last != ActiveBoard)
        activate(last);
    return added;
}

Board& LayoutDocument::appendBoard(std::unique_ptr<Board> b)
{
    boards_.push_back(std::move(b));
    return *boards_.back();
}

std::string LayoutDocument::newBoardName(Language lang, size_t number)
{
    return std::string(tr(lang, "Плата ", "Board ")) + std::to_string(number);
}

Board& LayoutDocument::newBoard(Language lang)
{
    Modified = true;
    return addBoard(newBoardName(lang, boards_.size() + 1));
}

std::vector<std::unique_ptr<Board>> LayoutDocument::releaseBoards()
{
    storeWorkingState();
    ActiveBoard = -1;
    auto out = std::move(boards_);
    boards_.clear();
    return out;
}

void LayoutDocument::storeWorkingState()
{
    if (Board* b = activeBoard())
        b->Settings = Working;
}

void LayoutDocument::activate(int index)
{
    storeWorkingState();
    ActiveBoard = index;
    if (Board* b = activeBoard())
        Working = b->Settings;
}

std::optional<std::string> LayoutDocument::deleteActiveBoard(Language lang)
{
    if (boards_.size() < 2)
        return std::string(tr(lang, "Этот рисунок (чертёж) вы не можете удалить.",
                              "A project must at least contain one board."));
    if (ActiveBoard < 0)
        return std::nullopt;
    const auto removed = static_cast<size_t>(ActiveBoard);
    Modified = true;
    boards_.erase(boards_.begin() + static_cast<long>(removed));
    ActiveBoard = -1;
    // The tab strip keeps its position, or falls back to the new last tab.
    activate(static_cast<int>(std::min(removed, boards_.size() - 1)));
    return std::nullopt;
}

std::string LayoutDocument::deleteQuestion(Language lang, const std::string& name)
{
    if (lang == Language::English)
        return "Delete board \"" + name + "\" ?";
    return " Вы уверены, что чертёж \"" + name + "\" следует удалить ?";
}

void LayoutDocument::deleteAllBoards()
{
    boards_.clear();
    ActiveBoard = -1;
}

void LayoutDocument::moveActiveTo(size_t target)
{
    if (ActiveBoard < 0)
        return;
    const auto from = static_cast<size_t>(ActiveBoard);
    if (from != target)
        Modified = true;
    auto b = std::move(boards_[from]);
    boards_.erase(boards_.begin() + static_cast<long>(from));
    boards_.insert(boards_.begin() + static_cast<long>(target), std::move(b));
    ActiveBoard = static_cast<int>(target);
}

void LayoutDocument::moveActiveToEnd()
{
    if (!boards_.empty())
        moveActiveTo(boards_.size() - 1);
}

void LayoutDocument::moveActiveToFront()
{
    moveActiveTo(0);
}

namespace {

// Reads a decimal number as the dialog does; both '.' and ',' are accepted
// as the decimal separator, surrounding blanks are ignored.
std::optional<double> readDecimal(std::string text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.erase(text.begin());
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.pop_back();
    for (char& c : text)
        if (c == ',')
            c = '.';
    if (text.empty())
        return std::nullopt;
    double v = 0;
    const char* first = text.data();
    if (*first == '+')
        ++first;
    auto [ptr, ec] = std::from_chars(first, text.data() + text.size(), v);
    if (ec != std::errc() || ptr != text.data() + text.size() || !std::isfinite(v))
        return std::nullopt;
    return v;
}

} // namespace

BoardSizeCheck checkBoardSize(const std::optional<std::string>& widthText,
                              const std::optional<std::string>& heightText, Language lang)
{
    BoardSizeCheck result;
    const auto w = widthText ? readDecimal(*widthText) : std::optional<double>(0);
    const auto h = heightText ? readDecimal(*heightText) : std::optional<double>(0);
    const auto inRange = [](const std::optional<std::string>& text, std::optional<double> v) {
        return !text || (v && *v >= kMinBoardMm && *v <= kMaxBoardMm);
    };
    if (!inRange(widthText, w) || !inRange(heightText, h)) {
        result.message = tr(lang, "Введите значения от 10 до 300 мм.",
                            "Please enter values from 10 mm to 300 mm.");
        return result;
    }
    // The size is kept in whole millimetres; a fraction would be dropped
    // silently, so it is refused instead.
    if (*w != std::floor(*w) || *h != std::floor(*h)) {
        result.message = tr(lang, "Введите размер платы в целых миллиметрах (10..300 мм).",
                            "Please enter the board size in whole millimetres (10 to 300 mm).");
        return result;
    }
    result.widthUnits = unitsFromWholeMm(static_cast<int32_t>(*w));
    result.heightUnits = unitsFromWholeMm(static_cast<int32_t>(*h));
    return result;
}

} // namespace kestrel
