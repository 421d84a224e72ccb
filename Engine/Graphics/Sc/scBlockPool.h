#pragma once
#include "Engine/Core/Env/envTypes.h"

#include <cstddef>

// Equal fixed-size blocks carved from large chunks, for records made and dropped by the thousand
// (particles, fragments). A freed block goes on an intrusive free list and is handed out again; chunks
// go back to the heap only in ReleaseAll, at program exit. Alloc and Release are constant time and
// call the heap only for a new chunk. Blocks carry no header and are pointer-aligned.
class scBlockPool {
  public:
    // The total bytes a pool takes unless Init is told otherwise.
    static constexpr i64 kDefaultByteLimit = 0x7FFFFFFF;

    scBlockPool() = default;
    ~scBlockPool() { ReleaseAll(); }
    scBlockPool(const scBlockPool&) = delete;
    scBlockPool& operator=(const scBlockPool&) = delete;

    // Empties the pool, then sets the block size (rounded up to hold and align a pointer) and the blocks
    // per chunk (at least one); allocates nothing.
    void Init(u32 blockSize, i32 blocksPerChunk, i64 byteLimit = kDefaultByteLimit);

    // A free block, or null when another chunk would pass the byte limit or the heap has none.
    void* Alloc();
    // Puts a block of this pool back on the free list; null is ignored.
    void Release(void* block);
    // Frees every chunk. Blocks still in use become invalid.
    void ReleaseAll();

    std::size_t GetBlockSize() const { return m_blockSize; }
    std::size_t GetChunkSize() const { return m_chunkSize; }
    i64 GetBytesAllocated() const { return m_bytesAllocated; }

  private:
    // The first word of every chunk links to the chunk allocated before it.
    struct Chunk {
        Chunk* previous;
    };
    // The first word of every free block links to the next free block.
    struct FreeBlock {
        FreeBlock* next;
    };

    void AddChunk(std::byte* memory);

    std::size_t m_blocksPerChunk = 0;
    std::size_t m_blockSize = 0;
    std::size_t m_chunkSize = 0;
    i64 m_byteLimit = kDefaultByteLimit;
    i64 m_bytesAllocated = 0;
    Chunk* m_chunks = nullptr;
    FreeBlock* m_freeList = nullptr;
};
