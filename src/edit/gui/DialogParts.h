#pragma once
// Small builders the generator dialogs share: named spin boxes, radio rows,
// the OK and Cancel buttons, the first field's focus, and the message on a
// label too large.

#include "model/Language.h"
#include "model/Types.h"

#include <QDialog>
#include <QString>

#include <initializer_list>
#include <utility>

class QAbstractSpinBox;
class QBoxLayout;
class QButtonGroup;
class QDoubleSpinBox;
class QGroupBox;
class QSpinBox;
class QWidget;

namespace kestrel {

QDoubleSpinBox* decimalSpin(const char* name, double minimum, double maximum, double value, QWidget* parent);
QSpinBox* wholeSpin(const char* name, int minimum, int maximum, int value, QWidget* parent);
// A group of radio buttons (name, id); the first is checked.
QGroupBox* radioGroup(const char* groupName, std::initializer_list<std::pair<const char*, int>> buttons,
                      QButtonGroup*& group, QWidget* parent);
// OK (okName) and Cancel (cancelName) wired to accept and reject. A number
// typed beyond a field's range counts as the nearest one it takes; an
// emptied field keeps its value.
void addOkCancel(QDialog& dialog, QBoxLayout& layout, const char* okName, const char* cancelName);
// Gives the field the focus with its text selected each time the dialog
// shows, so that typing replaces the value rather than adding to it.
void selectWhenShown(QDialog& dialog, QAbstractSpinBox* field);
// Why a label of this extent is refused on a board of this size.
QString labelLargerThanBoard(Language lang, Point extent, int32_t boardWidth, int32_t boardHeight);

} // namespace kestrel
