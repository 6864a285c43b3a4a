// Damaged files must be rejected with a message, never crash or leave a
// document whose references point outside it.

#include "model/LayoutFile.h"
#include "model/MacroFile.h"

#include "support/TestData.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <unordered_set>

using namespace kestrel;
using namespace kestrel::test;

namespace {

std::vector<uint8_t> sampleBytes()
{
    LayoutDocument doc = sampleDocument();
    prepareForWriting(doc, false);
    return encodeDocument(doc);
}

// Every reference of a read document stays inside its own board.
void expectConsistent(const LayoutDocument& doc)
{
    ASSERT_GE(doc.boardCount(), 1u);
    ASSERT_GE(doc.ActiveBoard, 0);
    ASSERT_LT(static_cast<size_t>(doc.ActiveBoard), doc.boardCount());
    for (size_t b = 0; b < doc.boardCount(); ++b) {
        std::unordered_set<const LayoutObject*> members;
        for (const auto& o : doc.board(b).Objects)
            members.insert(o.get());
        for (const auto& o : doc.board(b).Objects) {
            if (o->Partner) {
                ASSERT_TRUE(members.count(o->Partner));
                ASSERT_EQ(o->Partner->Partner, o.get()) << "partners are mutual after reading";
            }
            for (const LayoutObject* c : o->Connections)
                ASSERT_TRUE(members.count(c));
        }
    }
}

} // namespace

TEST(Robustness, EveryTruncationIsRejected)
{
    const auto bytes = sampleBytes();
    for (size_t n = 0; n < bytes.size(); ++n) {
        ReadResult r = decodeDocument(bytes.data(), n, Language::English, "cut.kbd");
        ASSERT_FALSE(r.document) << "a file cut to " << n << " bytes was accepted";
        ASSERT_NE(r.error.find("cut.kbd"), std::string::npos) << r.error;
    }
}

TEST(Robustness, RandomCorruptionsNeverCrash)
{
    const auto original = sampleBytes();
    std::mt19937 rng(20261206);
    size_t accepted = 0;
    for (int round = 0; round < 4000; ++round) {
        auto bytes = original;
        const int flips = 1 + static_cast<int>(rng() % 4);
        for (int f = 0; f < flips; ++f) {
            const size_t at = rng() % bytes.size();
            switch (rng() % 3) {
            case 0: bytes[at] = static_cast<uint8_t>(rng()); break;
            case 1: bytes[at] ^= static_cast<uint8_t>(1u << (rng() % 8)); break;
            default: bytes[at] = (rng() % 2) ? 0xFF : 0x7F; break;
            }
        }
        ReadResult r = decodeDocument(bytes.data(), bytes.size(), Language::English, "bad.kbd");
        if (r.document) {
            ++accepted;
            expectConsistent(*r.document);
            // What was accepted can be written again.
            prepareForWriting(*r.document, true);
            EXPECT_FALSE(encodeDocument(*r.document).empty());
        } else {
            EXPECT_FALSE(r.error.empty());
        }
    }
    // Most single-byte changes land in coordinates and stay readable.
    EXPECT_GT(accepted, 100u);
}

TEST(Robustness, InconsistentCountsAndIndices)
{
    const auto bytes = sampleBytes();
    const size_t objectCountAt = 8 + 31 + 482;
    struct Case {
        const char* what;
        size_t at;
        int32_t value;
        const char* message;
    };
    const Case cases[] = {
        {"negative board count", 4, -1, "negative board count"},
        {"huge board count", 4, 0x7FFFFFFF, "board count"},
        {"huge object count", objectCountAt, 1 << 30, "object count"},
        {"group count past the end", objectCountAt + 4 + 74, 1 << 28, "group count"},
        {"partner index past the list", objectCountAt + 4 + 74 + 4 + 8, 5000, "partner index"},
    };
    for (const Case& c : cases) {
        auto damaged = bytes;
        std::memcpy(damaged.data() + c.at, &c.value, 4);
        ReadResult r = decodeDocument(damaged.data(), damaged.size(), Language::English, "d.kbd");
        EXPECT_FALSE(r.document) << c.what;
        EXPECT_NE(r.error.find(c.message), std::string::npos) << c.what << ": " << r.error;
    }
    // The active-board index at the end must name a board.
    auto damaged = bytes;
    const int32_t badActive = 7;
    std::memcpy(damaged.data() + damaged.size() - 12, &badActive, 4);
    ReadResult r = decodeDocument(damaged.data(), damaged.size(), Language::Russian, "d.kbd");
    EXPECT_FALSE(r.document);
    EXPECT_NE(r.error.find("не прочитан"), std::string::npos) << r.error;
}

TEST(Robustness, DamagedMacrosAreRejected)
{
    LayoutDocument doc = sampleDocument();
    const MacroImage image = encodeMacro(*doc.currentObjects(), true, false, 254.0);
    for (size_t n = 0; n < image.bytes.size(); ++n)
        ASSERT_FALSE(decodeMacro(image.bytes.data(), n, Language::English, "m.kmk").objects) << n;
    std::mt19937 rng(7);
    for (int round = 0; round < 1000; ++round) {
        auto bytes = image.bytes;
        bytes[rng() % bytes.size()] = static_cast<uint8_t>(rng());
        MacroReadResult r = decodeMacro(bytes.data(), bytes.size(), Language::English, "m.kmk");
        EXPECT_TRUE(r.objects || !r.error.empty());
    }
}
