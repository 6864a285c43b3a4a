#include "model/FileIO.h"
#include "model/Groups.h"
#include "model/LayoutFile.h"
#include "model/RecordImages.h"
#include "model/TextCodec.h"
#include "model/ValueRanges.h"

#include "support/TestData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <random>
#include <tuple>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace kestrel;
using namespace kestrel::test;

namespace {

std::vector<uint8_t> encoded(LayoutDocument& doc, bool autosave = false)
{
    prepareForWriting(doc, autosave);
    return encodeDocument(doc);
}

LayoutDocument decoded(const std::vector<uint8_t>& bytes, Language lang = Language::English)
{
    auto r = decodeDocument(bytes.data(), bytes.size(), lang, "test.kbd");
    EXPECT_TRUE(succeeded(r));
    return r ? std::move(r->document) : LayoutDocument();
}

// Decodes `bytes` as "v.kbd": read when `says` is empty, otherwise refused
// with a message holding each of `says`.
void expectDecoding(const std::vector<uint8_t>& bytes, const std::vector<std::string>& says,
                    Language lang = Language::English)
{
    auto r = decodeDocument(bytes.data(), bytes.size(), lang, "v.kbd");
    if (says.empty()) {
        EXPECT_TRUE(succeeded(r));
        return;
    }
    ASSERT_FALSE(r);
    for (const std::string& s : says)
        EXPECT_NE(r.message().find(s), std::string::npos) << r.message();
}

// Writes the version 0..2 format: a board of 8000 x 5000 and old records.
struct OldFile {
    std::vector<uint8_t> bytes;
    OldFile(int version, int16_t count)
    {
        put32(0xFFAA3300u + static_cast<uint32_t>(version));
        put32(8000);
        put32(5000);
        put16(count);
    }
    void put16(int16_t v) { bytes.insert(bytes.end(), {uint8_t(v & 0xFF), uint8_t((v >> 8) & 0xFF)}); }
    void put32(uint32_t v) { for (int i = 0; i < 4; ++i) bytes.push_back(uint8_t(v >> (8 * i))); }
    void record(uint8_t kind, std::array<int16_t, 5> coordsAndWidth, uint8_t layer, uint16_t legacyGroup = 0,
                const std::string& text = "", int16_t angle = 0)
    {
        bytes.push_back(kind);
        for (int16_t v : coordsAndWidth)
            put16(v);
        bytes.insert(bytes.end(), {1, layer, 1, uint8_t(text.size())}); // selected, layer, shape, text length
        for (size_t i = 0; i < 15; ++i)
            bytes.push_back(i < text.size() ? uint8_t(text[i]) : 0);
        put32(0xDEADBEEF); // ignored
        put16(static_cast<int16_t>(legacyGroup));
        bytes.push_back(0x11); // reserved
        put16(angle);
        put32(0xDEADBEEF);
        bytes.insert(bytes.end(), {0x22, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE});
    }
};

} // namespace

// The empty board the layout fuzzer starts from is held byte for byte to
// what is written today: a change of the format shows here first.
TEST(LayoutFile, EmptyBoardImage)
{
    LayoutDocument doc = LayoutDocument::withFirstBoard(Language::English);
    EXPECT_EQ(encoded(doc), readBytes(KESTREL_SOURCE_DIR "/tests/fuzz/corpus/layout/empty-v3.kbd"));
}

