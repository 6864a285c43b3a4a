#include "model/FileIO.h"
#include "model/LayoutFile.h"

#include "support/TestData.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

using namespace kestrel;
using namespace kestrel::test;

namespace {

int32_t i32At(const std::vector<uint8_t>& b, size_t at)
{
    int32_t v;
    std::memcpy(&v, b.data() + at, 4);
    return v;
}

std::vector<uint8_t> encoded(LayoutDocument& doc, bool autosave = false)
{
    prepareForWriting(doc, autosave);
    return encodeDocument(doc);
}

LayoutDocument decoded(const std::vector<uint8_t>& bytes, Language lang = Language::English)
{
    ReadResult r = decodeDocument(bytes.data(), bytes.size(), lang, "test.kbd");
    EXPECT_TRUE(r.document) << r.error;
    return std::move(*r.document);
}

// Old-format writer for the version 0..2 tests.
struct OldFile {
    std::vector<uint8_t> bytes;
    explicit OldFile(int version, int32_t width, int32_t height, int16_t count)
    {
        put32(0xFFAA3300u + static_cast<uint32_t>(version));
        put32(static_cast<uint32_t>(width));
        put32(static_cast<uint32_t>(height));
        put16(count);
    }
    void put8(uint8_t v) { bytes.push_back(v); }
    void put16(int16_t v) { bytes.insert(bytes.end(), {uint8_t(v & 0xFF), uint8_t((v >> 8) & 0xFF)}); }
    void put32(uint32_t v) { for (int i = 0; i < 4; ++i) bytes.push_back(uint8_t(v >> (8 * i))); }
    void record(uint8_t kind, int16_t x1, int16_t y1, int16_t x2, int16_t y2, int16_t width, uint8_t layer,
                uint16_t legacyGroup = 0, const char* text = "", int16_t angle = 0)
    {
        put8(kind);
        for (int16_t v : {x1, y1, x2, y2, width})
            put16(v);
        put8(1); // selected
        put8(layer);
        put8(1); // shape
        const size_t len = std::strlen(text);
        put8(uint8_t(len));
        for (size_t i = 0; i < 15; ++i)
            put8(i < len ? uint8_t(text[i]) : 0);
        put32(0xDEADBEEF); // ignored
        put16(static_cast<int16_t>(legacyGroup));
        put8(0x11); // reserved
        put16(angle);
        put32(0xDEADBEEF);
        put8(0x22);
        for (int i = 0; i < 5; ++i)
            put8(0xEE);
    }
};

} // namespace

TEST(LayoutFile, EmptyBoardImage)
{
    LayoutDocument doc = LayoutDocument::withFirstBoard(Language::English);
    const auto b = encoded(doc);
    ASSERT_EQ(b.size(), 537u);
    EXPECT_EQ(std::vector<uint8_t>(b.begin(), b.begin() + 4), (std::vector<uint8_t>{0x03, 0x33, 0xAA, 0xFF}));
    EXPECT_EQ(i32At(b, 4), 1);                                   // board count
    EXPECT_EQ(b[8], 7);                                          // name length
    EXPECT_EQ(std::string(b.begin() + 9, b.begin() + 16), "Board 1");
    const size_t rec = 8 + 31;
    EXPECT_EQ(i32At(b, rec + 4), 16000);
    EXPECT_EQ(i32At(b, rec + 8), 10000);
    double grid, zoom;
    std::memcpy(&grid, b.data() + rec + 14, 8);
    std::memcpy(&zoom, b.data() + rec + 22, 8);
    EXPECT_EQ(grid, 254.0);
    EXPECT_EQ(zoom, 0.1);
    EXPECT_EQ(i32At(b, rec + 38), 1);                             // active layer
    EXPECT_EQ(std::vector<uint8_t>(b.begin() + rec + 42, b.begin() + rec + 46), (std::vector<uint8_t>{1, 1, 0, 0}));
    EXPECT_EQ(i32At(b, rec + 450), 600);
    EXPECT_EQ(i32At(b, rec + 474), 65280);
    EXPECT_EQ(i32At(b, rec + 482), 0);                            // object count
    EXPECT_EQ(i32At(b, 525), 0);                                  // active board
    EXPECT_EQ(i32At(b, 529), 0);                                  // origin
}

