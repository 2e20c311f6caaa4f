// The bitmap plug-in reads bitmaps with our own code: every layout it knows, against
// bitmaps built byte by byte, and malformed ones that must fail or stay in bounds.
#include <gtest/gtest.h>

#include <cstring>

#include "spi_api.h"
#include "support/bitmaps.h"

using namespace spitest;

namespace {

using vlx::test::Bitmap;
using vlx::test::bytes;

Bytes file(const Bitmap& b) {
  const QByteArray f = b.file();
  return Bytes(f.begin(), f.end());
}

constexpr uint32_t kRed = 0xffff0000, kGreen = 0xff00ff00, kBlue = 0xff0000ff, kWhite = 0xffffffff,
                   kBlack = 0xff000000;

// Rows as the picture shows them, top first.
using Rows = std::vector<std::vector<uint32_t>>;

void expect_rows(const Picture& pic, const Rows& rows, int bit_count, const std::string& what) {
  ASSERT_EQ(pic.rc, VLX_SPI_OK) << what;
  ASSERT_EQ(pic.height, int(rows.size())) << what;
  ASSERT_EQ(pic.width, int(rows[0].size())) << what;
  EXPECT_EQ(pic.bit_count, bit_count) << what;
  for (int y = 0; y < pic.height; ++y)
    for (int x = 0; x < pic.width; ++x)
      EXPECT_EQ(pic.pixel(x, y), rows[size_t(y)][size_t(x)]) << what << " at " << x << "," << y;
}

TEST(Bitmaps, EveryLayoutDecodes) {
  Plugin p("bmp");
  const size_t blocks = live_blocks();
  struct Case {
    std::string what;
    Bitmap bmp;
    Rows rows;
    int bit_count;
  };
  const Bitmap a32 = {.width = 2, .height = 1, .bpp = 32, .rows = bytes({0, 0xff, 0, 0x40, 0xff, 0, 0, 0})};
  const Case cases[] = {
      // 1 bit, 9 pixels wide: the row spills into a second byte and pads to four.
      {"1 bit",
       {.width = 9, .height = 2, .bpp = 1, .palette = {0x000000, 0xffffff},
        .rows = bytes({0b10101010, 0b10000000, 0, 0, 0b01010101, 0b00000000, 0, 0})},  // bottom row first
       {{kBlack, kWhite, kBlack, kWhite, kBlack, kWhite, kBlack, kWhite, kBlack},
        {kWhite, kBlack, kWhite, kBlack, kWhite, kBlack, kWhite, kBlack, kWhite}},
       24},
      {"4 bits",
       {.width = 3, .height = 1, .bpp = 4, .palette = {0, 0xff0000, 0x00ff00, 0x0000ff},
        .rows = bytes({0x12, 0x30, 0, 0})},
       {{kRed, kGreen, kBlue}},
       24},
      // Run-length 8 bits: a run, a literal stretch (padded to a word), a line end, a jump, a
      // run and the end; skipped pixels stay black.
      {"RLE 8",
       {.width = 4, .height = 3, .bpp = 8, .compression = 1,
        .palette = {0, 0xff0000, 0x00ff00, 0x0000ff},
        .rows = bytes({4, 1, 0, 0, 0, 3, 2, 3, 2, 0, 0, 0, 0, 2, 2, 0, 2, 3, 0, 1})},
       {{kBlack, kBlack, kBlue, kBlue}, {kGreen, kBlue, kGreen, kBlack}, {kRed, kRed, kRed, kRed}},
       24},
      {"RLE 4",
       {.width = 5, .height = 1, .bpp = 4, .compression = 2, .palette = {0, 0xff0000, 0x00ff00},
        .rows = bytes({5, 0x12, 0, 1})},
       {{kRed, kGreen, kRed, kGreen, kRed}},
       24},
      // 16 bits with 5-6-5 masks after the header; plain 16 bits are 5-5-5.
      {"16 bits 565",
       {.width = 3, .height = 1, .bpp = 16, .compression = 3, .masks = {0xf800, 0x07e0, 0x001f},
        .rows = bytes({0x00, 0xf8, 0xe0, 0x07, 0x1f, 0x00, 0, 0})},
       {{kRed, kGreen, kBlue}},
       24},
      {"16 bits 555", {.width = 2, .height = 1, .bpp = 16, .rows = bytes({0x00, 0x7c, 0xff, 0x7f})},
       {{kRed, kWhite}}, 24},
      // A 124-byte header with an alpha mask keeps alpha.
      {"32 bits with alpha",
       {.infoSize = 124, .width = 2, .height = 1, .bpp = 32, .compression = 3,
        .masks = {0x00ff0000, 0x0000ff00, 0x000000ff, 0xff000000},
        .rows = bytes({0, 0, 0xff, 0x80, 0xff, 0, 0, 0x00})},
       {{0x80ff0000, 0x000000ff}},
       32},
      // Plain 32 bits: a fourth byte that is 0 everywhere is no alpha; set anywhere, it is.
      {"32 bits, no alpha", {.width = 2, .height = 1, .bpp = 32, .rows = bytes({0, 0xff, 0, 0, 0xff, 0, 0, 0})},
       {{kGreen, kBlue}}, 24},
      {"32 bits, alpha", a32, {{0x4000ff00, 0x000000ff}}, 32},
      {"top-down rows", {.width = 1, .height = -2, .bpp = 24, .rows = bytes({0, 0, 0xff, 0, 0, 0xff, 0, 0})},
       {{kRed}, {kGreen}}, 24},
      {"OS/2 header",
       {.infoSize = 12, .width = 2, .height = 1, .bpp = 8, .palette = {0x0000ff, 0xffffff},
        .rows = bytes({1, 0, 0, 0})},
       {{kWhite, kBlue}},
       24},
  };
  for (const Case& c : cases) expect_rows(decode_memory(p, file(c.bmp)), c.rows, c.bit_count, c.what);
  EXPECT_EQ(live_blocks(), blocks);
}

TEST(Bitmaps, MalformedBitmapsFailOrStayInBounds) {
  Plugin p("bmp");
  const size_t blocks = live_blocks();
  const Bytes one_pixel = file(Bitmap{.width = 1, .height = 1, .bpp = 24, .rows = bytes({0, 0, 0, 0})});
  Bytes pixels_beyond = one_pixel;
  pixels_beyond[10] = 0xf0;  // the pixels would start past the end
  struct Case {
    const char* what;
    Bytes data;
    int32_t rc;
  };
  const Case cases[] = {
      {"one byte short of the last row", file(Bitmap{.width = 4, .height = 4, .bpp = 24, .rows = QByteArray(3 * 12 + 11, '\0')}),
       VLX_SPI_BROKEN_DATA},
      {"a literal stretch past the data",
       file(Bitmap{.width = 8, .height = 1, .bpp = 8, .compression = 1, .palette = {0xffffff}, .rows = bytes({0, 8, 0, 0})}),
       VLX_SPI_BROKEN_DATA},
      {"one line of two, then nothing",
       file(Bitmap{.width = 2, .height = 2, .bpp = 8, .compression = 1, .palette = {0xffffff}, .rows = bytes({2, 0, 0, 0})}),
       VLX_SPI_BROKEN_DATA},
      // Runs and jumps beyond the picture are clipped.
      {"runs and jumps beyond the picture",
       file(Bitmap{.width = 2, .height = 2, .bpp = 8, .compression = 1, .palette = {0, 0xffffff},
               .rows = bytes({255, 1, 0, 2, 250, 0, 255, 1, 0, 0, 0, 2, 0, 250, 0, 1})}),
       VLX_SPI_OK},
      {"7 bits a pixel", file(Bitmap{.width = 1, .height = 1, .bpp = 7, .rows = bytes({0, 0, 0, 0})}), VLX_SPI_UNKNOWN_FORMAT},
      {"pixels past the end", pixels_beyond, VLX_SPI_BROKEN_DATA},
      {"header cut", Bytes(one_pixel.begin(), one_pixel.begin() + 30), VLX_SPI_BROKEN_DATA},
  };
  for (const Case& c : cases) EXPECT_EQ(decode_memory(p, c.data).rc, c.rc) << c.what;

  // A table that claims more colours than the file holds: the missing ones are black.
  const Bitmap short_table{.width = 2, .height = 1, .bpp = 8, .coloursUsed = 1000, .palette = {0xffffff},
                           .rows = bytes({0, 200, 0, 0})};
  expect_rows(decode_memory(p, file(short_table)), {{kWhite, kBlack}}, 24, "short table");
  EXPECT_EQ(live_blocks(), blocks);
}

}  // namespace
