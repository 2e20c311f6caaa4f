// JPEG through libjpeg-turbo, turned upright by the photo's Exif orientation.
#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jpeglib.h>
#include <jerror.h>

#include "exif.h"
#include "picture_body.h"

namespace vlxspi {
namespace {

// Memory the library may take for a progressive picture's coefficients.
constexpr long kMaxWorkMemory = 1L << 30;
// A progressive picture of more scans than this is taken for a denial of service.
constexpr int kMaxScans = 1000;
// A preview is decoded at the smallest scale that keeps its longer side at least this.
constexpr unsigned kPreviewSide = 256;

struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
  int32_t failure;
  bool hit_end;
};

class JpegReader : public PictureReader {
 public:
  JpegReader() {
    cinfo_.err = jpeg_std_error(&err_.base);
    err_.base.error_exit = on_error;
    err_.base.emit_message = on_message;
    err_.failure = VLX_SPI_BROKEN_DATA;
    err_.hit_end = false;
    monitor_.progress_monitor = on_progress;
  }
  ~JpegReader() override {
    if (created_) jpeg_destroy_decompress(&cinfo_);
  }

  int32_t start(Bytes data, bool preview, PictureHeader& header) override {
    if (setjmp(err_.jump)) return err_.failure;
    jpeg_create_decompress(&cinfo_);
    created_ = true;
    cinfo_.mem->max_memory_to_use = kMaxWorkMemory;
    cinfo_.progress = &monitor_;
    cinfo_.client_data = this;
    jpeg_mem_src(&cinfo_, data.data(), static_cast<unsigned long>(data.size()));
    jpeg_save_markers(&cinfo_, JPEG_APP0 + 1, 0xffff);
    jpeg_read_header(&cinfo_, TRUE);

    for (jpeg_saved_marker_ptr m = cinfo_.marker_list; m; m = m->next) {
      if (m->marker == JPEG_APP0 + 1) header.orientation = exif_orientation(m->data, m->data_length);
      if (header.orientation != 1) break;
    }
    cmyk_ = cinfo_.jpeg_color_space == JCS_CMYK || cinfo_.jpeg_color_space == JCS_YCCK;
    cinfo_.out_color_space = cmyk_ ? JCS_CMYK : JCS_EXT_BGR;
    if (preview) {
      const unsigned longer = std::max(cinfo_.image_width, cinfo_.image_height);
      unsigned denom = 8;
      while (denom > 1 && longer / denom < kPreviewSide) denom /= 2;
      cinfo_.scale_num = 1;
      cinfo_.scale_denom = denom;
    }
    jpeg_calc_output_dimensions(&cinfo_);
    header.width = cinfo_.output_width;
    header.height = cinfo_.output_height;
    header.depth = int16_t(cinfo_.num_components * 8);
    if (cinfo_.saw_JFIF_marker && cinfo_.density_unit == 1) {
      header.x_dpi = cinfo_.X_density;
      header.y_dpi = cinfo_.Y_density;
    } else if (cinfo_.saw_JFIF_marker && cinfo_.density_unit == 2) {
      header.x_dpi = uint16_t(cinfo_.X_density * 254u / 100u);
      header.y_dpi = uint16_t(cinfo_.Y_density * 254u / 100u);
    }
    return VLX_SPI_OK;
  }

  int32_t read(Canvas& canvas, Progress& progress) override {
    std::vector<uint8_t> cmyk_row(cmyk_ ? size_t(canvas.width()) * 4 : 0);
    progress_ = &progress;
    if (setjmp(err_.jump)) return err_.failure;
    jpeg_start_decompress(&cinfo_);
    while (cinfo_.output_scanline < cinfo_.output_height) {
      const uint32_t y = cinfo_.output_scanline;
      JSAMPROW row = cmyk_ ? cmyk_row.data() : canvas.row(y);
      if (jpeg_read_scanlines(&cinfo_, &row, 1) != 1) return VLX_SPI_BROKEN_DATA;
      if (cmyk_) put_cmyk(canvas, y, cmyk_row.data());
    }
    // The library makes up the rest of a cut-off file and only warns of it.
    return err_.hit_end ? VLX_SPI_BROKEN_DATA : VLX_SPI_OK;
  }

 private:
  void put_cmyk(Canvas& canvas, uint32_t y, const uint8_t* src) const {
    // Adobe's files store the inks inverted, which the library hands on as they are.
    const bool inverted = cinfo_.saw_Adobe_marker;
    for (uint32_t x = 0; x < canvas.width(); ++x, src += 4) {
      uint32_t c = src[0], m = src[1], ye = src[2], k = src[3];
      if (!inverted) c = 255 - c, m = 255 - m, ye = 255 - ye, k = 255 - k;
      canvas.put_rgba(x, y, uint8_t(c * k / 255), uint8_t(m * k / 255), uint8_t(ye * k / 255));
    }
  }

  static JpegReader& self(j_common_ptr cinfo) { return *static_cast<JpegReader*>(cinfo->client_data); }

  [[noreturn]] static void on_error(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    std::longjmp(err->jump, 1);
  }

  static void on_message(j_common_ptr cinfo, int level) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    if (level == -1 && err->base.msg_code == JWRN_JPEG_EOF) err->hit_end = true;
  }

  static void on_progress(j_common_ptr cinfo) {
    JpegReader& r = self(cinfo);
    auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (d->progressive_mode && d->input_scan_number > kMaxScans) {
      r.err_.failure = VLX_SPI_BROKEN_DATA;
      on_error(cinfo);
    }
    const jpeg_progress_mgr* m = cinfo->progress;
    if (!r.progress_ || m->total_passes <= 0 || m->pass_limit <= 0) return;
    const uint64_t total = uint64_t(m->total_passes) * uint64_t(m->pass_limit);
    const uint64_t done = uint64_t(m->completed_passes) * uint64_t(m->pass_limit) +
                          uint64_t(std::max(0L, m->pass_counter));
    if (!r.progress_->report(done, total)) {
      r.err_.failure = VLX_SPI_ABORTED;
      on_error(cinfo);
    }
  }

  jpeg_decompress_struct cinfo_{};
  ErrorManager err_{};
  jpeg_progress_mgr monitor_{};
  bool created_ = false;
  bool cmyk_ = false;
  Progress* progress_ = nullptr;
};

}  // namespace
}  // namespace vlxspi

VLX_SPI_PICTURE_BODY("jpeg", vlxspi::JpegReader)
