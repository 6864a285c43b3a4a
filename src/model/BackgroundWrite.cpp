#include "model/BackgroundWrite.h"

namespace kestrel {

namespace {
constexpr size_t kMaxWaiting = 2;
}

BackgroundWrite::BackgroundWrite(PendingFile& file) : file_(file), worker_([this] { run(); }) {}

BackgroundWrite::~BackgroundWrite()
{
    if (worker_.joinable())
        (void)finish();
}

void BackgroundWrite::submit(std::vector<uint8_t>& chunk)
{
    std::unique_lock<std::mutex> guard(lock_);
    changed_.wait(guard, [this] { return waiting_.size() < kMaxWaiting; });
    waiting_.push_back(std::move(chunk));
    chunk = {};
    if (!spare_.empty()) {
        chunk = std::move(spare_.back());
        spare_.pop_back();
    }
    changed_.notify_all();
}

Status BackgroundWrite::finish()
{
    {
        const std::lock_guard<std::mutex> guard(lock_);
        closing_ = true;
    }
    changed_.notify_all();
    worker_.join();
    return status_;
}

void BackgroundWrite::run()
{
    std::unique_lock<std::mutex> guard(lock_);
    for (;;) {
        changed_.wait(guard, [this] { return closing_ || !waiting_.empty(); });
        if (waiting_.empty())
            return;
        std::vector<uint8_t> chunk = std::move(waiting_.front());
        waiting_.pop_front();
        const bool failedBefore = !status_.ok();
        guard.unlock();
        Status written = failedBefore ? Status() : file_.write(chunk.data(), chunk.size());
        chunk.clear();
        guard.lock();
        if (!written.ok())
            status_ = std::move(written);
        spare_.push_back(std::move(chunk));
        changed_.notify_all();
    }
}

} // namespace kestrel
