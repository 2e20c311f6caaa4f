// The picture plug-ins on real files of every format: pixels, orientation, alpha, file and
// memory sources, the 128-byte offset, progress, and broken or hostile files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>

#include "samples.h"
#include "spi_api.h"

using namespace spitest;

namespace {

struct Format {
  const char* plugin;
  const char* ext;
  std::function<Bytes(const TempDir&)> encode;
  Alpha alpha;
  int tolerance;  // per channel; 0 compares every pixel exactly
  int depth;      // the colour depth GetPictureInfo reports; 0 when the writer chooses it
};

const std::vector<Format>& formats() {
  static const std::vector<Format> all = {
      {"png", "png", [](const TempDir&) { return encode_png(); }, Alpha::full, 0, 32},
      {"jpeg", "jpg", [](const TempDir&) { return encode_jpeg(); }, Alpha::none, 16, 24},
      {"bmp", "bmp", [](const TempDir&) { return encode_bmp(); }, Alpha::none, 0, 0},
      {"gif", "gif", [](const TempDir&) { return encode_gif(false); }, Alpha::binary, 0, 2},
      {"gif", "gif", [](const TempDir&) { return encode_gif(true); }, Alpha::binary, 0, 2},
      {"tiff", "tif", [](const TempDir& t) { return encode_tiff(t.file("w.tif")); }, Alpha::full, 0, 32},
      {"webp", "webp", [](const TempDir&) { return encode_webp(); }, Alpha::full, 0, 32},
      {"heif", "heic", [](const TempDir&) { return encode_heif(); }, Alpha::none, 24, 24},
      {"avif", "avif", [](const TempDir&) { return encode_avif(); }, Alpha::full, 8, 32},
      {"jxl", "jxl", [](const TempDir&) { return encode_jxl(); }, Alpha::full, 0, 32},
  };
  return all;
}

constexpr const char* kAllPlugins[] = {"png", "jpeg", "gif", "bmp", "tiff", "webp", "heif",
                                       "avif", "jxl", "zip", "rar", "7z", "lzh", "tar"};

bool close_to(uint32_t got, uint32_t want, int tolerance) {
  for (int shift = 0; shift < 32; shift += 8) {
    const int a = int(got >> shift & 0xff), b = int(want >> shift & 0xff);
    if (std::abs(a - b) > tolerance) return false;
  }
  return true;
}

// The decoded picture against the reference: every pixel for the exact formats, the
// middle of each quarter for the lossy ones; colour only where the pixel is not clear.
void expect_reference(const Picture& pic, const Format& f) {
  ASSERT_EQ(pic.rc, VLX_SPI_OK);
  ASSERT_EQ(pic.width, kWidth);
  ASSERT_EQ(pic.height, kHeight);
  EXPECT_EQ(pic.bit_count, f.alpha == Alpha::none ? 24 : 32);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const bool middle = (x == 8 || x == 24) && (y == 6 || y == 18);
      if (f.tolerance && !middle) continue;
      uint32_t want = reference_pixel(x, y, f.alpha), got = pic.pixel(x, y);
      if ((want >> 24) == 0) want &= 0xff000000, got &= 0xff000000;
      ASSERT_TRUE(close_to(got, want, f.tolerance))
          << f.plugin << " pixel " << x << "," << y << std::hex << " got " << got << " want " << want;
    }
  }
}

class PictureFormats : public ::testing::TestWithParam<size_t> {
 protected:
  void SetUp() override { data = format().encode(dir); }
  const Format& format() const { return formats()[GetParam()]; }

  TempDir dir;
  Bytes data;  // the reference picture in this format
};