TEST(LayoutFile, ObjectBlocksPartnersAndConnections)
{
    LayoutDocument doc = LayoutDocument::withFirstBoard(Language::English);
    ObjectList& list = *doc.currentObjects();
    LayoutObject& lone = addPad(list, {100, -100}, 50);
    auto [a, b] = addVia(list, {500, -500});
    addBand(lone, *b);
    const auto bytes = encoded(doc);
    const size_t first = 8 + 31 + 482 + 4;
    const size_t block = 74 + 4 + 4; // record, group count, partner
    EXPECT_EQ(bytes[first], 2);       // Kind
    EXPECT_EQ(i32At(bytes, first + 1), 100);
    EXPECT_EQ(i32At(bytes, first + 61), 0) << "no partner: partner bytes zero";
    EXPECT_EQ(i32At(bytes, first + 78), -1);
    EXPECT_NE(i32At(bytes, first + block + 61), 0) << "a via pad has non-zero partner bytes";
    EXPECT_EQ(i32At(bytes, first + block + 78), 2);
    EXPECT_EQ(i32At(bytes, first + 2 * block + 78), 1);
    const size_t connections = first + 3 * block;
    EXPECT_EQ(i32At(bytes, connections), 1);      // lone: one band
    EXPECT_EQ(i32At(bytes, connections + 4), 2);  //   to b
    EXPECT_EQ(i32At(bytes, connections + 8), 0);  // a: none
    EXPECT_EQ(i32At(bytes, connections + 12), 1); // b: one band
    EXPECT_EQ(i32At(bytes, connections + 16), 0); //   to lone
    EXPECT_EQ(bytes.size(), connections + 20 + 12);
}

TEST(LayoutFile, RoundTripOfEveryKind)
{
    LayoutDocument doc = sampleDocument();
    const auto first = encoded(doc);
    LayoutDocument back = decoded(first);
    ASSERT_EQ(back.boardCount(), 2u);
    EXPECT_EQ(back.board(1).Name, "Zweite Platte");
    EXPECT_EQ(back.Origin, (Point{1270, -1270}));
    EXPECT_EQ(back.ActiveBoard, 0);
    EXPECT_EQ(back.Working.GroundPlane2, 1);
    EXPECT_EQ(back.Working.Zoom, 0.25);
    EXPECT_EQ(back.Working.CopyFile1, "scans/top.bmp");
    EXPECT_EQ(back.board(1).Settings.ActiveLayer, 3u);

    // Together with the exact layout checks above, an identical second
    // image shows every field, point, group, partner and band survived.
    EXPECT_EQ(encoded(back), first) << "a read document writes back byte for byte";
}

TEST(LayoutFile, SaveCleansUpUnlessAutosave)
{
    auto build = [] {
        LayoutDocument doc = LayoutDocument::withFirstBoard(Language::English);
        ObjectList& list = *doc.currentObjects();
        addPad(list, {1000, -1000}, 50).Groups = {3};
        addPad(list, {-5000, -1000}, 50).Groups = {7}; // off the board
        addTrack(list, {{10, -10}});                    // degenerate
        addPad(list, {2000, -1000}, 50).Groups = {9, 5};
        return doc;
    };
    LayoutDocument normal = build();
    encoded(normal, false);
    ASSERT_EQ(normal.currentObjects()->size(), 2u);
    EXPECT_EQ((*normal.currentObjects())[0].Groups, std::vector<int32_t>{1});
    EXPECT_EQ((*normal.currentObjects())[1].Groups, (std::vector<int32_t>{3, 2})) << "numbers keep their order";

    LayoutDocument autosave = build();
    encoded(autosave, true);
    ASSERT_EQ(autosave.currentObjects()->size(), 4u);
    EXPECT_EQ((*autosave.currentObjects())[1].Groups, std::vector<int32_t>{3});
}

TEST(LayoutFile, ImportAppendsBoardsAndKeepsActiveState)
{
    TempDir dir;
    LayoutDocument other = sampleDocument();
    ASSERT_EQ(writeDocument(other, dir.file("other.kbd"), false, Language::English), "");

    LayoutDocument doc = LayoutDocument::withFirstBoard(Language::English);
    doc.Origin = {5, -5};
    doc.Working.Zoom = 0.5;
    ASSERT_EQ(importBoards(doc, dir.file("other.kbd"), Language::English), "");
    ASSERT_EQ(doc.boardCount(), 3u);
    EXPECT_EQ(doc.ActiveBoard, 0);
    EXPECT_EQ(doc.Origin, (Point{5, -5}));
    EXPECT_EQ(doc.Working.Zoom, 0.5);
    EXPECT_EQ(doc.board(1).Name, "Board 1");
    EXPECT_EQ(doc.board(1).Settings.Zoom, 0.25);
    EXPECT_EQ(doc.board(2).Name, "Zweite Platte");
    EXPECT_EQ(doc.board(1).Objects.size(), other.board(0).Objects.size());
}

