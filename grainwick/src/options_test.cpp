#include "options.h"

#include <gtest/gtest.h>

namespace grainwick {
namespace {

TEST(Options, SetReplacesLookupIsUpperCaseAndWholeKeyGrowsAndCutsLongLines) {
  HGLOBAL list = options_create();
  ASSERT_NE(list, nullptr);
  EXPECT_FALSE(options_get(list, "COMPRESS"));
  ASSERT_TRUE(options_set(list, "Compress", "on"));
  ASSERT_TRUE(options_set(list, "TIFF_COMPRESS", "lzw"));
  ASSERT_TRUE(options_set(list, "compress", "off"));
  EXPECT_EQ(options_get(list, "COMPRESS"), "OFF");
  EXPECT_EQ(options_get(list, "tiff_compress"), "LZW");
  // "PATH" must not be found inside "FILEPATH".
  ASSERT_TRUE(options_set(list, "FILEPATH", "x"));
  EXPECT_FALSE(options_get(list, "PATH"));
  ASSERT_TRUE(options_set(list, "TIFF_XRES", "200dpi"));
  EXPECT_EQ(options_get_number(list, "TIFF_XRES"), 200);
  EXPECT_FALSE(options_get_number(list, "TIFF_YRES"));
  // Long lines are cut; the list grows.
  std::string long_value(500, 'a');
  ASSERT_TRUE(options_set(list, "TIFF_ARTIST", long_value));
  auto v = options_get(list, "TIFF_ARTIST");
  ASSERT_TRUE(v);
  EXPECT_EQ(v->size(), 199u - std::string("\rTIFF_ARTIST = ").size());
  for (int i = 0; i < 100; ++i) ASSERT_TRUE(options_set(list, "KEY" + std::to_string(i), std::to_string(i * 7)));
  EXPECT_EQ(options_get_number(list, "KEY99"), 693);
  EXPECT_EQ(options_get(list, "KEY9"), "63");
  // A value with a carriage return cannot forge another line.
  ASSERT_TRUE(options_set(list, "A", "1\rB = 2"));
  EXPECT_FALSE(options_get(list, "B"));
  options_free(list);

  HGLOBAL other = GlobalAlloc(GHND, 64);
  EXPECT_FALSE(options_set(other, "A", "1"));
  EXPECT_FALSE(options_get(other, "A"));
  GlobalFree(other);
}

}  // namespace
}  // namespace grainwick
