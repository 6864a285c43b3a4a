#pragma once
// Finding a dialog's controls by object name in GUI tests.

#include <QObject>
#include <QString>
#include <QWidget>

#include <stdexcept>
#include <string>

namespace kestrel::test {

// The named control; a missing one ends the test with its name.
template <typename T>
T& child(QWidget& w, const char* name)
{
    T* c = w.findChild<T*>(name);
    if (!c)
        throw std::runtime_error(std::string("no control ") + name);
    return *c;
}

// A control's caption, or the window title for an empty name.
inline QString captionOf(QWidget& w, const char* name)
{
    QObject* o = *name ? w.findChild<QObject*>(name) : &w;
    for (const char* property : {"text", "title", "windowTitle"})
        if (o && o->property(property).isValid())
            return o->property(property).toString();
    return "<missing>";
}

} // namespace kestrel::test