TEST_P(PictureFormats, DecodesFromFileAndMemoryAtBothOffsetsAndOnlyItsPluginClaimsIt) {
  const Format& f = format();
  const std::string path = dir.file(std::string("sample.") + f.ext);
  write_bytes(path, data);
  Plugin p(f.plugin);
  ASSERT_TRUE(p.loaded());
  ASSERT_TRUE(p.abi_version && *p.abi_version == VLX_SPI_ABI_VERSION);
  EXPECT_TRUE(p.GetPicture && p.GetPreview && p.GetPictureInfo);
  EXPECT_FALSE(p.GetArchiveInfo || p.GetFile || p.GetFileInfo);  // a picture plug-in only
  EXPECT_NE(p.info(2).find(std::string("*.") + f.ext), std::string::npos) << p.info(2);

  Bytes head(VLX_SPI_HEADER_BYTES, 0);
  std::copy_n(data.begin(), std::min(data.size(), head.size()), head.begin());
  EXPECT_NE(p.IsSupported(path.c_str(), nullptr), 0);
  EXPECT_NE(p.IsSupported("x", head.data()), 0);

  const size_t blocks = live_blocks();
  VLX_PictureInfo info;
  std::memset(&info, 0xff, sizeof info);
  ASSERT_EQ(p.GetPictureInfo(path.c_str(), 0, VLX_SPI_SOURCE_FILE, &info), VLX_SPI_OK);
  // The depth only where the format fixes it; the text block copied out of the packed record.
  EXPECT_EQ(std::tuple(int(info.left), int(info.width), int(info.height), f.depth ? int(info.colorDepth) : 0,
                       VLX_HLOCAL(info.info)),
            std::tuple(0, kWidth, kHeight, f.depth, VLX_HLOCAL(0)));

  expect_reference(decode_file(p, path), f);
  expect_reference(decode_memory(p, data), f);

  // Behind a 128-byte header the data is found at offset 128 and only there.
  Bytes wrapped(128 + data.size(), 'M');
  std::copy(data.begin(), data.end(), wrapped.begin() + 128);
  const std::string wrapped_path = dir.file("wrapped.bin");
  write_bytes(wrapped_path, wrapped);
  EXPECT_NE(p.IsSupported(wrapped_path.c_str(), nullptr), 0);
  EXPECT_EQ(decode_file(p, wrapped_path, 0).rc, VLX_SPI_UNKNOWN_FORMAT);
  expect_reference(decode_file(p, wrapped_path, 128), f);
  EXPECT_NE(decode_file(p, wrapped_path, int64_t(wrapped.size()) + 1).rc, VLX_SPI_OK);
  EXPECT_EQ(live_blocks(), blocks);

  // Only its own plug-in claims the file.
  for (const char* name : kAllPlugins) {
    Plugin other(name);
    ASSERT_TRUE(other.loaded()) << name;
    EXPECT_EQ(other.IsSupported(path.c_str(), nullptr) != 0, std::strcmp(name, f.plugin) == 0)
        << name << " on " << f.plugin;
  }
}

TEST_P(PictureFormats, ReportsProgressAndFailsWithoutBlocksWhenStoppedOrCutOff) {
  const Format& f = format();
  Plugin p(f.plugin);
  struct Calls {
    std::vector<std::pair<int32_t, int32_t>> seen;
    bool stop = false;
  } calls;
  auto callback = [](int32_t num, int32_t denom, intptr_t user) -> int32_t {
    auto* c = reinterpret_cast<Calls*>(user);
    c->seen.emplace_back(num, denom);
    return c->stop ? 1 : 0;
  };
  const auto* src = reinterpret_cast<const char*>(data.data());
  VLX_HLOCAL info = 0, bits = 0;
  ASSERT_EQ(p.GetPicture(src, int64_t(data.size()), VLX_SPI_SOURCE_MEMORY, &info, &bits, callback,
                         reinterpret_cast<intptr_t>(&calls)),
            VLX_SPI_OK);
  VLX_LocalFree(info);
  VLX_LocalFree(bits);
  ASSERT_FALSE(calls.seen.empty());
  EXPECT_EQ(calls.seen.back().first, calls.seen.back().second);
  for (size_t i = 1; i < calls.seen.size(); ++i) {
    const auto [n0, d0] = calls.seen[i - 1];
    const auto [n1, d1] = calls.seen[i];
    EXPECT_LE(double(n0) / d0, double(n1) / d1) << "progress never goes back";
  }

  const size_t blocks = live_blocks();
  calls = Calls{{}, true};
  info = bits = 123;
  EXPECT_EQ(p.GetPicture(src, int64_t(data.size()), VLX_SPI_SOURCE_MEMORY, &info, &bits, callback,
                         reinterpret_cast<intptr_t>(&calls)),
            VLX_SPI_ABORTED);
  EXPECT_EQ(info, VLX_HLOCAL(0));
  EXPECT_EQ(bits, VLX_HLOCAL(0));
  for (size_t keep : {data.size() - 16, data.size() * 6 / 10, size_t(40), size_t(0)}) {
    const Bytes cut(data.begin(), data.begin() + std::min(keep, data.size()));
    const Picture pic = decode_memory(p, cut);
    EXPECT_NE(pic.rc, VLX_SPI_OK) << f.plugin << " kept " << keep;
    EXPECT_GT(pic.rc, 0) << "a failure code, not a made-up result";
  }
  EXPECT_EQ(live_blocks(), blocks);
}

INSTANTIATE_TEST_SUITE_P(All, PictureFormats, ::testing::Range(size_t(0), formats().size()),
                         [](const auto& info) {
                           return std::string(formats()[info.param].plugin) + std::to_string(info.param);
                         });