// Two boards with objects of every kind read back and write back byte for
// byte; each board field has its own place in the image, and values at the
// edges of what a file holds (full text fields, negative angles) read back.
TEST(LayoutFile, EveryKindAndValuesAtTheirLimitsReadBack)
{
    LayoutDocument doc = sampleDocument();
    doc.activeBoard()->Name = std::string(kBoardNameMax, 'N');
    BoardSettings& s = doc.Working;
    s.CopyOn2 = 1;
    s.CopyFile1 = std::string(kCopyFileMax, 'a');
    s.CopyFile2 = "ё/" + std::string(kCopyFileMax - 2, 'b');
    std::tie(s.CopyDpi1, s.CopyDpi2) = std::tuple(300, 1200);
    std::tie(s.CopyOffsetX1, s.CopyOffsetX2, s.CopyOffsetY1, s.CopyOffsetY2) = std::tuple(11, -22, 33, -44);
    std::tie(s.CopyColour1, s.CopyColour2) = std::tuple(0x123456u, 0xABCDEFu);
    ObjectList& list = *doc.currentObjects();
    const size_t sample = list.size();
    LayoutObject arc = makeCircle({5000, -5000}, 400, 1, 2, 300);
    arc.Angle = -ranges::kMaxAngle;
    arc.Width = -ranges::kMaxAngle; // the stop angle
    list.append(std::move(arc));
    list.append(makeText({500, -900}, "FIFTEEN-LETTERS", -ranges::kMaxAngle, 200, 2200, -800, 2));
    LayoutObject zone = makeZone(20, 1);
    zone.Points = {{6000, -6000}, {8000, -6000}, {8000, -8000}};
    list.append(std::move(zone));

    const auto bytes = encoded(doc);
    LayoutDocument back = decoded(bytes);
    ASSERT_EQ(back.boardCount(), 2u);
    EXPECT_EQ(back.board(0).Name, doc.board(0).Name);
    EXPECT_EQ(back.Working, doc.Working) << "the active board's working state is what is written";
    EXPECT_EQ(encoded(back), bytes) << "a read document writes back byte for byte";
    const ObjectList& got = *back.currentObjects();
    ASSERT_EQ(got.size(), sample + 3);
    EXPECT_EQ(std::tie(got[sample].Angle, got[sample].Width), std::tuple(-36000, -36000));
    EXPECT_EQ(std::tuple(std::string(got[sample + 1].TextValue.view()), got[sample + 1].Angle),
              std::tuple("FIFTEEN-LETTERS", -36000));
    EXPECT_EQ(got[sample + 2].FillOn, 1) << "a zone read is drawn filled";

    // Only the low byte of the active layer's field names the layer.
    auto highBytes = bytes;
    highBytes[8 + 31 + offsetof(BoardImage, ActiveLayer) + 1] = 0x7F;
    EXPECT_EQ(decoded(highBytes).Working.ActiveLayer, 1u);
}

// Saving drops what lies off the 16000 x 10000 board (a zero-area overlap
// counts as none) and degenerate objects; autosave keeps them. Pen and
// clearance reach 60 units beyond a track's points, 40 for the last two.
TEST(LayoutFile, SaveDropsOffBoardAndDegenerateObjectsUnlessAutosave)
{
    const std::tuple<Point, int32_t, const char*> pads[] = {
        {{1000, -1000}, 50, "inside"},           {{-100, -500}, 100, "touches x = 0 only"},
        {{-99, -500}, 100, "overlaps one unit"}, {{8000, 100}, 100, "touches y = 0 only"},
        {{16100, -5000}, 100, "touches x = 16000 only"}, {{16099, -5000}, 100, "one unit inside"},
        {{8000, -10100}, 100, "touches y = -10000 only"},
    };
    for (bool autosave : {false, true}) {
        LayoutDocument doc = LayoutDocument::withFirstBoard(Language::English);
        ObjectList& list = *doc.currentObjects();
        for (const auto& [centre, radius, what] : pads)
            addPad(list, centre, radius).Clearance = 0;
        list[0].Groups = {3};
        list[1].Groups = {7}; // goes before the numbers are compacted
        list[5].Groups = {9, 5};
        addTrack(list, {{10, -10}});
        list.append(makeZone(10, 1));
        addTrack(list, {{100, -100}, {-5000, 5000}});                // starts on the board
        addTrack(list, {{-5000, 5000}, {-4000, 4000}, {100, -100}}); // ends on it
        addTrack(list, {{-5001, 5000}, {20000, 5000}});              // spans it, outside
        addTrack(list, {{-5002, -500}, {20000, -500}});              // crosses it
        addTrack(list, {{-40, 100}, {-40, -100}}).Clearance = 20;    // margin just touches x = 0
        addTrack(list, {{-39, 100}, {-39, -100}}).Clearance = 20;    // overlaps by one unit
        // The same beside the board, where the first point decides alone.
        addTrack(list, {{-40, -100}, {-40, -200}}).Clearance = 20;
        addTrack(list, {{-39, -100}, {-39, -200}}).Clearance = 20;
        encoded(doc, autosave);
        std::vector<int32_t> xs;
        for (const auto& o : list)
            xs.push_back(o->Points.empty() ? o->X1 : o->Points.front().x);
        if (autosave) {
            EXPECT_EQ(list.size(), 17u) << "autosave keeps everything";
            EXPECT_EQ(list[5].Groups, (std::vector<int32_t>{4, 2})) << "but compacts the numbers";
        } else {
            EXPECT_EQ(xs, (std::vector<int32_t>{1000, -99, 16099, 100, -5000, -5002, -39, -39}));
            EXPECT_EQ(list[0].Groups, std::vector<int32_t>{1});
            EXPECT_EQ(list[2].Groups, (std::vector<int32_t>{3, 2})) << "numbers keep their order";
        }
    }
}

