// Export of whatever the layout reader accepts: every Gerber layer of the
// active board and its drill file.

#include "model/LayoutFile.h"
#include "output/DrillExport.h"
#include "output/GerberExport.h"

#include <cstdint>
#include <cstdlib>

using namespace kestrel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto read = decodeDocument(data, size, Language::English, "fuzz.kbd");
    if (!read)
        return 0;
    LayoutDocument& doc = read->document;
    const ObjectList* objects = doc.currentObjects();
    if (!objects)
        std::abort(); // a read document always has an active board
    for (GerberLayer layer : {GerberLayer::K1, GerberLayer::B1, GerberLayer::LStop1, GerberLayer::K2,
                              GerberLayer::B2, GerberLayer::LStop2})
        if (exportGerber(*objects, doc.Working, GerberOptions::presetFor(layer), Language::English).empty())
            std::abort();
    exportDrill(*objects, doc.Working, DrillSide::Solder);
    exportDrill(*objects, doc.Working, DrillSide::Component);
    return 0;
}
