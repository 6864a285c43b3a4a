#pragma once
// Captions and hints of the main window's controls other than its menus, in
// both interface languages. A hint is "short|long": the short part is the
// tool tip, the long part goes to the status line; a hint without a bar
// serves as both.

#include "model/Language.h"

#include <span>
#include <vector>

class QObject;

namespace kestrel {

enum class TextProperty : uint8_t { Caption, Hint };

struct UiText {
    const char* name; // objectName of the control
    TextProperty property;
    const char* russian; // nullptr: the control has no text in this language
    const char* english;
};

std::span<const UiText> mainWindowTexts();

// The row's text for a language (nullptr when it has none).
const char* textOf(const UiText& row, Language lang);

// Sets every listed text of the controls below root (root included, matched
// by objectName). Returns the names of rows that found no control.
std::vector<const char*> applyTexts(QObject* root, std::span<const UiText> rows, Language lang);

} // namespace kestrel
