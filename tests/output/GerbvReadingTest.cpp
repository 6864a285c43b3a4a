// The exports read back by gerbv, an independent Gerber and Excellon reader:
// it must load them without a complaint, and its rendering must show copper,
// gaps, holes and openings where the board says they are.

#include "geometry/Figures.h"
#include "output/GerberExport.h"
#include "route/GroundPlane.h"

#include "OutputTestUtil.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>
#include <fstream>

using namespace kestrel;
using namespace kestrel::test;

namespace {

constexpr int32_t kW = 4000, kH = 3000, kUnitsPerPixel = 5;

class GerbvReading : public ::testing::Test {
protected:
    void SetUp() override
    {
        settings = boardOf(kW, kH);
        // Every pad shape in a row; hole radii 20, 25, ... 60 give nine tools.
        for (int i = 0; i < 9; ++i)
            (addPad(list, {400 + 400 * i, -600}, 80, static_cast<uint8_t>(i + 1), 1, 20 + 5 * i));
        addTrack(list, {{400, -1400}, {3600, -1400}}, 40);
        for (int32_t x : {800, 2000}) { // a ring, and an arc from 0 to 180 degrees
            LayoutObject& c = list.append(makeCircle({x, -2200}, 300, 1, 1, 240));
            c.Width = x == 800 ? 0 : 180, c.Clearance = 40;
        }
        LayoutObject& zone = list.append(makeZone(20, 1));
        zone.Points = {{2800, -2000}, {3600, -2000}, {3600, -2600}, {2800, -2600}};
        zone.Clearance = 40;
        addVia(list, {3200, -1000}, 60, 30);
        addTrack(list, {{400, -1700}, {3600, -1700}}, 40, 2); // silk: in no copper file
    }

    // Renders one file in grey, white on black; any complaint of gerbv fails the test.
    void render(const std::string& text, const std::string& name, bool mirrored)
    {
        const std::string in = dir.file(name), png = in + ".png", err = in + ".err";
        std::ofstream(in, std::ios::binary) << text;
        const auto px = [](int32_t units) { return std::to_string(units / kUnitsPerPixel); };
        const std::string command = "gerbv -x png -o '" + png + "' --dpi " + px(2540) + " --border 0 --origin 0x0" +
                                    " --window " + px(kW) + "x" + px(kH) + " --background '#000000'" +
                                    " --foreground '#FFFFFF' '" + in + "' >/dev/null 2>'" + err + "'";
        EXPECT_EQ(std::system(command.c_str()), 0) << name;
        const std::string complaints = fileText(err);
        for (const char* level : {"CRITICAL", "WARNING"})
            EXPECT_EQ(complaints.find(level), std::string::npos) << name << ":\n" << complaints;
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        grey.clear();
        if (png_image_begin_read_from_file(&image, png.c_str())) {
            image.format = PNG_FORMAT_GRAY;
            grey.resize(PNG_IMAGE_SIZE(image));
            if (!png_image_finish_read(&image, nullptr, grey.data(), 0, nullptr))
                grey.clear();
        }
        EXPECT_EQ(grey.size(), size_t(kW / kUnitsPerPixel * kH / kUnitsPerPixel)) << name << ": " << image.message;
        mirrored_ = mirrored;
    }

    // Whether the rendering is lit (foreground) at a board point, as the file places it.
    bool lit(Point p) const
    {
        constexpr int w = kW / kUnitsPerPixel, h = kH / kUnitsPerPixel;
        const int col = (mirrored_ ? kW - p.x : p.x) / kUnitsPerPixel, row = -p.y / kUnitsPerPixel;
        return col >= 0 && row >= 0 && col < w && row < h && grey.size() == size_t(w * h) && grey[row * w + col] > 127;
    }

    TempDir dir;
    ObjectList list;
    BoardSettings settings;
    std::vector<uint8_t> grey;
    bool mirrored_ = false;
};

} // namespace

// The ground plane arithmetic gives the same copper as polygons: wherever it
// is sure of a whole neighbourhood, the mirrored rendering must agree.
TEST_F(GerbvReading, CopperWithGroundPlaneMatchesTheClearanceRegions)
{
    settings.GroundPlane1 = 1;
    render(exportGerber(list, settings, GerberOptions::presetFor(GerberLayer::K1), Language::English), "k1.gbr", true);
    Region copper = groundPlaneRegion(list, settings, Layer::K1);
    for (const auto& o : list) {
        LayoutObject plain = *o;
        plain.Clearance = 0;
        if (o->Layer == Layer::K1)
            copper = copper.united(o->is(ObjectKind::Pad) ? grownPadRegion(*o, 0) : clearanceRegion(plain));
    }
    int compared = 0, mismatches = 0;
    for (int32_t y = -kH + 20; y < -20; y += 16) {
        for (int32_t x = 20; x < kW - 20; x += 16) {
            const bool inside = copper.contains({x, y});
            bool sure = true;
            for (int d = 0; d < 9 && sure; ++d) // margin 8 all round
                sure = copper.contains({x + (d % 3 - 1) * 8, y + (d / 3 - 1) * 8}) == inside;
            if (sure && ++compared && lit({x, y}) != inside && ++mismatches <= 10)
                ADD_FAILURE() << "at (" << x << ", " << y << ") the region says " << inside;
        }
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_GT(compared, 35000);
}