// Expected colours of two corners of a turned picture: stored red, green / blue, yellow.
TEST(PictureOrientation, PhotoOrientationTurnsThePictureUpright) {
  struct Case {
    int orientation;
    uint32_t top_left, top_right;
  };
  const uint32_t red = 0xffff0000, green = 0xff00ff00, blue = 0xff0000ff, yellow = 0xffffff00;
  const Case cases[] = {{1, red, green},  {2, green, red},  {3, yellow, blue}, {4, blue, yellow},
                        {5, red, blue},   {6, blue, red},   {7, yellow, green}, {8, green, yellow}};
  const Bytes jpeg = encode_jpeg();
  Plugin p("jpeg");
  for (const Case& c : cases) {
    const Bytes data = with_exif_orientation(jpeg, c.orientation);
    const Picture pic = decode_memory(p, data);
    ASSERT_EQ(pic.rc, VLX_SPI_OK);
    const bool turned = c.orientation >= 5;
    EXPECT_EQ(std::pair(pic.width, pic.height), turned ? std::pair(kHeight, kWidth) : std::pair(kWidth, kHeight))
        << c.orientation;
    EXPECT_TRUE(close_to(pic.pixel(2, 2), c.top_left, 16)) << c.orientation << std::hex << " " << pic.pixel(2, 2);
    EXPECT_TRUE(close_to(pic.pixel(pic.width - 3, 2), c.top_right, 16)) << c.orientation;
    VLX_PictureInfo info{};
    ASSERT_EQ(p.GetPictureInfo(reinterpret_cast<const char*>(data.data()), int64_t(data.size()),
                               VLX_SPI_SOURCE_MEMORY, &info),
              VLX_SPI_OK);
    EXPECT_EQ(info.width, pic.width);
  }

  // An AVIF turned a quarter anticlockwise: the green quarter comes to the top left and the
  // clear yellow one to the top right.
  Plugin avif("avif");
  const Picture pic = decode_memory(avif, encode_avif(1));
  ASSERT_EQ(pic.rc, VLX_SPI_OK);
  EXPECT_EQ(pic.width, kHeight);
  EXPECT_TRUE(close_to(pic.pixel(2, 2), green, 8));
  EXPECT_EQ(pic.pixel(pic.width - 3, 2) >> 24, 0u);
}

TEST(PicturePreview, JpegPreviewIsSmallAndOthersGiveThePicture) {
  const Bytes big = encode_jpeg(2048, 1536);
  Plugin jpeg("jpeg");
  const Picture preview = decode_memory(jpeg, big, true);
  ASSERT_EQ(preview.rc, VLX_SPI_OK);
  EXPECT_EQ(std::pair(preview.width, preview.height), std::pair(256, 192));
  EXPECT_TRUE(close_to(preview.pixel(192, 144), 0xffffff00, 16));  // the yellow quarter
  const Picture full = decode_memory(jpeg, big);
  EXPECT_EQ(full.width, 2048);

  Plugin png("png");
  EXPECT_EQ(decode_memory(png, encode_png(), true).width, kWidth);
}

// Headers that declare 100 000 × 100 000 pixels (or the most the format can say) are
// refused before any pixel memory is taken.
TEST(PictureBounds, AbsurdSidesAreRefused) {
  TempDir dir;
  Bytes png = png_claiming(100000, 100000);
  Bytes png4g = png_claiming(65536, 65536);  // 2^32 pixels: a count that wraps in 32 bits

  Bytes gif = encode_gif(false);
  for (size_t at : {size_t(6), size_t(8)}) gif[at] = gif[at + 1] = 0xff;  // the screen
  const auto image = std::find(gif.begin() + 13, gif.end(), 0x2c) - gif.begin();
  for (size_t at : {size_t(image + 5), size_t(image + 7)}) gif[at] = gif[at + 1] = 0xff;

  Bytes jpeg = encode_jpeg();
  for (size_t i = 2; i + 8 < jpeg.size(); ++i) {
    if (jpeg[i] == 0xff && (jpeg[i + 1] == 0xc0 || jpeg[i + 1] == 0xc2)) {
      jpeg[i + 5] = jpeg[i + 7] = 0xff;  // 65 500 and more on both sides
      jpeg[i + 6] = jpeg[i + 8] = 0xdc;
      break;
    }
  }

  Bytes bmp = encode_bmp();
  for (size_t at : {size_t(18), size_t(22)}) std::copy_n("\xa0\x86\x01\x00", 4, bmp.begin() + long(at));  // 100 000

  Bytes tiff = encode_tiff(dir.file("w.tif"));
  const uint32_t ifd = tiff[4] | tiff[5] << 8 | tiff[6] << 16 | uint32_t(tiff[7]) << 24;
  for (uint32_t i = 0, n = tiff[ifd] | tiff[ifd + 1] << 8; i < n; ++i) {
    const size_t e = ifd + 2 + 12 * i;
    const unsigned tag = tiff[e] | tiff[e + 1] << 8;
    if (tag == 256 || tag == 257) tiff[e + 8] = tiff[e + 9] = 0xff;
  }

  const std::pair<const char*, Bytes*> cases[] = {
      {"png", &png}, {"png", &png4g}, {"gif", &gif}, {"jpeg", &jpeg}, {"bmp", &bmp}, {"tiff", &tiff}};
  const size_t blocks = live_blocks();
  for (const auto& [plugin, data] : cases) {
    Plugin p(plugin);
    VLX_PictureInfo info{};
    const auto* src = reinterpret_cast<const char*>(data->data());
    EXPECT_NE(p.GetPictureInfo(src, int64_t(data->size()), VLX_SPI_SOURCE_MEMORY, &info), VLX_SPI_OK) << plugin;
    const Picture pic = decode_memory(p, *data);
    EXPECT_GT(pic.rc, 0) << plugin;
  }
  EXPECT_EQ(live_blocks(), blocks);
}

}  // namespace
