// Opening every input that once broke a reader, the way File > Open does:
// the editor shows a message and keeps the open document as it was.

#include "WindowFixture.h"

#include <filesystem>

namespace kestrel::test {
namespace {

TEST(DamagedFiles, OpeningNeverChangesTheOpenDocument)
{
    std::vector<std::filesystem::path> files;
    for (const auto& e : std::filesystem::directory_iterator(std::string(KESTREL_SOURCE_DIR) +
                                                             "/tests/fuzz/regressions/layout"))
        files.push_back(e.path());
    ASSERT_FALSE(files.empty());
    for (const auto& file : files) {
        SCOPED_TRACE(file.string());
        const auto bytes = readBytes(file.string());
        const bool readable = decodeDocument(bytes.data(), bytes.size(), Language::English, "x").ok();
        WindowFixture f;
        f.addContent();
        const auto before = encodeDocument(f.doc());
        f.openNames = {q(file.string())};
        f.answers = {Answer::No};
        f.trigger("TB_Open");
        EXPECT_TRUE(f.exhausted());
        if (readable) {
            EXPECT_EQ(f.doc().FileName, file.string());
            continue;
        }
        ASSERT_EQ(f.messages.size(), 1u);
        EXPECT_TRUE(f.messages[0].text.contains(QString::fromStdString(file.filename().string())))
            << f.messages[0].text.toStdString();
        EXPECT_EQ(encodeDocument(f.doc()), before);
        EXPECT_TRUE(f.doc().FileName.empty());
        EXPECT_TRUE(f.doc().Modified);
    }
}

} // namespace
} // namespace kestrel::test
