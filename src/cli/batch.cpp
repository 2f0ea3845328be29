// The batch runner: the reading thread hands lines to workers through a ring of slots, and
// whoever finishes a line writes every finished line from the oldest unwritten one on.
#include "batch.h"

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <iostream>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace kavrin::cli {

namespace {
struct Item {
    long long number = 0;
    std::string line;
    LineResult result; // filled in at once for a line too long to read
    bool ready = false;
};

// Reads the next line that needs work into the item, or returns false at the end of the input.
// The item's strings keep their room from one line to the next.
bool readItem(LineReader& reader, Item& item)
{
    while (true) {
        const LineReader::Read read = reader.next(item.line);
        if (read == LineReader::Read::End)
            return false;
        item.number = reader.number();
        item.ready = false;
        item.result.out.clear();
        item.result.failure.clear();
        item.result.status = kSuccess;
        if (read == LineReader::Read::TooLong) {
            item.result.failure = lineTooLong();
            item.result.status = kBadInput;
            return true;
        }
        if (!isBlank(item.line))
            return true;
    }
}

void workOn(Item& item, const LineWork& work)
{
    if (item.result.failure.empty())
        item.result = work(item.line);
}

ExitStatus emit(Output& output, const Item& item)
{
    if (!item.result.failure.empty())
        std::cerr << notice("line " + std::to_string(item.number), item.result.failure);
    output.write(item.result.out);
    return item.result.status;
}

// One thread: each line written when done, and sent on before the input can keep kvr waiting.
ExitStatus runInline(LineReader& reader, Output& output, const LineWork& work)
{
    ExitStatus worst = kSuccess;
    for (Item item;;) {
        if (!reader.lineInHand())
            output.flush();
        if (!readItem(reader, item))
            return worst;
        workOn(item, work);
        worst = std::max(worst, emit(output, item));
    }
}

// Lines on several threads. The reading thread reads into the free slots of a ring of kWindow
// and hands the lines over a few dozen at a time, starting a worker for each until the workers
// and itself are as many as asked for. Once the ring is full, and again after the last line, it
// works on lines too, so that no more threads run than asked for. Whoever works takes the oldest
// lines nobody has taken, a share of them. A slot is read into again once its line is written,
// strings and all, so that no line is allocated on one thread and released on another. Shared
// state is under one mutex; handed_ is changed by the reading thread alone.
class Pool {
public:
    Pool(Output& output, unsigned threads, const LineWork& work)
        : output_(output), wanted_(threads), work_(work), ring_(kWindow)
    {
    }
    Pool(const Pool&) = delete;
    Pool& operator=(const Pool&) = delete;
    ~Pool() { stop({}); }

    // The slot to read the next line into; null once a worker has failed.
    Item* slot()
    {
        if (read_ == free_ && !waitForRoom())
            return nullptr;
        return &ring_[(handed_ + read_) % kWindow];
    }
    // The slot from slot() holds a line to work on.
    void filled() { ++read_; }
    // Lines read and not yet handed over.
    std::size_t inHand() const { return read_; }

    // Gives the workers the lines read since the last call; false once a worker has failed.
    bool handOver()
    {
        {
            const std::scoped_lock lock(mutex_);
            if (stopped_)
                return false;
            handed_ += read_;
            free_ -= read_;
            read_ = 0;
            while (threads_.size() < std::min<std::size_t>(wanted_ - 1, handed_))
                startThread();
        }
        lineAdded_.notify_all();
        return true;
    }

    // While the reading thread may wait for input, what is written is sent on at once.
    void waitingForInput(bool waiting)
    {
        const std::scoped_lock lock(mutex_);
        if ((readerWaiting_ = waiting))
            output_.flush();
    }

    // After the last line: the worst status once every line is written, or a worker's failure.
    ExitStatus finish()
    {
        handOver();
        {
            std::unique_lock lock(mutex_);
            ended_ = true;
            lineAdded_.notify_all();
            while (!stopped_ && taken_ < handed_)
                workOnShare(lock);
        }
        threads_.clear();
        if (failure_)
            std::rethrow_exception(failure_);
        return worst_;
    }

private:
    static constexpr std::size_t kWindow = 1024;
    static constexpr std::size_t kChunk = 128;

    // Hands over what is read and, with the ring full, works until half of it is free.
    bool waitForRoom()
    {
        if (!handOver())
            return false;
        std::unique_lock lock(mutex_);
        if (handed_ - written_ == kWindow)
            while (!stopped_ && handed_ - written_ > kWindow / 2) {
                if (taken_ < handed_)
                    workOnShare(lock);
                else
                    room_.wait(lock);
            }
        free_ = kWindow - (handed_ - written_);
        return !stopped_;
    }

    void startThread()
    {
        try {
            threads_.emplace_back([this] { run(); });
        } catch (const std::system_error&) {
            if (threads_.empty())
                throw;
            wanted_ = static_cast<unsigned>(threads_.size()) + 1; // the system gives no more
        }
    }

    void run()
    {
        try {
            std::unique_lock lock(mutex_);
            while (true) {
                lineAdded_.wait(lock, [&] { return stopped_ || ended_ || taken_ < handed_; });
                if (stopped_ || taken_ == handed_)
                    return;
                workOnShare(lock);
            }
        } catch (...) {
            stop(std::current_exception());
        }
    }

    // A share of the lines nobody has taken, up to kChunk (one lock for a line would cost as
    // much as solving it), worked on without the mutex, then written as far as they can be.
    void workOnShare(std::unique_lock<std::mutex>& lock)
    {
        const std::size_t count = std::clamp<std::size_t>((handed_ - taken_) / wanted_, 1, kChunk);
        const std::size_t first = taken_;
        taken_ += count;
        lock.unlock();
        for (std::size_t n = first; n < first + count; ++n)
            workOn(ring_[n % kWindow], work_);
        lock.lock();
        for (std::size_t n = first; n < first + count; ++n)
            ring_[n % kWindow].ready = true;
        writeReady();
    }

    // Under the mutex.
    void writeReady()
    {
        while (written_ < handed_ && ring_[written_ % kWindow].ready) {
            worst_ = std::max(worst_, emit(output_, ring_[written_ % kWindow]));
            ++written_;
            // Woken for every line, the reading thread would take a core from the workers.
            if (handed_ - written_ == kWindow / 2)
                room_.notify_one();
        }
        if (readerWaiting_)
            output_.flush();
    }

    // Every thread leaves, with the lines in hand unwritten; the first failure is kept.
    void stop(std::exception_ptr failure)
    {
        {
            const std::scoped_lock lock(mutex_);
            stopped_ = true;
            if (!failure_)
                failure_ = std::move(failure);
        }
        lineAdded_.notify_all();
        room_.notify_all();
    }

    Output& output_;
    unsigned wanted_;
    const LineWork& work_;
    std::mutex mutex_;
    std::condition_variable lineAdded_, room_;
    std::vector<Item> ring_;  // line n (counted from 0) in slot n % kWindow
    std::size_t written_ = 0; // lines written
    std::size_t taken_ = 0;   // lines taken by a worker
    std::size_t handed_ = 0;  // lines handed over: the ring's lines from written_ on
    std::size_t read_ = 0;    // lines read into the slots after those, not yet handed over
    std::size_t free_ = kWindow; // slots from handed_ on that the reading thread may read into
    bool ended_ = false;
    bool stopped_ = false;
    bool readerWaiting_ = false;
    std::exception_ptr failure_;
    ExitStatus worst_ = kSuccess;
    std::vector<std::jthread> threads_; // last, so that they are joined before the rest goes
};
} // namespace

ExitStatus runBatch(LineReader& reader, Output& output, unsigned jobs, const LineWork& work)
{
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const unsigned threads = jobs == 0 ? cores : std::min(jobs, cores);
    if (threads == 1)
        return runInline(reader, output, work);
    Pool pool(output, threads, work);
    // Lines go to the pool a few dozen at a time, and all of them before the reader may wait.
    constexpr std::size_t kBatch = 64;
    while (true) {
        const bool mayWait = !reader.lineInHand();
        if ((mayWait || pool.inHand() == kBatch) && !pool.handOver())
            break;
        Item* item = pool.slot();
        if (!item)
            break;
        if (mayWait)
            pool.waitingForInput(true);
        const bool more = readItem(reader, *item);
        if (mayWait)
            pool.waitingForInput(false);
        if (!more)
            break;
        pool.filled();
    }
    return pool.finish();
}

} // namespace kavrin::cli
