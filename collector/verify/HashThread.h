#pragma once
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "manifest/Sha256.h"

// Hashing beside the unpacking: a cabinet's decompressor hands each full block over and goes on
// with the next while this thread hashes it; on two cores the pair takes about as long as the
// slower of the two alone. At most kBlocksInFlight blocks wait, so memory stays flat however
// large the bundle.
class HashThread {
public:
    static constexpr size_t kBlocksInFlight = 4;

    HashThread();
    // Does what was handed over first.
    ~HashThread();
    HashThread(const HashThread&) = delete;
    HashThread& operator=(const HashThread&) = delete;

    // The block into the stream, on the thread; waits while kBlocksInFlight blocks are queued.
    // The stream must live until a Then after it has run.
    void Hash(Sha256Stream& stream, std::string block);
    // `done` on the thread, once all that was handed over before it is done.
    void Then(std::function<void()> done);
    // Returns once all that was handed over is done.
    void Drain();
    // An empty block with room for kHashBlockSize bytes, one the thread is done with if it can.
    std::string FreeBlock();

private:
    struct Job {
        Sha256Stream* stream = nullptr;  // with a block to hash, or
        std::string block;
        std::function<void()> done;  // something to do after the blocks before it
    };
    void Run();

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Job> jobs_;
    size_t blocksQueued_ = 0;
    bool busy_ = false;
    bool stopping_ = false;
    std::vector<std::string> freeBlocks_;
    std::thread thread_;  // last: it starts once everything it uses is there
};