TEST(LayoutFile, OldVersions)
{
    // Version 0: one track with two points and one pad; every object gets clearance 40.
    OldFile v0(0, 8000, 5000, 2);
    v0.record(6, 0, 0, 0, 0, 30, 1);
    v0.put16(2);
    for (int16_t v : {100, -100, 300, -200})
        v0.put16(v);
    v0.record(2, 500, -600, 80, 30, 0, 3, 0, "P1");
    LayoutDocument d0 = decoded(v0.bytes, Language::Russian);
    ASSERT_EQ(d0.boardCount(), 1u);
    EXPECT_EQ(d0.board(0).Name, "Plata 1");
    EXPECT_EQ(d0.Working.BoardWidth, 8000);
    EXPECT_EQ(d0.Working.BoardHeight, 5000);
    const ObjectList& l0 = *d0.currentObjects();
    ASSERT_EQ(l0.size(), 2u);
    EXPECT_EQ(l0[0].Points, (std::vector<Point>{{100, -100}, {300, -200}}));
    EXPECT_EQ(l0[1].X1, 500);
    EXPECT_EQ(l0[1].Y1, -600);
    EXPECT_EQ(l0[1].TextValue, "P1");
    for (const auto& o : l0) {
        EXPECT_EQ(o->Clearance, 40);
        EXPECT_EQ(o->Selected, 0);
    }

    // Version 2: group numbers and a circle that becomes full and unfilled.
    OldFile v2(2, 8000, 5000, 1);
    v2.record(5, 100, -100, 300, 200, 90, 1, 0, "", 45);
    v2.put16(2);
    v2.put16(4);
    v2.put16(-3);
    LayoutDocument d2 = decoded(v2.bytes);
    const LayoutObject& circle = (*d2.currentObjects())[0];
    EXPECT_EQ(circle.Angle, 0);
    EXPECT_EQ(circle.Width, 0);
    EXPECT_EQ(circle.Filled, 0);
    EXPECT_EQ(circle.Groups, (std::vector<int32_t>{2, 1})) << "read numbers are compacted, order kept";
    EXPECT_EQ(circle.Reserved46, 0x11);

    // Version 1: ten pads; objects 3 and 7 share legacy group 5.
    for (bool sevenIsLast : {false, true}) {
        const int count = sevenIsLast ? 8 : 10;
        OldFile v1(1, 8000, 5000, static_cast<int16_t>(count));
        for (int i = 0; i < count; ++i)
            v1.record(2, static_cast<int16_t>(100 * i), -100, 40, 10, 0, 1, (i == 3 || i == 7) ? 5 : 0);
        LayoutDocument d1 = decoded(v1.bytes);
        const ObjectList& l1 = *d1.currentObjects();
        EXPECT_EQ(l1[3].Groups, std::vector<int32_t>{1});
        EXPECT_EQ(l1[7].Groups, std::vector<int32_t>{1});
        EXPECT_EQ(l1[3].LegacyGroup, 0);
        EXPECT_EQ(l1[7].LegacyGroup, sevenIsLast ? 5 : 0);
        EXPECT_TRUE(l1[0].Groups.empty());
    }
}

TEST(LayoutFile, HeaderVersionByte)
{
    LayoutDocument doc = LayoutDocument::withFirstBoard(Language::English);
    auto bytes = encoded(doc);
    bytes[1] = bytes[2] = bytes[3] = 0x42;
    EXPECT_TRUE(decodeDocument(bytes.data(), bytes.size(), Language::English, "x").document)
        << "only the first byte carries the version";
    bytes[0] = 4;
    ReadResult newer = decodeDocument(bytes.data(), bytes.size(), Language::English, "x.kbd");
    EXPECT_FALSE(newer.document);
    EXPECT_NE(newer.error.find("newer version"), std::string::npos) << newer.error;
}

TEST(LayoutFile, FailedWriteKeepsThePreviousFile)
{
    TempDir dir;
    const std::string target = dir.file("board.kbd");
    LayoutDocument doc = sampleDocument();
    ASSERT_EQ(writeDocument(doc, target, false, Language::English), "");
    const auto before = readBytes(target);
    EXPECT_TRUE(doc.Saved);

    // A directory that cannot take the temporary file: the old file stays.
    if (::geteuid() != 0) {
        ::chmod(dir.path().c_str(), 0555);
        LayoutDocument other = LayoutDocument::withFirstBoard(Language::English);
        EXPECT_NE(writeDocument(other, target, false, Language::English), "");
        ::chmod(dir.path().c_str(), 0755);
        EXPECT_EQ(readBytes(target), before);
    }
    // A target that is a directory cannot be replaced; nothing is left behind.
    const std::string asDirectory = dir.file("sub");
    ::mkdir(asDirectory.c_str(), 0755);
    LayoutDocument other = LayoutDocument::withFirstBoard(Language::English);
    const std::string error = writeDocument(other, asDirectory, false, Language::English);
    EXPECT_NE(error.find("sub"), std::string::npos) << error;
    EXPECT_FALSE(other.Saved);
    size_t entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path()))
        ++entries;
    EXPECT_EQ(entries, 2u) << "no temporary file remains";
}
