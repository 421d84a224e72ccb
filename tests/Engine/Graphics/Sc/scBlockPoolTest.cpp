#include "Engine/Graphics/Sc/scBlockPool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#endif

TEST(scBlockPool, Layout) {
    struct Case {
        u32 blockSize;
        i32 blocksPerChunk;
        std::size_t block, chunk;
    };
    // Blocks hold and align a pointer; a chunk is one pointer of header and its blocks.
    for (const Case& c : {Case{64, 256, 64, 16392}, {1, 4, 8, 40}, {12, 2, 16, 40}, {16, 0, 16, 24}}) {
        scBlockPool pool;
        pool.Init(c.blockSize, c.blocksPerChunk);
        EXPECT_EQ(pool.GetBlockSize(), c.block) << c.blockSize;
        EXPECT_EQ(pool.GetChunkSize(), c.chunk) << c.blockSize;
        ASSERT_NE(pool.Alloc(), nullptr);
        EXPECT_EQ(pool.GetBytesAllocated(), i64(c.chunk));
    }
}

TEST(scBlockPool, ChunksAndFreeList) {
    scBlockPool pool;
    pool.Init(64, 256);
    // A new chunk hands out its blocks from the last down to the first.
    std::vector<std::byte*> blocks;
    for (int i = 0; i < 256; ++i)
        blocks.push_back(static_cast<std::byte*>(pool.Alloc()));
    for (int i = 1; i < 256; ++i)
        ASSERT_EQ(blocks[i], blocks[i - 1] - 64);
    EXPECT_EQ(pool.GetBytesAllocated(), 16392);

    pool.Release(blocks[7]);
    pool.Release(nullptr);
#if defined(__SANITIZE_ADDRESS__)
    EXPECT_TRUE(__asan_address_is_poisoned(blocks[7] + 63));
#endif
    EXPECT_EQ(pool.Alloc(), blocks[7]);
    EXPECT_EQ(pool.GetBytesAllocated(), 16392);
    EXPECT_NE(pool.Alloc(), nullptr);
    EXPECT_EQ(pool.GetBytesAllocated(), 2 * 16392);

    pool.ReleaseAll();
    EXPECT_EQ(pool.GetBytesAllocated(), 0);
    EXPECT_NE(pool.Alloc(), nullptr);
    EXPECT_EQ(pool.GetBytesAllocated(), 16392);
}

TEST(scBlockPool, ByteLimit) {
    scBlockPool pool;
    pool.Init(64, 256, 16391);
    EXPECT_EQ(pool.Alloc(), nullptr);
    EXPECT_EQ(pool.GetBytesAllocated(), 0);

    pool.Init(64, 2, 2 * 136);
    for (int i = 0; i < 4; ++i)
        ASSERT_NE(pool.Alloc(), nullptr);
    EXPECT_EQ(pool.Alloc(), nullptr);

    // A chunk past 2^31 bytes is refused without a heap call, not wrapped into a negative total.
    pool.Init(0x80000000u, 1);
    EXPECT_EQ(pool.Alloc(), nullptr);
    EXPECT_EQ(pool.GetBytesAllocated(), 0);

    EXPECT_EQ(scBlockPool().Alloc(), nullptr);
}

TEST(scBlockPool, RandomUseKeepsBlocksApart) {
    scBlockPool pool;
    pool.Init(40, 16);
    std::mt19937 random(7);
    struct Live {
        unsigned char* block;
        unsigned char mark;
    };
    std::vector<Live> live;
    const auto intact = [&](const Live& l) {
        return std::all_of(l.block, l.block + 40, [&](unsigned char c) { return c == l.mark; });
    };
    for (int step = 0; step < 100000; ++step) {
        if (live.empty() || random() % 5 < 3) {
            auto* block = static_cast<unsigned char*>(pool.Alloc());
            ASSERT_NE(block, nullptr);
            const auto mark = static_cast<unsigned char>(step);
            std::memset(block, mark, 40);
            live.push_back({block, mark});
        } else {
            const std::size_t i = random() % live.size();
            ASSERT_TRUE(intact(live[i])) << step;
            pool.Release(live[i].block);
            live[i] = live.back();
            live.pop_back();
        }
    }
    for (const Live& l : live)
        ASSERT_TRUE(intact(l));
}
