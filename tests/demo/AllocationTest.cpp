// The frame loop allocates nothing: the whole demo is played with the real renderer while
// every allocation of the program is counted.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "TimelineHarness.h"

namespace {
std::atomic<long> allocations{0};
} // namespace

// Every form that the program and its libraries use, all from malloc, so that they pair up.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    allocations.fetch_add(1, std::memory_order_relaxed);
    return std::malloc(size == 0 ? 1 : size);
}
void* operator new(std::size_t size) {
    void* memory = ::operator new(size, std::nothrow);
    return memory != nullptr ? memory : throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return ::operator new(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return ::operator new(size, std::nothrow);
}
void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete[](void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
    std::free(memory);
}

namespace vardel::test {
namespace {

TEST(Timeline, PassesAllocateNothing) {
    TimelineHarness h;
    h.renderer.drawScenes = true;
    h.renderer.calls.reserve(1024);
    for (const int scene : {2, 3, 4}) { // the first light change of a scene copies its lights
        h.data->scene(scene).setLightLevel(1.0);
    }
    const long before = allocations.load();
    int lastPart = 0;
    PassResult result = PassResult::Continue;
    // Cue after cue, a few passes each; the credits of part 6 need 500 ticks.
    for (const std::int32_t sync : {0x00, 0x01, 0x02, 0x03, 0x04, 0x24, 0x34, 0x44, 0x05, 0x06}) {
        h.music.sync = sync;
        for (int pass = 0; pass < 30 && result == PassResult::Continue; ++pass) {
            result = h.step(sync == 0 ? 11.0 : 20.0);
            lastPart = h.part();
        }
    }
    EXPECT_EQ(allocations.load() - before, 0);
    EXPECT_EQ(lastPart, 6);
    EXPECT_EQ(result, PassResult::Finished);
}

} // namespace
} // namespace vardel::test
