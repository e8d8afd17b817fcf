#pragma once

#include <QtGlobal>

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

// Memory for the rows of a large table: blocks that double up to 4 MB (a small table
// stays small, a large one takes few allocations), the largest laid on whole huge
// pages so that reading many rows takes one page fault per 2 MB, not per 4 KB.
namespace RowMemory {
constexpr size_t LargestBlock = size_t(4) << 20;
void* Allocate(size_t bytes);
void Free(void* data, size_t bytes);
}  // namespace RowMemory

// Objects of many rows side by side in blocks that never move: a row keeps
// pointers into them and costs no allocation of its own.
template <class T>
class RowBlocks {
public:
    RowBlocks() = default;
    RowBlocks(RowBlocks&& other) noexcept { *this = std::move(other); }
    RowBlocks& operator=(RowBlocks&& other) noexcept
    {
        if (this != &other) {
            release();
            blocks_ = std::exchange(other.blocks_, {});
            room_ = std::exchange(other.room_, 0);
            next_ = std::exchange(other.next_, FirstBlock);
        }
        return *this;
    }
    ~RowBlocks() { release(); }

    // Room for count objects, which the caller makes in place at once.
    T* Take(qsizetype count)
    {
        if (count > room_) {
            const qsizetype size = std::max(count, next_);
            next_ = std::min(next_ * 2, Largest);
            blocks_.push_back({static_cast<T*>(RowMemory::Allocate(size_t(size) * sizeof(T))), size, 0});
            room_ = size;
        }
        Block& block = blocks_.back();
        T* objects = block.data + block.used;
        block.used += count;
        room_ -= count;
        return objects;
    }

private:
    static constexpr qsizetype FirstBlock = 256;
    static constexpr qsizetype Largest = qsizetype(RowMemory::LargestBlock / sizeof(T));
    struct Block {
        T* data;
        qsizetype size;
        qsizetype used;
    };

    void release()
    {
        for (const Block& block : blocks_) {
            std::destroy_n(block.data, block.used);
            RowMemory::Free(block.data, size_t(block.size) * sizeof(T));
        }
        blocks_.clear();
        room_ = 0;
    }

    std::vector<Block> blocks_;
    qsizetype room_ = 0;
    qsizetype next_ = FirstBlock;
};
