#include "platform/win32mem.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(GlobalMemory, ZeroInitLockNestingAndHandleFromPointer) {
  HGLOBAL h = GlobalAlloc(GHND, 100);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(GlobalSize(h), 100u);
  auto *p = static_cast<unsigned char *>(GlobalLock(h));
  ASSERT_NE(p, nullptr);
  for (int i = 0; i < 100; ++i) ASSERT_EQ(p[i], 0);
  EXPECT_EQ(GlobalHandle(p), h);
  EXPECT_EQ(GlobalHandle(p + 1), nullptr);
  EXPECT_EQ(GlobalLock(h), p);
  EXPECT_TRUE(GlobalUnlock(h));
  EXPECT_FALSE(GlobalUnlock(h));
  EXPECT_EQ(GlobalFree(h), nullptr);
  EXPECT_EQ(GlobalHandle(p), nullptr);
}

TEST(GlobalMemory, ReAllocKeepsContentZeroesGrowthAndFollowsHandle) {
  HGLOBAL h = GlobalAlloc(GHND, 4);
  std::memcpy(GlobalLock(h), "abcd", 4);
  GlobalUnlock(h);
  ASSERT_EQ(GlobalReAlloc(h, 1 << 20, GHND), h);
  auto *p = static_cast<unsigned char *>(GlobalLock(h));
  EXPECT_EQ(std::memcmp(p, "abcd", 4), 0);
  EXPECT_EQ(p[(1 << 20) - 1], 0);
  EXPECT_EQ(GlobalHandle(p), h);
  GlobalUnlock(h);
  GlobalFree(h);
  EXPECT_EQ(GlobalLock(nullptr), nullptr);
  EXPECT_EQ(GlobalSize(nullptr), 0u);
}

TEST(GlobalMemory, DibStrideRoundsToFourBytes) {
  EXPECT_EQ(dib_stride(1, 1), 4u);
  EXPECT_EQ(dib_stride(33, 1), 8u);
  EXPECT_EQ(dib_stride(7, 4), 4u);
  EXPECT_EQ(dib_stride(9, 4), 8u);
  EXPECT_EQ(dib_stride(3, 24), 12u);
  EXPECT_EQ(dib_stride(1001, 24), 3004u);
}

}  // namespace
