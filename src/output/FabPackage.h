#pragma once
// The fab package: everything a board house needs in one zip. Every layer
// is seen from the top (side 2 is the component side), unmirrored, in the
// same coordinates, under the names upload pages recognise; the drill file
// and a README with the board's figures go with them.

#include "model/Board.h"
#include "model/Language.h"
#include "model/Result.h"
#include "output/DesignCheck.h"
#include "output/LabelOutlines.h"
#include "output/ZipArchive.h"

#include <string>
#include <vector>

namespace kestrel {

// The board's name as a file name: Latin letters, digits, '-' and '_'
// kept, Cyrillic letters spelt in Latin ones, runs of anything else one
// '_'; "board" when nothing is left, and "board-" before a name Windows
// keeps for a device (CON, COM1, ...) and before "readme" in any case.
std::string fabBaseName(const std::string& boardName);

// The package's files in archive order: NAME.GTL, .GBL, .GTO, .GBO, .GTS,
// .GBS, .GKO, NAME.TXT (Excellon) and README.txt, which gives `figures`.
// Labels in a system font are drawn when `labels` is given.
std::vector<ZipEntry> fabPackageFiles(const Board& board, const BoardSettings& settings,
                                      const LabelOutlineSource* labels, const DesignFigures& figures);

// Everything but the README: the layers, the outline and the drill file,
// made on two threads, both of which may ask `labels`.
std::vector<ZipEntry> fabLayerFiles(const Board& board, const BoardSettings& settings,
                                    const LabelOutlineSource* labels);

// The package made ready before anyone decides to write it.
struct PreparedFabPackage {
    DesignReport report;
    std::vector<ZipEntry> files; // as fabPackageFiles gives them
};
// The design check with its figures, then the files and the README.
PreparedFabPackage prepareFabPackage(const Board& board, const BoardSettings& settings, const DesignRules& rules,
                                     const LabelOutlineSource* labels);

// Zips the files and writes the zip atomically.
Status writeFabPackage(const std::string& path, const std::vector<ZipEntry>& files, Language lang);

} // namespace kestrel
