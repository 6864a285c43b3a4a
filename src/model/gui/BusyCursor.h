#pragma once
// The wait cursor for as long as a long piece of work on the interface
// thread runs, given back however the work ends.

#include <QApplication>

namespace kestrel {

class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace kestrel
