#include "Engine/Graphics/Sc/scBlockPool.h"

#include <algorithm>
#include <new>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
// Free blocks are poisoned, so a record used after its release is reported like any freed memory.
#define SC_POISON(p, n) ASAN_POISON_MEMORY_REGION(p, n)
#define SC_UNPOISON(p, n) ASAN_UNPOISON_MEMORY_REGION(p, n)
#else
#define SC_POISON(p, n) ((void)(p), (void)(n))
#define SC_UNPOISON(p, n) ((void)(p), (void)(n))
#endif

namespace {

constexpr std::size_t kLinkSize = sizeof(void*);

} // namespace

void scBlockPool::Init(u32 blockSize, i32 blocksPerChunk, i64 byteLimit) {
    // Blocks of the old size cannot serve the new one.
    ReleaseAll();
    const std::size_t size = std::max<std::size_t>(blockSize, kLinkSize);
    m_blockSize = (size + kLinkSize - 1) / kLinkSize * kLinkSize;
    m_blocksPerChunk = std::size_t(std::max(blocksPerChunk, 1));
    m_chunkSize = sizeof(Chunk) + m_blockSize * m_blocksPerChunk;
    m_byteLimit = byteLimit;
}

void* scBlockPool::Alloc() {
    if (!m_freeList) {
        // Summed in 64 bits: the total may pass 2^31 before the test says no.
        if (m_chunkSize == 0 || m_bytesAllocated + i64(m_chunkSize) > m_byteLimit)
            return nullptr;
        auto* memory = static_cast<std::byte*>(::operator new(m_chunkSize, std::nothrow));
        if (!memory)
            return nullptr;
        AddChunk(memory);
    }
    FreeBlock* block = m_freeList;
    SC_UNPOISON(block, m_blockSize);
    m_freeList = block->next;
    return block;
}

void scBlockPool::AddChunk(std::byte* memory) {
    m_bytesAllocated += i64(m_chunkSize);
    m_chunks = new (memory) Chunk{m_chunks};
    // Threaded in address order, so the chunk's last block is handed out first.
    for (std::size_t i = 0; i < m_blocksPerChunk; ++i) {
        std::byte* block = memory + sizeof(Chunk) + i * m_blockSize;
        m_freeList = new (block) FreeBlock{m_freeList};
        SC_POISON(block, m_blockSize);
    }
}

void scBlockPool::Release(void* block) {
    if (!block)
        return;
    m_freeList = new (block) FreeBlock{m_freeList};
    SC_POISON(block, m_blockSize);
}

void scBlockPool::ReleaseAll() {
    while (m_chunks) {
        Chunk* chunk = m_chunks;
        m_chunks = chunk->previous;
        SC_UNPOISON(chunk, m_chunkSize);
        ::operator delete(chunk);
    }
    m_freeList = nullptr;
    m_bytesAllocated = 0;
}
