#pragma once
// Work on the two copper layers side by side: layer 1 on a thread of its
// own, layer 0 on the caller's. When one thread is asked for, or none can
// be had, the layers are done one after the other. The first failure is
// rethrown once both are done.

#include <exception>
#include <system_error>
#include <thread>

namespace kestrel {

template <class Work>
void forBothLayers(bool twoThreads, Work&& work)
{
    std::thread second;
    std::exception_ptr failed;
    if (twoThreads) {
        try {
            second = std::thread([&] {
                try {
                    work(1);
                } catch (...) {
                    failed = std::current_exception();
                }
            });
        } catch (const std::system_error&) {
            // No thread to be had: layer 1 follows layer 0.
        }
    }
    try {
        work(0);
    } catch (...) {
        if (second.joinable())
            second.join();
        throw;
    }
    if (!second.joinable()) {
        work(1);
        return;
    }
    second.join();
    if (failed)
        std::rethrow_exception(failed);
}

} // namespace kestrel