TEST(LayoutFile, ImportAppendsBoardsAndKeepsActiveState)
{
    TempDir dir;
    LayoutDocument other = sampleDocument();
    ASSERT_TRUE(succeeded(writeDocument(other, dir.file("other.kbd"), false, Language::English)));
    LayoutDocument doc = LayoutDocument::withFirstBoard(Language::English);
    doc.Origin = {5, -5};
    doc.Working.Zoom = 0.5;
    ASSERT_TRUE(succeeded(importBoards(doc, dir.file("other.kbd"), Language::English)));
    ASSERT_EQ(doc.boardCount(), 3u);
    EXPECT_EQ(std::tuple(doc.ActiveBoard, doc.Origin, doc.Working.Zoom), std::tuple(0, Point{5, -5}, 0.5));
    EXPECT_EQ(std::tuple(doc.board(1).Settings.Zoom, doc.board(2).Name),
              std::tuple(0.25, std::string("Zweite Platte")));
    EXPECT_EQ(doc.board(1).Objects.size(), other.board(0).Objects.size());

    // An old file's board, which has no name of its own, is named by its place.
    OldFile old(2, 0);
    writeBytes(dir.file("old.kbd"), old.bytes);
    ASSERT_TRUE(succeeded(importBoards(doc, dir.file("old.kbd"), Language::English)));
    ASSERT_EQ(doc.boardCount(), 4u);
    EXPECT_EQ(doc.board(3).Name, "Board 4");

    // A version-3 file of one board keeps that board's name.
    LayoutDocument solo = LayoutDocument::withFirstBoard(Language::English);
    solo.activeBoard()->Name = "Solo";
    ASSERT_TRUE(succeeded(writeDocument(solo, dir.file("solo.kbd"), false, Language::English)));
    ASSERT_TRUE(succeeded(importBoards(doc, dir.file("solo.kbd"), Language::English)));
    ASSERT_EQ(doc.boardCount(), 5u);
    EXPECT_EQ(std::tuple(doc.board(4).Name, doc.ActiveBoard), std::tuple(std::string("Solo"), 3))
        << "and joins inactive";
}

