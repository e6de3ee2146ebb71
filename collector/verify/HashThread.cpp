#include "verify/HashThread.h"

HashThread::HashThread() : thread_([this] { Run(); }) {}

HashThread::~HashThread() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void HashThread::Run() {
    for (;;) {
        Job job;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            changed_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
            if (jobs_.empty()) return;
            job = std::move(jobs_.front());
            jobs_.pop_front();
            busy_ = true;
        }
        if (job.stream != nullptr) job.stream->Add(job.block.data(), job.block.size());
        if (job.done) job.done();
        {
            std::lock_guard<std::mutex> lock(mutex_);
            busy_ = false;
            if (job.stream != nullptr) {
                --blocksQueued_;
                job.block.clear();
                freeBlocks_.push_back(std::move(job.block));
            }
        }
        changed_.notify_all();
    }
}

void HashThread::Hash(Sha256Stream& stream, std::string block) {
    {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [this] { return blocksQueued_ < kBlocksInFlight; });
        jobs_.push_back({&stream, std::move(block), nullptr});
        ++blocksQueued_;
    }
    changed_.notify_all();
}

void HashThread::Then(std::function<void()> done) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        jobs_.push_back({nullptr, std::string(), std::move(done)});
    }
    changed_.notify_all();
}

void HashThread::Drain() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return jobs_.empty() && !busy_; });
}

std::string HashThread::FreeBlock() {
    std::string block;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!freeBlocks_.empty()) {
            block = std::move(freeBlocks_.back());
            freeBlocks_.pop_back();
        }
    }
    block.reserve(kHashBlockSize);
    return block;
}
