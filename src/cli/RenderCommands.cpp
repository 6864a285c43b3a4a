// kestrel-cli pdf and bmp: printing to a PDF file and the bitmap export.
// Both draw with Qt, which kestrel-cli does not link; they run in
// kestrel-cli-render, installed beside kestrel-cli, which this file starts
// in its own place with the same arguments.

#include "cli/Command.h"
#include "cli/ExportRuns.h"

namespace kestrel::cli {

namespace {

int runPdf(const std::vector<std::string>& args) { return runRenderer("pdf", args); }
int runBmp(const std::vector<std::string>& args) { return runRenderer("bmp", args); }

const std::string kPdfUsageRu =
    "использование: kestrel-cli pdf [--board N] [--layers K1,B1,LStop1] [--mirror] [--scale ПРОЦЕНТ]\n"
    "                               [--calibrate X,Y] [--tiles N] [--gap ММ] [--shift X,Y]\n"
    "                               [--lang ru|en] ВХОД.kbd ВЫХОД.pdf\n\n"
    "Печатает плату N (счёт с 0; по умолчанию активная плата) на странице A4 так, как это делает\n"
    "диалог печати редактора, когда печать идёт в файл PDF: 1000 единиц — это 1 см на бумаге,\n"
    "умноженный на поправку принтера. --layers называет слои одной стороны (по умолчанию фольга\n"
    "активной стороны): K — фольга, B — маркировка, LStop — паяльная маска. --scale — от 10 до 1000\n"
    "с шагом 10 (по умолчанию 100, натуральный масштаб); --calibrate задаёт коэффициенты поправки по\n"
    "горизонтали и вертикали, каждый от 0.8 до 1.2; --tiles ставит от 1 до 20 копий рядом,\n"
    "на расстоянии --gap мм друг от друга (от 0 до 50 с шагом 0.1, по умолчанию 0; мм платы, так что\n"
    "масштаб меняет расстояние, как и плату). --shift сдвигает плату на странице на X мм вправо и\n"
    "на Y мм вниз (каждый от -300 до 300, меньше при масштабе ниже 100 %: 32 мм при 10 %), как\n"
    "перетаскивание в окне просмотра диалога: зеркальная печать начинается от середины страницы\n"
    "(при малом масштабе — так близко к ней, как позволяют координаты печати, и тогда не сдвигается\n"
    "по X) и идёт влево, так что плате шире половины страницы сдвиг нужен; сдвиг, после которого\n"
    "на странице не остаётся ни одной копии, отклоняется (код выхода 1), а не печатает пустой\n"
    "лист. --lang выбирает язык сообщений (по умолчанию ru; подходят и 0 и 1).\n\n"
    "примеры:\n"
    "  kestrel-cli pdf --layers K2,LStop2 --mirror --calibrate 1.02,0.99 board.kbd side2.pdf\n"
    "  kestrel-cli pdf --board 1 --scale 50 --tiles 3 --gap 2.5 --lang en board.kbd copies.pdf\n";

const std::string kPdfUsageEn =
    "usage: kestrel-cli pdf [--board N] [--layers K1,B1,LStop1] [--mirror] [--scale PERCENT]\n"
    "                       [--calibrate X,Y] [--tiles N] [--gap MM] [--shift X,Y]\n"
    "                       [--lang ru|en] IN.kbd OUT.pdf\n\n"
    "Prints board N (0-based; default the active board) on an A4 page as the editor's\n"
    "print dialog does with a PDF file as its target: 1000 units are 1 cm on paper times\n"
    "the calibration. --layers names the layers of one side (default the copper of the\n"
    "active side): K copper, B silk screen, LStop solder mask. --scale is 10 to 1000 in\n"
    "steps of 10 (default 100, true scale); --calibrate gives the horizontal and vertical\n"
    "factors, each 0.8 to 1.2; --tiles puts 1 to 20 copies side by side, --gap mm apart\n"
    "(0 to 50 in steps of 0.1, default 0; millimetres of the board, so the scale changes\n"
    "the gap as it does the board). --shift moves the board on the page X mm to the right\n"
    "and Y mm down (each -300 to 300, less below 100 %: 32 mm at 10 %), as dragging the\n"
    "dialog's preview does: a mirrored print starts at the middle of the page (at small\n"
    "scales as near to it as the print's coordinates reach, and cannot then be shifted\n"
    "sideways) and runs to the left, so a board wider than half the page needs it; a shift\n"
    "that leaves no copy on the page is refused (exit 1) rather than printing a blank\n"
    "sheet. --lang chooses the language of the messages (default ru; 0 and 1 are accepted\n"
    "too).\n\n"
    "examples:\n"
    "  kestrel-cli pdf --layers K2,LStop2 --mirror --calibrate 1.02,0.99 board.kbd side2.pdf\n"
    "  kestrel-cli pdf --board 1 --scale 50 --tiles 3 --gap 2.5 --lang en board.kbd copies.pdf\n";

const Registration pdf({"pdf",
                        {"напечатать одну сторону платы в файл PDF, как это делает диалог печати",
                         "print one side of a board to a PDF file, as the print dialog does"},
                        {kPdfUsageRu, kPdfUsageEn}, runPdf});

const std::string kBmpUsageRu =
    "использование: kestrel-cli bmp [--board N] [--dpi D] [--colour] [--layers K1,B1,K2,B2]\n"
    "                               [--lang ru|en] ВХОД.kbd ВЫХОД.bmp\n\n"
    "Рисует плату N (счёт с 0; по умолчанию активная плата) так, как это делает экспорт рисунка в\n"
    "редакторе: плата заполняет весь рисунок, её видимые слои — в порядке и цветах экрана, выделенные\n"
    "объекты — как невыделенные. --dpi — от 100 до 600 (по умолчанию 300), записывается в файл;\n"
    "рисунок чёрно-белый (1 бит), если --colour не запрашивает 16 цветов (4 бита). --layers выбирает\n"
    "показываемые слои (по умолчанию те, что показаны в документе); слои одной стороны рисуются\n"
    "так, как редактор показывает их, когда эта сторона активна. В чёрно-белом рисунке рисуется\n"
    "только активная сторона: серый цвет другой стороны стал бы белым и прорезал бы просветы в\n"
    "общей шине.\n"
    "--lang выбирает язык сообщений (по умолчанию ru; подходят и 0 и 1).\n\n"
    "примеры:\n"
    "  kestrel-cli bmp board.kbd board.bmp\n"
    "  kestrel-cli bmp --dpi 600 --colour --layers K1,B1 --lang en board.kbd top.bmp\n";

const std::string kBmpUsageEn =
    "usage: kestrel-cli bmp [--board N] [--dpi D] [--colour] [--layers K1,B1,K2,B2]\n"
    "                       [--lang ru|en] IN.kbd OUT.bmp\n\n"
    "Draws board N (0-based; default the active board) as the editor's bitmap export\n"
    "does: the board fills the bitmap, its visible layers in the screen's order and\n"
    "colours, selected objects as unselected. --dpi is 100 to 600 (default 300) and is\n"
    "stored in the file; the bitmap is black and white (1 bit) unless --colour asks\n"
    "for 16 colours (4 bits). --layers chooses the layers shown (default those shown\n"
    "in the document); layers of one side are drawn with that side active, as the\n"
    "editor shows them. In black and white only the active side is drawn: the other\n"
    "side's grey would turn white and cut gaps into a ground plane.\n"
    "--lang chooses the language of the messages (default ru; 0 and 1 are accepted too).\n\n"
    "examples:\n"
    "  kestrel-cli bmp board.kbd board.bmp\n"
    "  kestrel-cli bmp --dpi 600 --colour --layers K1,B1 --lang en board.kbd top.bmp\n";

const Registration bmp({"bmp",
                        {"записать видимые слои платы в рисунок Windows BMP",
                         "write the visible layers of a board as a Windows bitmap"},
                        {kBmpUsageRu, kBmpUsageEn}, runBmp});

} // namespace
} // namespace kestrel::cli