TEST(LayoutFile, OldVersions)
{
    // Version 0: one track with two points and one pad, its text filling its 15
    // characters; every object gets clearance 40.
    OldFile v0(0, 2);
    v0.record(6, {0, 0, 0, 0, 30}, 1);
    for (int16_t v : {2, 100, -100, 300, -200})
        v0.put16(v);
    v0.record(2, {500, -600, 80, 30, 0}, 3, 0, "FIFTEEN-LETTERS");
    LayoutDocument d0 = decoded(v0.bytes, Language::Russian);
    ASSERT_EQ(d0.boardCount(), 1u);
    EXPECT_EQ(d0.board(0).Name, "Плата 1");
    EXPECT_EQ(std::tie(d0.Working.BoardWidth, d0.Working.BoardHeight), std::make_tuple(8000, 5000));
    const ObjectList& l0 = *d0.currentObjects();
    ASSERT_EQ(l0.size(), 2u);
    EXPECT_EQ(l0[0].Points, (std::vector<Point>{{100, -100}, {300, -200}}));
    EXPECT_EQ(std::tie(l0[1].X1, l0[1].Y1, l0[1].TextValue), std::make_tuple(500, -600, "FIFTEEN-LETTERS"));
    for (const auto& o : l0)
        EXPECT_EQ(std::tie(o->Clearance, o->Selected), std::make_tuple(40, 0));

    // Version 2: group numbers and a circle that becomes full and unfilled.
    OldFile v2(2, 1);
    v2.record(5, {100, -100, 300, 200, 90}, 1, 0, "", 45);
    for (int16_t v : {2, 4, -3})
        v2.put16(v);
    LayoutDocument d2 = decoded(v2.bytes);
    const LayoutObject& circle = (*d2.currentObjects())[0];
    EXPECT_EQ(std::tie(circle.Angle, circle.Width, circle.Filled, circle.Reserved46), std::make_tuple(0, 0, 0, 0x11));
    EXPECT_EQ(circle.Groups, (std::vector<int32_t>{2, 1})) << "read numbers are compacted, order kept";
}

// A board whose image is several write chunks long: long tracks between
// banded pads and vias, the sample's kinds at the end.
LayoutDocument largeDocument()
{
    LayoutDocument doc = sampleDocument();
    ObjectList& list = *doc.currentObjects();
    LayoutObject* previous = nullptr;
    for (int32_t i = 0; i < 4000; ++i) {
        std::vector<Point> points;
        for (int32_t k = 0; k < 40; ++k)
            points.push_back({100 + k * 10, -100 - i});
        addTrack(list, points);
        LayoutObject& pad = addPad(list, {500, -100 - i}, 30);
        if (previous)
            addBand(pad, *previous);
        previous = &pad;
        if (i % 100 == 0)
            addVia(list, {600, -100 - i});
    }
    return doc;
}

// A value the readers refuse is never written: the save fails naming it,
// in the language asked for, and the old file stays. A large image is written
// in chunks, and a save that fails part way leaves the old file too.
TEST(LayoutFile, SavedFileIsTheImageAndAFailedSaveLeavesTheOldOne)
{
    TempDir dir;
    const std::string target = dir.file("doc.kbd");
    LayoutDocument doc = LayoutDocument::withFirstBoard(Language::English);
    addTrack(*doc.currentObjects(), {{100, -100}, {500, -100}}, 20);
    ASSERT_TRUE(succeeded(writeDocument(doc, target, false, Language::English)));
    const std::vector<uint8_t> before = readBytes(target);
    EXPECT_TRUE(succeeded(writeDocument(doc, target, false, Language::English, nullptr, before.size())))
        << "a document of exactly the largest size is written";

    // A track that starts on the board (so the save keeps it) and runs 20 m off.
    LayoutObject& track = addTrack(*doc.currentObjects(), {{100, -200}, {2'000'000, -200}}, 20);
    Status refused = writeDocument(doc, target, false, Language::English);
    EXPECT_NE(refused.message().find("point x 2000000 lies outside"), std::string::npos) << refused.message();
    refused = writeDocument(doc, target, true, Language::Russian);
    EXPECT_EQ(refused.message().rfind("Файл не сохранён.", 0), 0u) << refused.message();
    EXPECT_EQ(readBytes(target), before);
    EXPECT_FALSE(std::filesystem::exists(dir.file("doc.bak")));

    track.Points.back().x = 1'000'000; // the last value a reader takes
    track.Clearance = -1; // a record field is checked as the points are
    refused = writeDocument(doc, target, false, Language::English);
    EXPECT_NE(refused.message().find("clearance -1"), std::string::npos) << refused.message();
    EXPECT_EQ(readBytes(target), before);
    track.Clearance = 0;
    ASSERT_TRUE(succeeded(writeDocument(doc, target, false, Language::English)));
    EXPECT_TRUE(succeeded(readDocument(target, Language::English)));

    const std::string large = dir.file("large.kbd");
    LayoutDocument big = largeDocument();
    ASSERT_TRUE(succeeded(writeDocument(big, large, false, Language::English)));
    EXPECT_TRUE(big.Saved);
    const std::vector<uint8_t> image = encodeDocument(big);
    ASSERT_GT(image.size(), 1'500'000u);
    EXPECT_EQ(readBytes(large), image) << "written in chunks, byte for byte the image";

    // A document larger than the readers take is not written, the old file stays.
    (*big.currentObjects())[0].X1 += 10;
    big.Modified = true;
    const Status tooLarge = writeDocument(big, large, false, Language::English, nullptr, image.size() - 1);
    EXPECT_NE(tooLarge.message().find("The document would take " + std::to_string(image.size()) + " bytes"),
              std::string::npos)
        << tooLarge.message();
    EXPECT_TRUE(big.Modified) << "a save refused leaves the document unsaved";
    EXPECT_EQ(readBytes(large), image);

    // The next save runs out of room after the first chunks.
    LayoutDocument other = largeDocument();
    (*other.currentObjects())[0].X1 += 10;
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 1'000'000;
    ::setrlimit(RLIMIT_FSIZE, &small);
    const Status written = writeDocument(other, large, false, Language::English);
    ::setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_FALSE(written.ok());
    EXPECT_NE(written.message().find("large.kbd"), std::string::npos) << written.message();
    EXPECT_FALSE(other.Saved);
    EXPECT_EQ(readBytes(large), image);
    // A target that is a directory cannot be replaced either.
    ::mkdir(dir.file("sub").c_str(), 0755);
    const Status toFolder = writeDocument(other, dir.file("sub"), false, Language::English);
    EXPECT_NE(toFolder.message().find("sub\""), std::string::npos) << "refused, naming the folder";
    const auto entries = std::distance(std::filesystem::directory_iterator(dir.path()), {});
    EXPECT_EQ(entries, 3) << "no temporary file remains beside doc.kbd, large.kbd and sub";
}

