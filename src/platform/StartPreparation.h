#pragma once

#include <atomic>
#include <cstddef>
#include <thread>
#include <vector>

// What the start needs before its first window and can have done off the interface
// thread while that connects to the display, on a thread of its own:
// - the system's font configuration is read (the first text measured needs it);
// - the few megabytes of fresh heap that the start goes on to fill are taken up front
//   and touched, page by page, so that the interface thread meets no page fault on
//   them later.
// Made before any other thread, so that the heap taken is the interface thread's own,
// and so that the X platform plugin, loaded first, maps its libraries while the
// process has one thread: every mapping changed while another thread runs costs a
// flush of that thread's TLB, and on a virtual machine the plugin's loading took
// milliseconds longer beside the preparation thread.
class StartPreparation {
public:
    explicit StartPreparation(std::size_t heapBytes);
    ~StartPreparation();
    StartPreparation(const StartPreparation&) = delete;
    StartPreparation& operator=(const StartPreparation&) = delete;

    // Waits for the font configuration; the heap is touched only as far as it got by
    // then. The heap goes back to the allocator, whose next allocations reuse it.
    void Finish();

private:
    void touchHeap();

    std::vector<char*> heap_;
    std::atomic<bool> finishing_{false};
    std::thread thread_;
};
