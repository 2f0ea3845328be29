// The batch runner: chunks of lines, an atomic counter handing them to threads, results in order.
#include "batch.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <iostream>
#include <thread>
#include <vector>

namespace kavrin::cli {

namespace {
struct Item {
    long long number;
    std::string line;
    LineResult result;
};

// Reads up to `count` lines that need work; lines too long to read get their failure at once.
std::vector<Item> readChunk(LineReader& reader, std::size_t count)
{
    std::vector<Item> items;
    std::string line;
    while (items.size() < count) {
        const LineReader::Read read = reader.next(line);
        if (read == LineReader::Read::End)
            break;
        if (read == LineReader::Read::TooLong)
            items.push_back({reader.number(), {}, {{}, lineTooLong(), kBadInput}});
        else if (!isBlank(line))
            items.push_back({reader.number(), line, {}});
    }
    return items;
}

void work(std::vector<Item>& items, unsigned jobs, const LineWork& lineWork)
{
    std::atomic<std::size_t> next = 0;
    std::exception_ptr failed;
    std::atomic_flag failedSet;
    const auto worker = [&] {
        try {
            for (std::size_t i = next++; i < items.size(); i = next++)
                if (items[i].result.failure.empty())
                    items[i].result = lineWork(items[i].line);
        } catch (...) {
            if (!failedSet.test_and_set())
                failed = std::current_exception();
        }
    };
    {
        std::vector<std::jthread> helpers;
        for (unsigned j = 1; j < jobs; ++j)
            helpers.emplace_back(worker);
        worker();
    }
    if (failed)
        std::rethrow_exception(failed);
}
} // namespace

ExitStatus runBatch(LineReader& reader, Output& output, unsigned jobs, const LineWork& lineWork)
{
    if (jobs == 0)
        jobs = std::max(1u, std::thread::hardware_concurrency());
    // Enough lines per chunk that starting the threads costs nothing next to the work.
    const std::size_t chunk = 4096 * std::size_t{jobs};
    ExitStatus worst = kSuccess;
    for (std::vector<Item> items = readChunk(reader, chunk); !items.empty(); items = readChunk(reader, chunk)) {
        work(items, jobs, lineWork);
        for (const Item& item : items) {
            if (!item.result.failure.empty())
                std::cerr << notice("line " + std::to_string(item.number), item.result.failure);
            output.write(item.result.out);
            worst = std::max(worst, item.result.status);
        }
    }
    return worst;
}

} // namespace kavrin::cli
