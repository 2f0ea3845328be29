// The batch runner: the reading thread hands lines to workers through a bounded window, and
// whoever finishes a line writes every finished line from the oldest unwritten one on.
#include "batch.h"

#include <algorithm>
#include <array>
#include <condition_variable>
#include <cstddef>
#include <deque>
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

// The next line that needs work, or false at the end of the input.
bool readItem(LineReader& reader, Item& item)
{
    std::string line;
    while (true) {
        const LineReader::Read read = reader.next(line);
        if (read == LineReader::Read::End)
            return false;
        if (read == LineReader::Read::TooLong) {
            item = {reader.number(), {}, {{}, lineTooLong(), kBadInput}};
            return true;
        }
        if (!isBlank(line)) {
            item = {reader.number(), std::move(line), {}};
            return true;
        }
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

// Lines on several threads. The reading thread adds lines while fewer than kWindow wait to be
// written, starting a thread per line until there are as many as asked for. A worker takes the
// oldest lines nobody has taken, its share of them; all shared state is under one mutex.
class Pool {
public:
    Pool(Output& output, unsigned threads, const LineWork& work) : output_(output), wanted_(threads), work_(work) {}
    Pool(const Pool&) = delete;
    Pool& operator=(const Pool&) = delete;
    ~Pool() { stop({}); }

    // Once the window is full, waits until it is half empty; false once a worker has failed.
    bool add(std::vector<Item>& items)
    {
        std::unique_lock lock(mutex_);
        for (Item& item : items) {
            if (window_.size() >= kWindow) {
                lineAdded_.notify_all();
                room_.wait(lock, [&] { return stopped_ || window_.size() <= kWindow / 2; });
            }
            if (stopped_)
                return false;
            window_.push_back(std::move(item));
            if (threads_.size() < wanted_)
                startThread();
        }
        items.clear();
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
        {
            const std::scoped_lock lock(mutex_);
            ended_ = true;
        }
        lineAdded_.notify_all();
        threads_.clear();
        if (failure_)
            std::rethrow_exception(failure_);
        return worst_;
    }

private:
    static constexpr std::size_t kWindow = 1024;
    static constexpr std::size_t kChunk = 128;

    void startThread()
    {
        try {
            threads_.emplace_back([this] { run(); });
        } catch (const std::system_error&) {
            if (threads_.empty())
                throw;
            wanted_ = static_cast<unsigned>(threads_.size()); // the system gives no more
        }
    }

    void run()
    {
        try {
            std::unique_lock lock(mutex_);
            while (true) {
                lineAdded_.wait(lock, [&] { return stopped_ || ended_ || taken_ < written_ + window_.size(); });
                if (stopped_ || taken_ == written_ + window_.size())
                    return;
                // A share of the lines waiting, up to kChunk: one lock for a line would cost as
                // much as solving it.
                const std::size_t waiting = written_ + window_.size() - taken_;
                const std::size_t count = std::clamp<std::size_t>(waiting / wanted_, 1, kChunk);
                std::array<Item*, kChunk> chunk{};
                for (std::size_t i = 0; i < count; ++i)
                    chunk[i] = &window_[taken_++ - written_]; // stays in place: only written lines leave
                lock.unlock();
                for (std::size_t i = 0; i < count; ++i)
                    workOn(*chunk[i], work_);
                lock.lock();
                for (std::size_t i = 0; i < count; ++i)
                    chunk[i]->ready = true;
                writeReady();
            }
        } catch (...) {
            stop(std::current_exception());
        }
    }

    // Under the mutex.
    void writeReady()
    {
        for (; !window_.empty() && window_.front().ready; ++written_) {
            worst_ = std::max(worst_, emit(output_, window_.front()));
            window_.pop_front();
            // Woken for every line, the reading thread would take a core from the workers.
            if (window_.size() == kWindow / 2)
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
    std::deque<Item> window_; // lines read and not yet written, oldest first
    std::size_t written_ = 0; // lines written, counted from the start
    std::size_t taken_ = 0;   // lines taken by a worker, counted from the start
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
    std::vector<Item> batch;
    for (Item item;;) {
        const bool mayWait = !reader.lineInHand();
        if ((mayWait || batch.size() == kBatch) && !pool.add(batch))
            return pool.finish();
        if (mayWait)
            pool.waitingForInput(true);
        const bool more = readItem(reader, item);
        if (mayWait)
            pool.waitingForInput(false);
        if (!more)
            break;
        batch.push_back(std::move(item));
    }
    pool.add(batch);
    return pool.finish();
}

} // namespace kavrin::cli
