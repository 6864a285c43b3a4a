#include "app/UiTexts.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QWidget>

#include <array>

namespace kestrel {

namespace {

using P = TextProperty;

const auto kTexts = std::to_array<UiText>({
    // Tool panel.
    {"SB_Standard", P::Caption, "Указка", "Edit"},
    {"SB_Line", P::Caption, "Дорожка", "Track"},
    {"SB_Circle", P::Caption, "Пятачок", "Pad"},
    {"SB_Ring", P::Caption, "Круг/Сектор", "Circle"},
    {"SB_Polygon", P::Caption, "Закраска", "Zone"},
    {"SB_Vieleck", P::Caption, "Многогран.", "Polygon"},
    {"SB_Connect", P::Caption, "Перемычки", "Ratsnest"},
    {"SB_AutoRoute", P::Caption, "Автотрасс.", "Autorouter"},
    {"SB_AutoRoute", P::Hint, "Автотрассировка перемычек", "Route rubber bands automatically"},
    {"SB_Standard", P::Hint, "Указка", "Edit mode"},
    {"SB_Zoom", P::Hint, "Лупа", "Zoom mode"},
    {"SB_Line", P::Hint, "Вычерчивание дорожек", "Draw tracks"},
    {"SB_Circle", P::Hint, "Вычерчивание пятачков", "Add pads|Click to the arrow to select a pad shape."},
    {"SB_Ring", P::Hint, "Круг / Сектор", "Add circles|You may call SEGMENT from the main menu."},
    {"SB_Polygon", P::Hint, "Закраска участков платы", "Draw filled areas"},
    {"SB_Vieleck", P::Hint, "Многогранник", "Create a polygon"},
    {"SB_Text", P::Hint, "Текст/Фонт", "Add labels in a system font"},
    {"SB_LineText", P::Hint, "Текст/Слой", "Add labels made of tracks"},
    {"SB_Connect", P::Hint,
     "Перемычки (Выделены синим цветом)|Применяют для индикации соединений, которые ещё не разведены, а также для "
     "обычных навесных перемычек.",
     "Draw rubber bands to mark connections|Used to show connections not yet routed, and for ordinary wire jumpers "
     "fitted by hand."},
    {"SB_Test", P::Hint, "Тестирование соединений", "Test mode|Display connections"},
    {"SB_Raster", P::Hint, "Координатная сетка", "Adjust grid"},
    {"SE_Breite", P::Hint, "Ширина дорожек", "Track width"},
    {"SE_Aussen", P::Hint, "Внешний диаметр", "Outside diameter"},
    {"SE_Innen", P::Hint, "Внутренний диаметр", "Inside diameter"},
    {"LMDSpeedButton1", P::Hint, "|Список ширин дорожек", "|Track container"},
    {"LMDSpeedButton2", P::Hint, "|Список размеров пятачков", "|Pad container"},

    // Tool bar.
    {"TB_Neu", P::Hint, "Новый файл", "New"},
    {"TB_Open", P::Hint, "Открыть", "Open"},
    {"TB_Save", P::Hint, "Сохранить", "Save"},
    {"TB_Print", P::Hint, "Печать", "Print"},
    {"TB_Cut", P::Hint, "Вырезать", "Cut"},
    {"TB_Copy", P::Hint, "Копировать", "Copy"},
    {"TB_Paste", P::Hint, "Вставить", "Paste"},
    {"TB_Delete", P::Hint, "Удалить", "Delete"},
    {"TB_Duplizieren", P::Hint, "Дубликат", "Duplicate"},
    {"TB_HSpiegeln", P::Hint, "Зеркало по горизонтали", "Mirror horizontal"},
    {"TB_VSpiegeln", P::Hint, "Зеркало по вертикали", "Mirror vertical"},
    {"TB_Rotieren", P::Hint, "Повернуть на 90° градусов", "Rotate"},
    {"TB_Ausrichten", P::Hint, "Подогнать под координатную сетку", "Adjust to grid"},
    {"TB_ClearConnections", P::Hint, "Удаление ненужных перемычек", "Remove rubber bands"},
    {"TB_Gruppieren", P::Hint, "Сгруппировать", "Build group"},
    {"TB_GruppeAufloesen", P::Hint, "Разгруппировать", "Split group"},
    {"TB_ZoomAlles", P::Hint, "Лупа-Общий вид", "Zoom board"},
    {"TB_ZoomObjekte", P::Hint, "Лупа-Плата", "Zoom objects"},
    {"TB_ZoomMarkierung", P::Hint, "Лупа-Выделение", "Zoom selection"},
    {"TB_Neuzeichnen", P::Hint, "Обновить вид", "Repaint"},
    {"TB_Vorlage", P::Hint, "Фоновый рисунок", "Scanned copy..."},
    {"TB_Makro", P::Hint, "Макросы", "Macro library"},

    // Macro library.
    {"Panel6", P::Caption, "Макросы", "Macros"},
    {"SpeedButton1", P::Hint, "Закрыть", "Close"},
    {"DragDropLabel", P::Caption, "Нажми и переноси", "Click and drag"},
    {"B_MakroSpeichern", P::Caption, "Добавить", "Save"},
    {"B_MakroLoeschen", P::Caption, "Удалить", "Delete"},
    {"DriveComboBox1", P::Hint, "Диск, с которого показывать папки", "The drive whose folders are shown"},
    {"DirectoryListBox1", P::Hint, "Папка макросов|Выберите папку с макросами",
     "Current macro directory|Select current macro directory"},
    {"LB_Makro", P::Hint, "Список макросов|Макросы папки: выберите, чтобы посмотреть",
     "Macro list|Macro files in current directory: pick one to see it"},
    {"P_MakroVorschau", P::Hint, "Выбранный элемент|Перетащите макрос на плату",
     "Preview|Drag the macro onto the board"},
    {"B_MakroSpeichern", P::Hint, "Добавить элемент|Сохранить выделенное или всю сторону как макрос",
     "Add macro|Save the selection, or the whole side, as a macro"},
    {"B_MakroLoeschen", P::Hint, "Удалить элемент|Удалить файл выбранного макроса",
     "Delete macro|Delete the file of the macro chosen"},

    // Status line.
    {"Label1", P::Caption, "Показ", "visible"},
    {"Label2", P::Caption, "Активн.", "active"},
    {"Label3", P::Caption, "Размер платы", "Board size"},
    {"SB_K1", P::Caption, "Ф1", "C1"},
    {"SB_B1", P::Caption, "М1", "S1"},
    {"SB_K2", P::Caption, "Ф2", "C2"},
    {"SB_B2", P::Caption, "М2", "S2"},
    {"SB_K1", P::Hint, "|Показать/скрыть фольгу стороны 1 (также F5...F8)",
     "|Show/hide copper layer 1 (also F5...F8)"},
    {"SB_B1", P::Hint, "|Показать/скрыть маску стороны 1 (также F5...F8)",
     "|Show/hide silk screen layer 1 (also F5...F8)"},
    {"SB_K2", P::Hint, "|Показать/скрыть фольгу стороны 2 (также F5...F8)",
     "|Show/hide copper layer 2 (also F5...F8)"},
    {"SB_B2", P::Hint, "|Показать/скрыть маску стороны 2 (также F5...F8)",
     "|Show/hide silk screen layer 2 (also F5...F8)"},
    {"RB_K1", P::Hint, "|Сделать активной фольгу стороны 1 (также F1...F4)",
     "|Activate copper layer 1 (also F1...F4)"},
    {"RB_B1", P::Hint, "|Сделать активной маску стороны 1 (также F1...F4)",
     "|Activate silk screen layer 1 (also F1...F4)"},
    {"RB_K2", P::Hint, "|Сделать активной фольгу стороны 2 (также F1...F4)",
     "|Activate copper layer 2 (also F1...F4)"},
    {"RB_B2", P::Hint, "|Сделать активной маску стороны 2 (также F1...F4)",
     "|Activate silk screen layer 2 (also F1...F4)"},
    {"L_XPos", P::Hint, "Координаты", "Position"},
    {"L_YPos", P::Hint, "Координаты", "Position"},
    {"SB_Layoutgroesse", P::Hint, "Размер платы|Изменить размер и название платы",
     "Board size|Change the size and the name of the board"},
    {"SB_AutoMasse", P::Hint, "Общая шина|Автоматический режим вычерчивания общей шины платы",
     "Enable/disable ground plane"},
    {"SE_FreistanzOffset", P::Hint, "Зазор|Установка ширины зазора между дорожками  и общей шиной платы",
     "Distance|Distance from ground plane"},
});

} // namespace

std::span<const UiText> mainWindowTexts()
{
    return kTexts;
}

const char* textOf(const UiText& row, Language lang)
{
    return lang == Language::English ? row.english : row.russian;
}

namespace {

// A tool-bar button and its action share their name; both get the text.
QList<QObject*> findNamed(QObject* root, const char* name)
{
    QList<QObject*> found = root->findChildren<QObject*>(QString::fromLatin1(name));
    if (root->objectName() == QLatin1String(name))
        found.prepend(root);
    return found;
}

void setCaption(QObject* target, const QString& text)
{
    if (auto* button = qobject_cast<QAbstractButton*>(target))
        button->setText(text);
    else if (auto* label = qobject_cast<QLabel*>(target))
        label->setText(text);
    else if (auto* group = qobject_cast<QGroupBox*>(target))
        group->setTitle(text);
    else if (auto* action = qobject_cast<QAction*>(target))
        action->setText(text);
    else if (auto* widget = qobject_cast<QWidget*>(target))
        widget->setWindowTitle(text);
}

// "short|long": the short part is the tool tip, the long part the status-line text.
void setHint(QObject* target, const QString& hint)
{
    const qsizetype bar = hint.indexOf('|');
    const QString shortPart = bar < 0 ? hint : hint.left(bar);
    const QString longPart = bar < 0 ? hint : hint.mid(bar + 1);
    if (auto* action = qobject_cast<QAction*>(target)) {
        action->setToolTip(shortPart);
        action->setStatusTip(longPart);
    } else if (auto* widget = qobject_cast<QWidget*>(target)) {
        widget->setToolTip(shortPart);
        widget->setStatusTip(longPart);
    }
}

} // namespace

std::vector<const char*> applyTexts(QObject* root, std::span<const UiText> rows, Language lang)
{
    std::vector<const char*> missing;
    for (const UiText& row : rows) {
        const QList<QObject*> targets = findNamed(root, row.name);
        if (targets.isEmpty()) {
            missing.push_back(row.name);
            continue;
        }
        const char* text = textOf(row, lang);
        if (!text)
            continue;
        for (QObject* target : targets) {
            if (row.property == TextProperty::Caption)
                setCaption(target, QString::fromUtf8(text));
            else
                setHint(target, QString::fromUtf8(text));
        }
    }
    return missing;
}

} // namespace kestrel
