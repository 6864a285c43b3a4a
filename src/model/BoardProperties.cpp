#include "model/BoardProperties.h"

namespace kestrel {

size_t ObjectsLeftOffBySize(const LayoutDocument& doc, int32_t width, int32_t height)
{
    const Board* board = doc.activeBoard();
    if (!board)
        return 0;
    const Rect smaller{0, -height, width, 0};
    size_t leftOut = 0;
    for (const auto& o : board->Objects)
        leftOut += liesOffBoard(*o, smaller) && !liesOffBoard(*o, doc.Working.boardRect());
    return leftOut;
}

void SetBoardProperties(LayoutDocument& doc, int32_t width, int32_t height, const std::string& name)
{
    Board* board = doc.activeBoard();
    if (!board)
        return;
    const std::string kept = cutToCharacters(name, kBoardNameMax);
    if (width != doc.Working.BoardWidth || height != doc.Working.BoardHeight || kept != board->Name)
        doc.Modified = true;
    doc.Working.BoardWidth = width;
    doc.Working.BoardHeight = height;
    board->Name = kept;
}

} // namespace kestrel
