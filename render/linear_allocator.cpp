#include "render/linear_allocator.h"

#include "core/Assert.h"

#include <cstdlib>

namespace {

char* align_up(char* p, unsigned alignment)
{
    uintptr_t v = reinterpret_cast<uintptr_t>(p);
    uintptr_t a = alignment ? alignment : 1;
    return reinterpret_cast<char*>((v + a - 1) & ~(a - 1));
}

} // namespace

void linear_allocator::init()
{
    chunk_size = kChunkSize;
    first = nullptr;
    current = nullptr;
}

// A chunk's capacity is counted as the chunk size minus an 8-byte header, so the limits stay
// those of the stored format; the real header (16 bytes here) is allocated on top of it.
void* linear_allocator::alloc(unsigned size, unsigned alignment)
{
    uint64_t need = uint64_t(kHeader) + alignment + size;
    if (need > chunk_size) {
        block* ch = static_cast<block*>(std::malloc(sizeof(block) + size_t(size) + alignment));
        PP_ASSERT(ch);
        ch->used = kDedicated;
        ch->next = first;
        first = ch;
        if (!current)
            current = ch;
        return align_up(data(ch), alignment);
    }
    if (!current || current->used == kDedicated ||
        uint64_t(kHeader) + current->used + alignment + size > chunk_size) {
        block* ch = static_cast<block*>(std::malloc(sizeof(block) + chunk_size - kHeader));
        PP_ASSERT(ch);
        ch->used = 0;
        ch->next = nullptr;
        if (current)
            current->next = ch;
        else
            first = ch;
        current = ch;
    }
    char* start = data(current);
    char* p = align_up(start + current->used, alignment);
    current->used = uint32_t(p - start) + size;
    return p;
}

void linear_allocator::reset()
{
    block* b = first;
    while (b) {
        block* next = b->next;
        std::free(b);
        b = next;
    }
    first = nullptr;
    current = nullptr;
}
