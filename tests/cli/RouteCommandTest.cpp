#include "model/LayoutFile.h"

#include "Refusals.h"

#include <gtest/gtest.h>

using namespace kestrel;
using namespace kestrel::test;

// Board 0 (active): pads 0 and 1 joined by a band (cells (12, 12) and (25, 12)
// at the default pitch), pad 2 with a band to pad 3 0.3 mm from the board's
// right edge, in a column the wave cannot reach at a pitch of 1.2 mm, a silk
// line 4, a pad 5 on silk with a band to pad 0. Board 1: the
// band of pads 0 and 1 on layer 3.
TEST(RouteCommand, OutputAndExitCodes)
{
    LayoutDocument doc = LayoutDocument::withFirstBoard(Language::English);
    ObjectList& first = doc.board(0).Objects;
    LayoutObject& p = addPad(first, {1010, -990}, 50);
    addBand(p, addPad(first, {2030, -1010}, 50));
    LayoutObject& loose = addPad(first, {5000, -5000}, 50);
    addBand(loose, addPad(first, {15970, -1000}, 50));
    first.append(makeLine({100, -100}, {200, -100}, 20, 2));
    addBand(p, addPad(first, {3000, -3000}, 50, 1, 2));
    doc.addBoard("second");
    ObjectList& second = doc.board(1).Objects;
    LayoutObject& a = addPad(second, {1010, -990}, 50, 1, 3);
    addBand(a, addPad(second, {2030, -1010}, 50, 1, 3));
    doc.activate(0);
    TempDir dir;
    const std::string in = writeLayout(dir, doc), out = dir.file("out.kbd");

    // A missing band (in both languages) and an object that is no pad: Cli.ExitStatusesAndMessages.
    const std::tuple<std::vector<std::string>, int, std::string> cases[] = { // stdout, or part of the stderr line
        // Cells of 120 units: P in (8, 8), Q in (16, 8); neither centre is clamped.
        {{"--from=0", "--to=1", "--width", "0.6", "--clearance", "0.3"}, 0,
         "{\"routed\": true, \"points\": [[2030, -1010], [1980, -1020], [1020, -1020], [1010, -990]]}\n"},
        // The clearance is 0.2 mm by default: the track --clearance 0.2 gives, not the one above.
        {{"--from=0", "--to=1", "--width", "0.6"}, 0,
         "{\"routed\": true, \"points\": [[2030, -1010], [2030, -1010], [1950, -950], [1050, -950], [1010, -990]]}\n"},
        {{"--from=0", "--to=1", "--width", "0.6", "--clearance", "0.2"}, 0,
         "{\"routed\": true, \"points\": [[2030, -1010], [2030, -1010], [1950, -950], [1050, -950], [1010, -990]]}\n"},
        {{"--from", "2", "--to", "3", "--width", "0.6", "--clearance", "0.3"}, 0, "{\"routed\": false}\n"},
        {{"--lang", "en", "--from", "5", "--to", "0"}, 1, "pad 5 lies on layer B1, which is not a copper layer"},
        {{"--lang", "en", "--from", "0", "--to", "1", "--layer", "2"}, 2, "--layer expects the copper layer K1 or K2"},
        // A layer neither pad reaches would get a track joined to neither.
        {{"--lang", "en", "--from", "0", "--to", "1", "--layer", "K2"}, 1, "pad 0 does not reach layer K2"},
    };
    for (const auto& [options, status, text] : cases) {
        std::vector<std::string> args = {"route"};
        args.insert(args.end(), options.begin(), options.end());
        args.insert(args.end(), {in, out});
        const CommandResult r = runCli(args);
        EXPECT_EQ(r.status, status) << text << r.err;
        const bool shown = status == 0 ? r.out == text : r.err.find(text) != std::string::npos;
        EXPECT_TRUE(shown) << text << "\n" << r.out << r.err;
        if (text == "{\"routed\": false}\n") {
            EXPECT_FALSE(r.err.empty()) << "the reason goes to stderr";
        }
    }

    // The track is saved on the layer asked for, here by its number.
    ASSERT_EQ(runCli({"route", "--board", "1", "--from", "0", "--to", "1", "--layer", "3", in, out}).status, 0);
    auto read = readDocument(out, Language::English);
    ASSERT_TRUE(succeeded(read));
    const ObjectList& objects = read->document.board(1).Objects;
    ASSERT_EQ(objects.size(), 3u);
    EXPECT_EQ(std::tuple(objects[2].Width, objects[2].Clearance, objects[2].Layer), std::tuple(40, 40, uint8_t{3}));
}
