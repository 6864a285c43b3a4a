#include "output/ScannedCopy.h"

#include "support/TestData.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace kestrel;
using namespace kestrel::test;

TEST(ScannedCopy, PlacementFromResolutionAndOffsets)
{
    struct Row {
        int32_t w, h;
        int dpi;
        int32_t dx, dy;
        Rect expected; // left, lower y, right, upper y
        const char* why;
    } rows[] = {
        {1200, 600, 600, 25, 10, {250, -2640, 5330, -100}, "2.5 mm right, 1 mm down"},
        {1200, 600, 0, 0, 0, {0, -2540, 5080, 0}, "no resolution: 600 dpi (the limits: ResolutionLimits)"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(scanRectUnits(r.w, r.h, r.dpi, r.dx, r.dy), r.expected) << r.why;
}

TEST(ScannedCopy, ResolutionLimits)
{
    const std::tuple<int, int, int> rows[] = {
        // dpi, fallback, result
        {0, 300, 300}, {0, 0, 20}, {19, 600, 20}, {20, 600, 20}, {2400, 600, 2400}, {2401, 600, 2400},
        {-300, 600, 600}, // a negative resolution in a header is none
    };
    for (const auto& [dpi, fallback, expected] : rows)
        EXPECT_EQ(clampedCopyDpi(dpi, fallback), expected) << dpi;
}

TEST(ScannedCopy, PathsFromFilesAreCheckedNotCut)
{
    TempDir dir;
    writeBytes(dir.file("scan.bmp"), {1, 2, 3});
    const std::string longName(kCopyFileMax + 1, 'a');
    std::string cyrillic;
    for (int i = 0; i < kCopyFileMax; ++i)
        cyrillic += "ж"; // two bytes, one character
    EXPECT_EQ(*storableCopyPath("C:\\scans\\top.bmp", Language::English), "C:/scans/top.bmp");
    EXPECT_FALSE(storableCopyPath(longName, Language::English).ok()) << "refused, not cut";
    EXPECT_TRUE(storableCopyPath(cyrillic, Language::English).ok()) << "characters are counted, not bytes";
    const auto umlaut = storableCopyPath("/home/jürgen/scan.bmp", Language::Russian);
    ASSERT_FALSE(umlaut.ok()) << "a name the file would keep as '?' is refused";
    EXPECT_EQ(umlaut.message(), "/home/jürgen/scan.bmp: этот знак имени не сохраняется в файле документа: ü");

    const std::tuple<std::string, bool, const char*> rows[] = { // stored path, usable, why
        {dir.file("scan.bmp"), true, "a regular file"},
        {dir.file("missing.bmp"), false, "no such file"},
        {dir.path() + "/" + longName, false, "too long"},
    };
    for (const auto& [stored, usable, why] : rows)
        EXPECT_EQ(usableCopyPath(stored, Language::English).ok(), usable) << why;
    std::string windows = dir.file("scan.bmp");
    std::replace(windows.begin(), windows.end(), '/', '\\');
    EXPECT_EQ(usableCopyPath(dir.file("missing.bmp"), Language::English).message(),
              dir.file("missing.bmp") + ": no such file");
    EXPECT_EQ(usableCopyPath(dir.path(), Language::Russian).message(), dir.path() + ": это не файл");
    ASSERT_TRUE(usableCopyPath(windows, Language::English).ok()) << "separators are normalised first";
    EXPECT_EQ(*usableCopyPath(windows, Language::English), dir.file("scan.bmp"));
}
