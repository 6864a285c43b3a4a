#pragma once
// Writes chunks to a pending file on a second thread, so that producing the
// next chunk overlaps writing the last one. At most two chunks wait; their
// buffers come back for reuse.

#include "model/PendingFile.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

namespace kestrel {

class BackgroundWrite {
public:
    explicit BackgroundWrite(PendingFile& file);
    // Waits for the chunks already handed over.
    ~BackgroundWrite();
    BackgroundWrite(const BackgroundWrite&) = delete;
    BackgroundWrite& operator=(const BackgroundWrite&) = delete;

    // Takes the chunk's bytes and leaves an empty buffer in its place.
    void submit(std::vector<uint8_t>& chunk);
    // Waits until every chunk is written: success, or the first write's failure
    // (after which later chunks are dropped).
    Status finish();

private:
    void run();

    PendingFile& file_;
    std::mutex lock_;
    std::condition_variable changed_;
    std::deque<std::vector<uint8_t>> waiting_;
    std::vector<std::vector<uint8_t>> spare_;
    bool closing_ = false;
    Status status_;
    std::thread worker_;
};

} // namespace kestrel
