#include "capture/PngWriterPool.h"

#include <algorithm>

#include "image/PngWriter.h"

namespace vardel {

PngWriterPool::PngWriterPool(int width, int height, int workers) {
    const int count = std::max(workers, 1);
    slots.resize(static_cast<std::size_t>(count) * 2);
    queue.resize(slots.size());
    freeSlots.reserve(slots.size());
    for (std::size_t i = 0; i < slots.size(); ++i) {
        slots[i].pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
        freeSlots.push_back(static_cast<int>(i));
    }
    slotWidth = width;
    slotHeight = height;
    threads.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        threads.emplace_back([this] { work(); });
    }
}

PngWriterPool::~PngWriterPool() {
    std::string ignored;
    finish(true, &ignored);
}

int PngWriterPool::defaultWorkers() {
    return static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 4u));
}

bool PngWriterPool::add(const std::filesystem::path& path, const std::uint32_t* pixels) {
    std::unique_lock<std::mutex> lock(mutex);
    changed.wait(lock, [&] { return !freeSlots.empty() || !failure.empty() || stopping; });
    if (!failure.empty() || stopping) {
        return false;
    }
    const int number = freeSlots.back();
    freeSlots.pop_back();
    lock.unlock(); // the slot is this thread's until it is queued
    Slot& slot = slots[static_cast<std::size_t>(number)];
    slot.path = path;
    std::copy_n(pixels, slot.pixels.size(), slot.pixels.begin());
    lock.lock();
    queue[(head + queued) % queue.size()] = number;
    ++queued;
    changed.notify_all();
    return true;
}

void PngWriterPool::work() {
    std::unique_lock<std::mutex> lock(mutex);
    while (true) {
        changed.wait(lock, [&] { return queued > 0 || stopping; });
        if (queued == 0) {
            return; // stopping, and nothing left
        }
        const int number = queue[head];
        head = (head + 1) % queue.size();
        --queued;
        ++writing;
        const bool write = failure.empty(); // after a failure, later frames are dropped
        lock.unlock();
        Slot& slot = slots[static_cast<std::size_t>(number)];
        std::string reason;
        const bool written =
            !write || writePng(slot.path, slot.pixels.data(), slotWidth, slotHeight, 0, &reason);
        lock.lock();
        if (!written && failure.empty()) {
            failure = reason;
        }
        --writing;
        freeSlots.push_back(number);
        changed.notify_all();
    }
}

bool PngWriterPool::finish(bool writeQueued, std::string* reason) {
    {
        std::unique_lock<std::mutex> lock(mutex);
        if (!writeQueued) {
            while (queued > 0) {
                freeSlots.push_back(queue[head]);
                head = (head + 1) % queue.size();
                --queued;
            }
        }
        changed.wait(lock, [&] { return queued == 0 && writing == 0; });
        stopping = true;
        changed.notify_all();
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    threads.clear();
    if (!failure.empty()) {
        *reason = failure;
        return false;
    }
    return true;
}

} // namespace vardel
