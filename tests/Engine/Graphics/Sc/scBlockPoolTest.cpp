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
        ASSERT_NE(pool.Alloc(), nullptr);
        EXPECT_EQ(std::pair(pool.GetBlockSize(), pool.GetBytesAllocated()), std::pair(c.block, i64(c.chunk)));
    }
}

TEST(scBlockPool, ChunksAndFreeList) {
    scBlockPool pool;
    pool.Init(64, 256);
    // A new chunk hands out its blocks from the last down to the first.
    std::vector<std::byte*> blocks{static_cast<std::byte*>(pool.Alloc())};
    for (int i = 1; i < 256; ++i) {
        blocks.push_back(static_cast<std::byte*>(pool.Alloc()));
        ASSERT_EQ(blocks[i], blocks[i - 1] - 64);
    }
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
    std::vector<std::pair<unsigned char*, unsigned char>> live;
    const auto intact = [](auto l) {
        return std::all_of(l.first, l.first + 40, [&](auto c) { return c == l.second; });
    };
    for (int step = 0; step < 100000; ++step) {
        if (live.empty() || random() % 5 < 3) {
            live.emplace_back(static_cast<unsigned char*>(pool.Alloc()), static_cast<unsigned char>(step));
            ASSERT_NE(live.back().first, nullptr);
            std::memset(live.back().first, live.back().second, 40);
        } else {
            std::swap(live[random() % live.size()], live.back());
            ASSERT_TRUE(intact(live.back())) << step;
            pool.Release(live.back().first);
            live.pop_back();
        }
    }
    EXPECT_TRUE(std::all_of(live.begin(), live.end(), intact));
}
