// Every input that once made a reader or the export fail, kept in
// tests/fuzz/regressions: it is refused with a message naming the file, or
// read into a document that writes back, reads again and exports.

#include "model/LayoutFile.h"
#include "model/MacroFile.h"
#include "model/QuotedPath.h"
#include "output/DrillExport.h"
#include "output/GerberExport.h"

#include "support/TestData.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace kestrel;
using namespace kestrel::test;
namespace fs = std::filesystem;

namespace {

std::vector<fs::path> regressionInputs(const char* kind)
{
    std::vector<fs::path> files;
    for (const auto& e : fs::directory_iterator(fs::path(KESTREL_SOURCE_DIR) / "tests/fuzz/regressions" / kind))
        files.push_back(e.path());
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace

TEST(FuzzRegressions, LayoutInputs)
{
    const auto files = regressionInputs("layout");
    ASSERT_FALSE(files.empty());
    for (const fs::path& file : files) {
        const auto bytes = readBytes(file.string());
        auto r = decodeDocument(bytes.data(), bytes.size(), Language::Russian, file.filename().string());
        if (!r) {
            EXPECT_NE(r.message().find(quotedPath(file.filename().string())), std::string::npos) << r.message();
            continue;
        }
        LayoutDocument& doc = r->document;
        prepareForWriting(doc, true);
        const auto written = encodeDocument(doc);
        EXPECT_TRUE(succeeded(decodeDocument(written.data(), written.size(), Language::English, "again.kbd")))
            << file;
        for (GerberLayer layer : {GerberLayer::K1, GerberLayer::LStop2})
            EXPECT_FALSE(exportGerber(*doc.currentObjects(), doc.Working, GerberOptions::presetFor(layer),
                                      Language::English)
                             .empty())
                << file;
        EXPECT_FALSE(exportDrill(*doc.currentObjects(), doc.Working, DrillSide::Solder).empty()) << file;
    }
}

TEST(FuzzRegressions, MacroInputs)
{
    const auto files = regressionInputs("macro");
    ASSERT_FALSE(files.empty());
    for (const fs::path& file : files) {
        const auto bytes = readBytes(file.string());
        auto r = decodeMacro(bytes.data(), bytes.size(), Language::English, file.filename().string());
        if (!r) {
            EXPECT_NE(r.message().find(quotedPath(file.filename().string())), std::string::npos) << r.message();
        }
    }
}
