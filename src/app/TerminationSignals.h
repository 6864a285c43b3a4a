#pragma once
// SIGTERM, SIGHUP and SIGINT (a shutdown, a closed terminal, Ctrl+C) reach
// the program as a call on its event loop, where the document can still be
// written; a signal handler itself may do almost nothing.

#include <functional>

class QObject;

namespace kestrel {

// Calls `ending` with the signal's number when the first of them arrives.
// The call comes from the event loop of `context`'s thread and ends with
// `context`. Installed once per process.
void onTerminationSignal(QObject* context, std::function<void(int)> ending);

} // namespace kestrel
