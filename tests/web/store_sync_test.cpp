// When the store's files are copied to the browser's storage.
#include <gtest/gtest.h>

#include "platform/web/store_sync.h"

namespace {

TEST(StoreSync, ABurstOfWritesIsCopiedOnceAfterItSettles) {
    plat::StoreSync sync;
    sync.Loaded(1);
    EXPECT_FALSE(sync.ShouldStart(1, 0));  // nothing changed since loading
    EXPECT_FALSE(sync.ShouldStart(2, 100));
    EXPECT_FALSE(sync.ShouldStart(3, 150));  // still being written
    EXPECT_FALSE(sync.ShouldStart(3, 349));
    EXPECT_TRUE(sync.ShouldStart(3, 350));
    EXPECT_FALSE(sync.ShouldStart(3, 360));  // one copy at a time
    sync.Finished(true, 400);
    EXPECT_FALSE(sync.ShouldStart(3, 1000));
    EXPECT_EQ(sync.Copies(), 1u);
}

TEST(StoreSync, AChangeDuringACopyIsCopiedAfterIt) {
    plat::StoreSync sync;
    sync.Loaded(1);
    EXPECT_FALSE(sync.ShouldStart(2, 0xFFFFFF00u));  // near the wrap of the clock
    ASSERT_TRUE(sync.ShouldStart(2, 0xFFFFFFC8u));
    EXPECT_FALSE(sync.ShouldStart(3, 0xFFFFFFD0u));
    sync.Finished(true, 0x20);
    EXPECT_FALSE(sync.ShouldStart(3, 0x30));
    EXPECT_TRUE(sync.ShouldStart(3, 0x98));
}

TEST(StoreSync, AFailedCopyIsTriedAgainLaterAndAtTheEnd) {
    plat::StoreSync sync;
    sync.Loaded(1);
    EXPECT_FALSE(sync.ShouldStart(2, 300));
    ASSERT_TRUE(sync.ShouldStart(2, 500));
    sync.Finished(false, 600);
    EXPECT_EQ(sync.Failures(), 1u);
    EXPECT_FALSE(sync.ShouldStart(2, 2000));
    EXPECT_TRUE(sync.ShouldStart(2, 2600));
    sync.Finished(false, 2700);
    // The end of the run does not wait.
    EXPECT_TRUE(sync.ShouldStart(2, 2701, true));
    sync.Finished(true, 2800);
    EXPECT_FALSE(sync.ShouldStart(2, 2900, true));
    EXPECT_FALSE(sync.InFlight());
}

}  // namespace
