#pragma once

// Per-frame memory: hands out aligned blocks by bumping a pointer through 512 KiB chunks and
// frees everything at once when the frame ends (reset). Render thread only; no lock.

#include <cstdint>

class linear_allocator {
public:
    static constexpr uint32_t kChunkSize = 524288;

    linear_allocator() { init(); }
    ~linear_allocator() { destroy(); }
    linear_allocator(const linear_allocator&) = delete;
    linear_allocator& operator=(const linear_allocator&) = delete;

    void init();
    // Room for size bytes aligned to alignment (a power of two), valid until the next reset.
    void* alloc(unsigned size, unsigned alignment);
    // Frees every block; the next request starts a fresh chunk.
    void reset();
    void destroy() { reset(); }

private:
    // Header at the start of each block; the data follows it.
    struct block {
        uint32_t used;  // bytes used from the data start; kDedicated for a block of one request
        block* next;
    };
    static constexpr uint32_t kDedicated = 0xffffffffu;
    static constexpr uint32_t kHeader = 8; // the block header as the chunk arithmetic counts it

    static char* data(block* b) { return reinterpret_cast<char*>(b) + sizeof(block); }

    uint32_t chunk_size;
    block* first;
    block* current;
};