// A Russian message holds no Latin word but the file's name, the program's
// and a coordinate's letter.
bool russianOnly(std::string message)
{
    for (const char* kept : {"cut.kbd", "v.kbd", "Kestrel"})
        for (size_t at; (at = message.find(kept)) != std::string::npos;)
            message.erase(at, std::string(kept).size());
    auto latin = [&](size_t i) { return i < message.size() && std::isalpha(static_cast<unsigned char>(message[i])); };
    for (size_t i = 0; i < message.size(); ++i) {
        const bool coordinate = (message[i] == 'x' || message[i] == 'y') && !latin(i + 1) && !(i > 0 && latin(i - 1));
        if (latin(i) && !coordinate)
            return false;
    }
    return true;
}

TEST(LayoutFile, EveryTruncationIsRejected)
{
    LayoutDocument doc = sampleDocument();
    const auto bytes = encoded(doc);
    for (size_t n = 0; n < bytes.size(); ++n) {
        auto r = decodeDocument(bytes.data(), n, Language::English, "cut.kbd");
        ASSERT_FALSE(r) << "a file cut to " << n << " bytes was accepted";
        ASSERT_NE(r.message().find("cut.kbd"), std::string::npos) << r.message();
        const auto ru = decodeDocument(bytes.data(), n, Language::Russian, "cut.kbd");
        ASSERT_TRUE(russianOnly(ru.message())) << ru.message();
    }
}

// A text whose length byte claims more than its field holds is refused,
// naming the field in either language.
TEST(LayoutFile, ATextLongerThanItsFieldIsRefused)
{
    LayoutDocument doc = sampleDocument();
    doc.currentObjects()->append(makeText({500, -1000}, "Ярлык", 0, 200, 1500, -800, 2));
    const auto bytes = encoded(doc);
    const std::tuple<std::string, uint8_t, const char*, const char*> fields[] = {
        {utf8ToCp1251("Ярлык"), 200, "a label text claims 200 characters, more than its 15",
         "текст надписи: знаков 200, допустимо не больше 15"},
        {"scans/top.bmp", 255, "the first scanned-copy file name claims 255 characters, more than its 200",
         "имя файла фонового рисунка стороны 1: знаков 255, допустимо не больше 200"},
    };
    for (const auto& [text, length, english, russian] : fields) {
        SCOPED_TRACE(english);
        const std::vector<uint8_t> stored(text.begin(), text.end());
        const auto at = std::search(bytes.begin(), bytes.end(), stored.begin(), stored.end()) - bytes.begin();
        ASSERT_LT(static_cast<size_t>(at), bytes.size());
        auto damaged = bytes;
        damaged[static_cast<size_t>(at) - 1] = length;
        expectDecoding(damaged, {english});
        expectDecoding(damaged, {russian}, Language::Russian);
        const auto ru = decodeDocument(damaged.data(), damaged.size(), Language::Russian, "v.kbd");
        EXPECT_TRUE(russianOnly(ru.message())) << ru.message();
    }
}

