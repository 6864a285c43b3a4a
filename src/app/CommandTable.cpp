#include "app/CommandTable.h"

#include <array>

namespace kestrel {

namespace {

using K = CommandKind;
using R = CommandRule;

constexpr MenuCommand menu(const char* name, const char* parent, const char* ru, const char* en)
{
    return {K::Menu, name, parent, ru, en};
}

constexpr MenuCommand item(const char* name, const char* parent, const char* ru, const char* en,
                           const char* handler, R rule = R::Always, const char* shortcut = nullptr)
{
    return {K::Item, name, parent, ru, en, shortcut, handler, 0, rule};
}

constexpr MenuCommand checkItem(const char* name, const char* parent, const char* ru, const char* en,
                                const char* handler, int tag = 0)
{
    return {K::Item, name, parent, ru, en, nullptr, handler, tag, R::Always, true};
}

constexpr MenuCommand separator(const char* parent, const char* name = nullptr)
{
    return {K::Separator, name, parent, "-", "-"};
}

constexpr MenuCommand shape(const char* name, const char* ru, const char* en, int tag)
{
    return {K::Item, name, "LAForm_Popup", ru, en, nullptr, "LAForm_PopupClick", tag};
}

// Entry 1..4 of the file history, its number as the tag.
constexpr MenuCommand history(const char* name, int number)
{
    return {K::Item, name, "Datei1", "", nullptr, nullptr, "HistoryClick", number, R::Always, false, true};
}

const auto kMenus = std::to_array<MenuCommand>({
    menu("Datei1", nullptr, "&Файл", "&File"),
    item("Neu1", "Datei1", "&Новый файл", "&New...", "SB_NeuClick", R::Always, "Ctrl+N"),
    item("ffnen1", "Datei1", "&Открыть", "&Open...", "SB_LoadClick", R::Always, "Ctrl+O"),
    item("Speichern1", "Datei1", "&Сохранить", "&Save", "SB_SaveClick", R::Always, "Ctrl+S"),
    item("Speichernals1", "Datei1", "Сохранить &как", "S&ave as...", "Speichernals1Click"),
    item("Makrospeichern1", "Datei1", "Сохранить как &Макрос", "Save as &macro...", "Makrospeichern1Click"),
    item("Autospeichern1", "Datei1", "&Автосохранение файла", "Au&toSave...", "Autospeichern1Click"),
    separator("Datei1"),
    menu("Exportieren1", "Datei1", "&Экспорт файла", "E&xport"),
    item("GerberFormat1", "Exportieren1", "&Формат Gerber", "&Gerber export...", "Gerber274Xerzeugen1Click"),
    item("BohrDatenExcellon1", "Exportieren1", "Фо&рмат Excellon", "&Drill data (Excellon)...", "Bohrdaten1Click"),
    item("N1", "Exportieren1", "Фор&мат *.BMP", "&Bitmap export...", "N1Click"),
    item("FabPackage1", "Exportieren1", "&Пакет для производства...", "&Fab package...", "FabPackageClick"),
    separator("Datei1"),
    item("Druckereinrichten1", "Datei1", "П&ринтер (настройка)", "P&rinter Setup", "Druckereinrichten1Click"),
    item("Drucken1", "Datei1", "&Печать", "&Print...", "SB_PrintClick", R::Always, "Ctrl+P"),
    separator("Datei1", "HistoryTrenner"),
    history("History1", 1),
    history("History2", 2),
    history("History3", 3),
    history("History4", 4),
    item("Beenden1", "Datei1", "&Закрыть", "&Quit", "Beenden1Click"),

    menu("Bearbeiten1", nullptr, "&Действия", "&Edit"),
    item("Rckgngig1", "Bearbeiten1", "&Отменить", "&Undo", "Rckgngig1Click", R::Undo, "Alt+Backspace; Ctrl+Z"),
    item("Wiederholen1", "Bearbeiten1", "&Повторить", "&Redo", "RedoClick", R::Redo, "Ctrl+Y"),
    separator("Bearbeiten1"),
    item("Kopieren1", "Bearbeiten1", "&Копировать", "C&opy", "SB_CopyClick", R::Any, "Ctrl+C"),
    item("Ausschneiden1", "Bearbeiten1", "Выре&зать", "&Cut", "SB_CutClick", R::Any, "Ctrl+X"),
    item("Einfgen1", "Bearbeiten1", "&Вставить", "&Paste", "SB_InsertClick", R::Paste, "Ctrl+V"),
    item("Duplizieren1", "Bearbeiten1", "&Дубликат", "Dup&licate", "Duplizieren1Click", R::Any, "Ctrl+D"),
    item("Lschen1", "Bearbeiten1", "&Удалить", "&Delete", "SB_DelClick", R::Any, "Del"),
    separator("Bearbeiten1"),
    item("Allesmarkieren1", "Bearbeiten1", "Выде&лить всё", "Select &all", "Allesmarkieren1Click", R::Select,
         "Ctrl+A"),

    menu("Platine1", nullptr, "&Плата", "&Board"),
    item("NeuePlatine1", "Platine1", "&Новая плата", "&Add new board", "NeuePlatine1Click"),
    item("Platinengrsse1", "Platine1", "Установка &размеров", "&Properties", "Layoutgroesse1Click"),
    item("Platinelschen1", "Platine1", "&Удалить плату", "&Delete board", "Platinelschen1Click"),
    separator("Platine1"),
    item("Platinenachrechts1", "Platine1", "Переместить в &конец", "Move board to &right", "Platinenachrechts1Click"),
    item("Platinenachlinks1", "Platine1", "&Переместить в начало", "Move board to &left", "Platinenachlinks1Click"),
    separator("Platine1"),
    item("Platinennachladen1", "Platine1", "&Открыть файл платы *.KBD", "&Import from file...",
         "Platinennachladen1Click"),

    menu("Funktionen1", nullptr, "П&равка платы", "F&unctions"),
    item("Rotieren1", "Funktionen1", "&Повернуть на 90° градусов", "&Rotate", "SB_RotateClick", R::Any, "Ctrl+R"),
    item("Horizontalspiegeln2", "Funktionen1", "&Зеркало по горизонтали", "Mirror &horizontal", "SB_HSpiegelnClick",
         R::Any, "Ctrl+H"),
    item("Vertikalspiegeln2", "Funktionen1", "Зеркало по &вертикали", "Mirror &vertical", "SB_VSpiegelnClick", R::Any,
         "Ctrl+T"),
    item("Kreisbogen2", "Funktionen1", "&Сектор круга", "&Segment", "Kreisbogen1Click", R::Circle),
    separator("Funktionen1"),
    item("Gruppieren1", "Funktionen1", "С&группировать", "Build &group", "SB_GruppierenClick", R::Group, "Ctrl+G"),
    item("Gruppierungaufheben1", "Funktionen1", "&Разгруппировать", "Split gro&up", "SB_GruppeAufloesenClick",
         R::Ungroup, "Ctrl+U"),
    separator("Funktionen1"),
    item("amRasterausrichten1", "Funktionen1", "Подогнать под &координатную сетку", "&Adjust to grid",
         "SB_AusrichtenClick", R::Any),
    item("Luftlinienentfernen1", "Funktionen1", "&Удаление ненужных перемычек", "Remove rubber &bands",
         "TB_ClearConnectionsClick", R::Bands),
    separator("Funktionen1"),
    item("DesignCheck1", "Funktionen1", "Проверка правил проек&тирования...", "&Design check...", "DesignCheckClick"),

    menu("Optionen1", nullptr, "&Опции", "&Options"),
    item("Vorlage1", "Optionen1", "&Фоновый рисунок", "&Scanned copy...", "Vorlage1Click"),
    checkItem("Makrofenster1", "Optionen1", "&Библиотека Макросов", "&Macro library", "SB_MakrofensterClick"),
    checkItem("M_AutoMasse", "Optionen1", "Общая &шина (масса)", "&GroundPlane", "M_AutoMasseClick"),
    menu("Linealeinheit1", "Optionen1", "&Единицы измерения", "&Rulers"),
    checkItem("E_MM", "Linealeinheit1", "&мм", "&mm", "EinheitClick", 1),
    checkItem("E_Zoll", "Linealeinheit1", "&дюйм", "&Inch", "EinheitClick", 2),
    separator("Optionen1"),
    item("ZoomPlatine1", "Optionen1", "&Лупа-Общий вид", "Zoom &board", "TB_ZoomAllesClick"),
    item("ZoomObjekte1", "Optionen1", "Лупа-&Плата", "Zoom &objects", "TB_ZoomObjekteClick", R::Objects),
    item("ZoomMarkierung1", "Optionen1", "Лупа-Вы&деление", "&Zoom selection", "TB_ZoomMarkierungClick", R::Any),
    item("Neuzeichnen1", "Optionen1", "&Обновить вид", "Re&paint", "SB_NeuzeichnenClick"),
    separator("Optionen1"),
    checkItem("Hinweistexte1", "Optionen1", "&Всплывающая подсказка", "Show &hints", "Hinweistexte1Click"),
    menu("Sprache1", "Optionen1", "&Язык интерфейса", "&Language"),
    checkItem("SpracheRussisch1", "Sprache1", "&Русский", "&Russian", "SpracheClick", 0),
    checkItem("SpracheEnglisch1", "Sprache1", "&Английский", "&English", "SpracheClick", 1),

    menu("L1", nullptr, "&Стороны", "&Layers"),
    menu("AktiverLayer1", "L1", "&Активная сторона", "&Active layer"),
    checkItem("K1", "AktiverLayer1", "&Фольга сторона  (1)", "&Copper (1)", "B2Click", 1),
    checkItem("B1", "AktiverLayer1", "&Маска сторона    (1)", "&Silk screen (1)", "B2Click", 2),
    checkItem("K2", "AktiverLayer1", "Фольга &сторона  (2)", "Co&pper (2)", "B2Click", 3),
    checkItem("B2", "AktiverLayer1", "Мас&ка сторона    (2)", "Sil&k screen (2)", "B2Click", 4),
    menu("SichtbareLayer1", "L1", "&Показать сторону", "&Visible layers"),
    checkItem("SK1", "SichtbareLayer1", "&Фольга сторона  (1)", "&Copper (1)", "SB2Click", 1),
    checkItem("SB1", "SichtbareLayer1", "&Маска сторона    (1)", "&Silk screen (1)", "SB2Click", 2),
    checkItem("SK2", "SichtbareLayer1", "Фольга &сторона  (2)", "Co&pper (2)", "SB2Click", 3),
    checkItem("SB2", "SichtbareLayer1", "Мас&ка сторона    (2)", "Sil&k screen (2)", "SB2Click", 4),

    menu("Info1", nullptr, "&?", nullptr),
    item("Index1", "Info1", "&Помощь", "&Index", "Index1Click"),
    item("Info2", "Info1", "&О программе", "&About Kestrel...", "Info2Click"),

    // The drawing area's pop-up menu, opened by the edit tool.
    {K::Popup, "PopupMenu", nullptr, "", ""},
    item("Kopieren2", "PopupMenu", "&Копировать", "C&opy", "SB_CopyClick", R::Any),
    item("Ausschneiden2", "PopupMenu", "Выре&зать", "&Cut", "SB_CutClick", R::Any),
    item("Einfgen2", "PopupMenu", "&Вставить", "&Paste", "SB_InsertClick", R::Paste),
    item("Duplizieren2", "PopupMenu", "&Дубликат", "Dup&licate", "Duplizieren1Click", R::Any),
    item("Lschen2", "PopupMenu", "&Удалить", "&Delete", "SB_DelClick", R::Any),
    separator("PopupMenu"),
    item("Rotieren2", "PopupMenu", "&Повернуть на 90° ", "&Rotate", "SB_RotateClick", R::Any),
    item("Horizontalspiegeln1", "PopupMenu", "Зеркало по горизо&нтали", "Mirror &horizontal", "SB_HSpiegelnClick",
         R::Any),
    item("Vertikalspiegeln1", "PopupMenu", "Зеркало по вер&тикали", "Mirror &vertical", "SB_VSpiegelnClick", R::Any),
    separator("PopupMenu"),
    item("Gruppieren2", "PopupMenu", "С&группировать", "Build &group", "SB_GruppierenClick", R::Group),
    item("Gruppierungaufheben2", "PopupMenu", "&Разгруппировать", "Split gro&up", "SB_GruppeAufloesenClick",
         R::Ungroup),
    item("Kreisbogen1", "PopupMenu", "&Сектор круга", "&Segment", "Kreisbogen1Click", R::Circle),

    // The board tabs' pop-up menu.
    {K::Popup, "PlatinenPopup", nullptr, "", ""},
    item("NeuePlatine2", "PlatinenPopup", "&Новая плата", "&Add new board", "NeuePlatine1Click"),
    item("Platineeinrichten1", "PlatinenPopup", "Установка &размеров  ", "Board &properties", "Layoutgroesse1Click"),
    item("Platinelschen2", "PlatinenPopup", "&Удалить плату", "&Delete board", "Platinelschen1Click"),
    separator("PlatinenPopup"),
    item("Platinenachrechts2", "PlatinenPopup", "Переместить в &конец", "Move board to &right",
         "Platinenachrechts1Click"),
    item("Platinenachlinks2", "PlatinenPopup", "&Переместить в начало", "Move board to &left",
         "Platinenachlinks1Click"),

    // The grid button's menu: the predefined grids come first (added by the
    // window from the view's table), the user's grids follow N17.
    {K::Popup, "RasterPopup", nullptr, "", ""},
    separator("RasterPopup", "N17"),
    separator("RasterPopup", "R_Trenner"),
    item("R_Hinzufuegen", "RasterPopup", "&Добавить новую сетку", "&Add new grid value", "R_HinzufuegenClick"),
    item("R_Entfernen", "RasterPopup", "&Удалить из списка", "&Remove current grid value", "R_EntfernenClick"),
    separator("RasterPopup"),
    checkItem("Rastermarkierung1", "RasterPopup", "&Маркёр сетки", "&Subdivisions", "Rastermarkierung1Click"),
    checkItem("Rastersichtbar1", "RasterPopup", "&Показать сетку", "Show &grid", "Rastersichtbar1Click"),

    // The track widths beside SE_Breite and the pad sizes beside
    // SE_Aussen/SE_Innen: the user's entries go before the separator.
    {K::Popup, "LinienPopup", nullptr, "", ""},
    separator("LinienPopup", "L_Trenner"),
    item("L_Hinzufuegen", "LinienPopup", "&Записать", "&Add width", "L_HinzufuegenClick"),
    item("L_Entfernen", "LinienPopup", "&Стереть", "&Remove width", "L_EntfernenClick"),
    {K::Popup, "LA_Popup", nullptr, "", ""},
    separator("LA_Popup", "LA_Trenner"),
    item("LA_Hinzufuegen", "LA_Popup", "&Записать", "&Add pad dimension", "LA_HinzufuegenClick"),
    item("LA_Entfernen", "LA_Popup", "&Стереть", "&Remove pad dimension", "LA_EntfernenClick"),

    // The pad button's shape menu, the shape number as the tag.
    {K::Popup, "LAForm_Popup", nullptr, "", ""},
    shape("rund1", "&Круглая", "C&ircular", 1),
    shape("Octagon1", "&Восьмигранная", "&Octagon", 2),
    shape("Quadrat1", "Ква&дратная", "&Square", 3),
    shape("Abegrundetquer1", "&Скруглённая горизонтальная", "Rounded, &horizontal", 4),
    shape("Octagonquer1", "Восьмигранная &горизонтальная", "O&ctagon, horizontal", 5),
    shape("Rechteckquer1", "&Прямоугольная горизонтальная", "Recta&ngle, horizontal", 6),
    shape("Abgerundethoch1", "Скруглённая вер&тикальная", "Rounded, &vertical", 7),
    shape("Octagonhoch1", "Вось&мигранная вертикальная", "Octa&gon, vertical", 8),
    shape("Rechteckhoch1", "П&рямоугольная вертикальная", "Rectang&le, vertical", 9),
    separator("LAForm_Popup"),
    checkItem("Durchkontaktierung1", "LAForm_Popup", "Переходное &отверстие\tF12", "&Through-hole via\tF12",
              "Durchkontaktierung1Click"),
});

const auto kToolBar = std::to_array<ToolBarCommand>({
    {"TB_Neu", "SB_NeuClick", "new"},
    {"TB_Open", "SB_LoadClick", "open"},
    {"TB_Save", "SB_SaveClick", "save"},
    {"TB_Print", "SB_PrintClick", "print"},
    {"TB_Cut", "SB_CutClick", "cut", R::Any, true},
    {"TB_Copy", "SB_CopyClick", "copy", R::Any},
    {"TB_Paste", "SB_InsertClick", "paste", R::Paste},
    {"TB_Delete", "SB_DelClick", "delete", R::Any},
    {"TB_Duplizieren", "Duplizieren1Click", "duplicate", R::Any, true},
    {"TB_Rotieren", "SB_RotateClick", "rotate", R::Any},
    {"TB_HSpiegeln", "SB_HSpiegelnClick", "mirrorH", R::Any},
    {"TB_VSpiegeln", "SB_VSpiegelnClick", "mirrorV", R::Any},
    {"TB_Ausrichten", "SB_AusrichtenClick", "adjust", R::Any},
    {"TB_ClearConnections", "TB_ClearConnectionsClick", "clearBands", R::Bands, true},
    {"TB_Gruppieren", "SB_GruppierenClick", "group", R::Group, true},
    {"TB_GruppeAufloesen", "SB_GruppeAufloesenClick", "ungroup", R::Ungroup},
    {"TB_ZoomAlles", "TB_ZoomAllesClick", "zoomBoard", R::Always, true},
    {"TB_ZoomObjekte", "TB_ZoomObjekteClick", "zoomObjects", R::Objects},
    {"TB_ZoomMarkierung", "TB_ZoomMarkierungClick", "zoomSelection", R::Any},
    {"TB_Neuzeichnen", "SB_NeuzeichnenClick", "repaint", R::Always, true},
    {"TB_Vorlage", "Vorlage1Click", "scannedCopy", R::Always, true},
    {"TB_Makro", "SB_MakrofensterClick", "macro", R::Always, true},
});

} // namespace

std::span<const MenuCommand> menuCommands()
{
    return kMenus;
}

std::span<const ToolBarCommand> toolBarCommands()
{
    return kToolBar;
}

const char* captionOf(const MenuCommand& row, bool english)
{
    return english && row.english ? row.english : row.russian;
}

} // namespace kestrel
