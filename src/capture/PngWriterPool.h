#pragma once

#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace vardel {

/*
 * Writes PNG files on worker threads, so that a capture draws its next frames while earlier
 * ones are encoded (encoding takes several times as long as drawing). A frame is copied into
 * one of a fixed number of slots made up front; add() waits while every slot is taken. Files
 * may be finished out of order; each is named by its caller. The first failure is kept and
 * later frames are dropped.
 */
class PngWriterPool {
public:
    // Frames of width x height pixels (no row padding); `workers` threads (at least one) and
    // twice as many slots.
    PngWriterPool(int width, int height, int workers);
    ~PngWriterPool(); // writes what is queued, then stops the threads
    PngWriterPool(const PngWriterPool&) = delete;
    PngWriterPool& operator=(const PngWriterPool&) = delete;

    // Queues `pixels` to be written to `path`. False, with nothing queued, once a write failed.
    bool add(const std::filesystem::path& path, const std::uint32_t* pixels);
    // Waits until every queued frame is written, or, without `writeQueued`, until the frames
    // being encoded are done (the others are dropped). False with the first failure's reason.
    bool finish(bool writeQueued, std::string* reason);
    // A worker count for this machine: one per core, at most four.
    static int defaultWorkers();

private:
    struct Slot {
        std::vector<std::uint32_t> pixels;
        std::filesystem::path path;
    };
    void work();

    int slotWidth = 0;
    int slotHeight = 0;
    std::vector<Slot> slots;
    std::vector<int> freeSlots; // a stack of slot numbers
    std::vector<int> queue;     // a ring of slot numbers waiting for a worker, oldest at head
    std::size_t head = 0;
    std::size_t queued = 0;
    int writing = 0; // slots a worker is encoding
    bool stopping = false;
    std::string failure;
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::thread> threads;
};

} // namespace vardel
