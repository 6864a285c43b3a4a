#pragma once
// The document: an ordered list of boards (the tab order), the active board,
// the origin of the coordinate display and the file name.

#include "model/Board.h"
#include "model/Language.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kestrel {

class LayoutDocument {
public:
    LayoutDocument() = default;
    LayoutDocument(const LayoutDocument&) = delete;
    LayoutDocument& operator=(const LayoutDocument&) = delete;
    LayoutDocument(LayoutDocument&&) = default;
    LayoutDocument& operator=(LayoutDocument&&) = default;

    // A document as after start-up or New: one board "Плата 1" / "Board 1".
    static LayoutDocument withFirstBoard(Language lang);

    size_t boardCount() const { return boards_.size(); }
    Board& board(size_t i) { return *boards_[i]; }
    const Board& board(size_t i) const { return *boards_[i]; }

    int ActiveBoard = -1;
    Point Origin;
    std::string FileName;
    bool Saved = false;
    // Changed since it was read or last saved (an autosave does not count).
    // Editing commands, board operations and property changes set it; a
    // fresh, read or saved document has it clear.
    bool Modified = false;
    // The active board's settings while it is active (its record holds the
    // values of the last switch away from it).
    BoardSettings Working;

    Board* activeBoard() { return ActiveBoard >= 0 ? boards_[static_cast<size_t>(ActiveBoard)].get() : nullptr; }
    const Board* activeBoard() const
    {
        return ActiveBoard >= 0 ? boards_[static_cast<size_t>(ActiveBoard)].get() : nullptr;
    }
    ObjectList* currentObjects() { return activeBoard() ? &activeBoard()->Objects : nullptr; }

    // Appends a board with default settings and makes it active.
    Board& addBoard(const std::string& name);
    // Appends an already filled board without activating it (reading files).
    Board& appendBoard(std::unique_ptr<Board> b);
    // Adds "Плата n" / "Board n", n = number of boards before adding plus one.
    Board& newBoard(Language lang);
    static std::string newBoardName(Language lang, size_t number);

    // Hands over every board; the document is left without boards.
    std::vector<std::unique_ptr<Board>> releaseBoards();

    // Stores the working state into the active board's record, then makes
    // board i active and loads its record into the working state.
    void activate(int index);
    // Copies the working state into the active board's record.
    void storeWorkingState();

    // Deletes the active board. With fewer than two boards nothing happens
    // and the message to show is returned.
    std::optional<std::string> deleteActiveBoard(Language lang);
    static std::string deleteQuestion(Language lang, const std::string& name);
    void deleteAllBoards();

    void moveActiveToEnd();
    void moveActiveToFront();

private:
    void moveActiveTo(size_t target);

    std::vector<std::unique_ptr<Board>> boards_;
};

// The board size dialog's range, in whole millimetres.
constexpr int kMinBoardMm = 10, kMaxBoardMm = 300;

// Checks the texts of the board size dialog. Each must read as a decimal
// number within 10..300 and be a whole number of millimetres. Returns the
// message to show, or the size in board units. A side without a text (left
// as the dialog showed it) is not checked, and its units stay 0.
struct BoardSizeCheck {
    std::optional<std::string> message;
    int32_t widthUnits = 0;
    int32_t heightUnits = 0;
};
BoardSizeCheck checkBoardSize(const std::optional<std::string>& widthText,
                              const std::optional<std::string>& heightText, Language lang);

} // namespace kestrel
