// The help-line text of each tool and state in both interface languages.
// Each begins with "|": no tool tip, the whole text is the long hint.

#include "edit/PointerMachine.h"

namespace kestrel {

namespace {

struct HintText {
    const char* russian;
    const char* english;
};

const char* pick(const HintText& h, Language lang)
{
    return lang == Language::English ? h.english : h.russian;
}

constexpr HintText kCorner{"|Установить курсор на необходимый узел и\rнажать правую кнопку мыши для выбора режима",
                           "|Move corners\rUse right mouse button to add/delete corners"};
constexpr HintText kEdit{"|Выделение, Перемещение, Копирование, Вырезка, Вставка, Удаление объектов",
                         "|Edit: Select, move, delete, copy or paste objects."};
constexpr HintText kFrame{"|Выделение объектов или участка платы", "|Select: Draw a frame to select objects."};
constexpr HintText kTrackStart{"|Установить на начало линии и нажать левую кнопку.", "|Track: Click to start point"};
constexpr HintText kTrackNext{
    "|Переместить мышь до конца линии нажать левую, а затем правую кнопки мыши",
    "|Track: Click to next point or abort with right mouse button.\rUse CTRL to turn capture off. Use SPACE to switch "
    "bend mode."};
constexpr HintText kPad{"|Фиксация в нужном месте - левой кнопкой мыши",
                        "|Pad: Click to add a pad, abort with right mouse button"};
constexpr HintText kCircle{"|Фиксация в нужном месте - левой кнопкой мыши",
                           "|Circle: Click to add a circle, abort with right mouse button"};
constexpr HintText kZoom{"|Правая  = Лупа - , Левая = Лупа + .Удержание = Выделение Области",
                         "|Zoom: Left=Zoom + / Right=Zoom - / Select range"};
constexpr HintText kZoomFrame{"|Лупа: Выделение участка для увеличения", "|Zoom: Select range"};
constexpr HintText kLabel{"|Поместить в нужное место и зафиксировать левой кнопкой мыши",
                          "|Text: Click to text position, abort with right mouse button"};
constexpr HintText kZoneStart{
    "|Установить курсор на плату. Первый щелчок мыши- начальная точка. Далее двигать по нужному маршруту.",
    "|Area: Click to start point"};
constexpr HintText kZoneNext{
    "|Переместить мышь до конца линии нажать левую, а затем правую кнопки. Направление - SPACE",
    "|Area: Click to next point or abort with right mouse button.\rUse CTRL to turn capture off. Use SPACE to switch "
    "bend mode."};
constexpr HintText kTest{"|Для проверки нажать левую кнопку мыши на выбранной ветви платы",
                         "|Test: Click to find connected areas"};
constexpr HintText kConnectStart{"|Установить курсор на пятачок и нажать левую кнопку мыши.",
                                 "|Ratsnest: Select a pad"};
constexpr HintText kConnectEnd{"|Соединить перемычкой с другим пятачком и зафиксировать левой кнопкой мыши",
                               "|Ratsnest: Select pad for connection, abort with right mouse button"};
// Left as it was, the line went on describing the tool used before.
constexpr HintText kAutoRoute{"|Автотрассировка: щёлкнуть по перемычке, чтобы развести её, или по проложенной "
                              "дорожке, чтобы вернуть перемычку",
                              "|Autorouter: Click a rubber band to route it, or a laid track to take it back"};
constexpr HintText kPolygon{"|Поместить в нужное место и зафиксировать левой кнопкой мыши.",
                            "|Polygon: Click to destination, abort with right mouse button"};

} // namespace

const char* PointerMachine::hint(Language lang) const
{
    switch (tool_) {
    case ToolMode::Edit:
        if (overCorner_)
            return pick(kCorner, lang);
        return pick(s_.Pressed ? kFrame : kEdit, lang);
    case ToolMode::Track:
        return pick(s_.Pressed ? kTrackNext : kTrackStart, lang);
    case ToolMode::Pad:
        return pick(kPad, lang);
    case ToolMode::Zoom:
        return pick(s_.Pressed ? kZoomFrame : kZoom, lang);
    case ToolMode::Text:
    case ToolMode::TrackText:
        return pick(kLabel, lang);
    case ToolMode::Zone:
        return pick(s_.Pressed ? kZoneNext : kZoneStart, lang);
    case ToolMode::Circle:
        return pick(kCircle, lang);
    case ToolMode::Test:
        return pick(kTest, lang);
    case ToolMode::Connect:
        return pick(s_.StartPad < 0 ? kConnectStart : kConnectEnd, lang);
    case ToolMode::Polygon:
        return pick(kPolygon, lang);
    case ToolMode::AutoRoute:
        return pick(kAutoRoute, lang);
    }
    return nullptr;
}

} // namespace kestrel