// Counts and indices that do not fit the file, and values outside what any
// later computation handles, are refused with what is wrong (values also with
// the object and the offset); values at the limits still read.
TEST(LayoutFile, InconsistentCountsAndValuesOutsideTheirRangesAreRefused)
{
    LayoutDocument doc = sampleDocument();
    const auto bytes = encoded(doc);
    const size_t boardAt = 8 + 31, objectCountAt = boardAt + 482, pad = objectCountAt + 4; // a grouped pad
    struct Case {
        const char* what;
        size_t at;
        int32_t value;
        const char* message; // empty: the file still reads
        bool namesOffset = true;
        Language lang = Language::English;
    };
    const Case cases[] = {
        {"negative board count", 4, -1, "negative board count", false},
        {"huge object count", objectCountAt, 1 << 30, "object count", false},
        {"group count past the end", pad + 74, 1 << 28, "group count", false},
        {"partner index one past the list", pad + 74 + 4 + 8, 10, "partner index", false},
        {"active board one past the last", bytes.size() - 12, 2, "не прочитан", false, Language::Russian},
        {"negative active board", bytes.size() - 12, -1, "active board -1 does not exist", false},
        {"origin beyond 10 m", bytes.size() - 4, -1'000'001, "the origin: y -1000001 lies outside"},
        {"last version a header may name", 0, static_cast<int32_t>(0xFFAA330Fu),
         "newer version of Kestrel (file version 15)", false},
        {"version 4", 0, static_cast<int32_t>(0xFFAA3304u), "newer version", false},
        // The header is checked to its last byte: another file is not taken for a layout.
        {"header", 0, static_cast<int32_t>(0xFEAA3303u), "\"v.kbd\" is not a Kestrel layout file", false},
        {"board width beyond 2 m", boardAt + 4, 200'001, "the board: width 200001 lies outside 0..200000"},
        {"board width of 2 m", boardAt + 4, 200'000, ""},
        {"board height beyond 2 m", boardAt + 8, 200'001, "the board: height 200001 lies outside 0..200000"},
        {"pad x far off", pad + 1, 1'000'001, "object 0 (a pad): x 1000001 lies outside"},
        {"negative clearance", pad + 57, -5, "объект 0 (площадка): зазор -5 вне диапазона 0..100000", true,
         Language::Russian},
        {"group number zero", pad + 74 + 4, 0, "group number 0 lies outside 1..16777216"},
        // An object on no layer of a board (5 and 6 are the macros' own)
        // would be saved yet drawn nowhere; after a record of unknown kind
        // the reader would lose its place.
        {"pad on layer 5", pad + 22, 5, "object 0 (a pad): layer 5 lies outside 1..4"},
        {"unknown kind", pad, 9, "object 0 (of unknown kind): kind 9 lies outside 1..6"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto damaged = bytes;
        std::memcpy(damaged.data() + c.at, &c.value, 4);
        std::vector<std::string> says;
        if (*c.message)
            says = c.namesOffset ? std::vector<std::string>{c.message, std::to_string(c.at)}
                                 : std::vector<std::string>{c.message};
        expectDecoding(damaged, says, c.lang);
        if (*c.message) {
            const auto ru = decodeDocument(damaged.data(), damaged.size(), Language::Russian, "v.kbd");
            EXPECT_TRUE(russianOnly(ru.message())) << ru.message();
        }
    }
}

TEST(LayoutFile, OldValuesAreCheckedWhereTheyCanBeWrong)
{
    // what, record kind, coordinates and width, angle, message (empty: read)
    const std::tuple<const char*, uint8_t, std::array<int16_t, 5>, int16_t, const char*> cases[] = {
        {"negative pad radius", 2, {100, -100, -40, 10, 0}, 0, "object 0 (a pad): outer radius -40"},
        {"extreme 16-bit coordinates", 1, {-32768, 32767, 32767, -32768, 10}, 0, ""},
    };
    for (const auto& [what, kind, coordsAndWidth, angle, message] : cases) {
        SCOPED_TRACE(what);
        OldFile f(0, 1);
        f.record(kind, coordsAndWidth, 1, 0, "", angle);
        expectDecoding(f.bytes, *message ? std::vector<std::string>{message} : std::vector<std::string>{});
    }
    // A board wider than 2 m does not read.
    OldFile wide(2, 0);
    const int32_t width = 200'001;
    std::memcpy(wide.bytes.data() + 4, &width, 4);
    expectDecoding(wide.bytes, {"the board: width 200001 lies outside 0..200000", "(at byte 4)"});
}

// A band joins two pads of one board: an index past the list, or one naming
// an object of another kind, is refused where it stands.
TEST(LayoutFile, BandsToWhatIsNoPadOfTheBoardAreRefused)
{
    LayoutDocument doc = LayoutDocument::withFirstBoard(Language::English);
    ObjectList& list = *doc.currentObjects();
    LayoutObject& first = addPad(list, {1000, -1000}, 50);
    addBand(first, addPad(list, {2000, -1000}, 50));
    addTrack(list, {{1000, -1000}, {2000, -1000}});
    const auto bytes = encoded(doc);
    const size_t lastIndex = bytes.size() - 12 - 4; // the second pad's one band, before the active board and origin
    int32_t stored;
    std::memcpy(&stored, bytes.data() + lastIndex, 4);
    ASSERT_EQ(stored, 0);
    const std::pair<int32_t, const char*> cases[] = {
        {2, "connection index 2 does not name a pad"},
        {3, "connection index 3 lies outside the board's 3 objects"},
    };
    for (const auto& [index, message] : cases) {
        auto damaged = bytes;
        std::memcpy(damaged.data() + lastIndex, &index, 4);
        expectDecoding(damaged, {message, "(at byte " + std::to_string(lastIndex) + ")"});
    }
}

// The one-pass legacy group conversion gives what grouping each object with
// its later peers, one object at a time, gave.
TEST(LayoutFile, LegacyGroupConversionMatchesTheStepwiseRule)
{
    std::mt19937 rng(18);
    for (int round = 0; round < 200; ++round) {
        const int count = 1 + static_cast<int>(rng() % 40);
        const int numbers = 1 + static_cast<int>(rng() % 8);
        OldFile file(1, static_cast<int16_t>(count));
        ObjectList expected;
        for (int i = 0; i < count; ++i) {
            const uint16_t legacy = rng() % 3 == 0 ? 0 : static_cast<uint16_t>(1 + rng() % numbers);
            file.record(2, {static_cast<int16_t>(100 + 50 * i), -100, 20, 5, 0}, 1, legacy);
            addPad(expected, {100 + 50 * i, -100}, 20).LegacyGroup = legacy;
        }
        for (size_t i = 0; i + 1 < expected.size(); ++i) {
            const uint16_t legacy = expected[i].LegacyGroup;
            if (legacy == 0)
                continue;
            for (size_t k = i; k < expected.size(); ++k)
                expected[k].Selected = expected[k].LegacyGroup == legacy;
            groupSelection(expected);
            for (auto& o : expected)
                o->Selected = 0;
            expected[i].LegacyGroup = 0;
        }
        compactGroups(expected);

        const LayoutDocument doc = decoded(file.bytes);
        const ObjectList& got = doc.board(0).Objects;
        ASSERT_EQ(got.size(), expected.size());
        for (size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].Groups, expected[i].Groups) << "round " << round << " object " << i;
            EXPECT_EQ(got[i].LegacyGroup, expected[i].LegacyGroup) << "round " << round << " object " << i;
        }
    }
}
