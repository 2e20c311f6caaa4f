// Registering a plug-in loads it and asks for its information; loading the decoding
// libraries themselves (libheif, libavif, libjxl, libtiff and libarchive each take several
// milliseconds with their dependencies) would make that slow for the whole folder. So a
// plug-in file links none of them: its body library does, and is loaded the first time a
// picture or an archive is actually read.
#include "stub.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

#include "source.h"

namespace vlxspi {
namespace {

int32_t copy_text(const char* text, char* buf, int32_t buflen) {
  if (!buf || buflen <= 0) return 0;
  const size_t n = std::min(std::strlen(text), size_t(buflen - 1));
  std::memcpy(buf, text, n);
  buf[n] = 0;
  return int32_t(n);
}

// Where the body lies: in the library folder that sits beside the data folder, as in the
// build tree and when installed (share/vlx/spi and lib/vlx), else wherever the loader finds
// it by name (the plug-in's run path, the system's folders).
std::vector<std::string> body_candidates(const char* body) {
  std::vector<std::string> out;
  Dl_info self{};
  if (dladdr(reinterpret_cast<void*>(&body_candidates), &self) && self.dli_fname) {
    const std::string file = self.dli_fname;
    const size_t slash = file.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : file.substr(0, slash);
    out.push_back(folder + "/../../../lib/vlx/" + body);
  }
  out.push_back(VLX_SPI_INSTALLED_LIBDIR "/" + std::string(body));
  out.push_back(body);
  return out;
}

class BodyLibrary {
 public:
  ~BodyLibrary() {
    if (handle_) dlclose(handle_);
  }
  const BodyTable* get(const Family& family) {
    if (!table_) {
      for (const std::string& path : body_candidates(family.body)) {
        if (!handle_) handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
      }
      if (!handle_) return nullptr;
      auto entry = reinterpret_cast<decltype(&vlx_spi_body)>(dlsym(handle_, VLX_SPI_BODY_SYMBOL));
      table_ = entry ? entry(family.id) : nullptr;
    }
    return table_;
  }

 private:
  void* handle_ = nullptr;
  const BodyTable* table_ = nullptr;
};

BodyLibrary g_body;

}  // namespace

int32_t plugin_info(const Family& family, int32_t infono, char* buf, int32_t buflen) {
  if (infono == 0) return copy_text(family.archive ? "VLX archive 1" : "VLX picture 1", buf, buflen);
  if (infono == 1) return copy_text(family.about, buf, buflen);
  const size_t group = size_t(infono / 2 - 1);
  if (infono < 0 || group >= family.groups.size()) return 0;
  const PatternGroup& g = family.groups[group];
  return copy_text(infono % 2 ? g.name : g.patterns, buf, buflen);
}

int32_t is_supported(const Family& family, const char* filename, const void* data) {
  const std::string_view name = filename ? filename : "";
  if (data) {
    return family.recognise(Bytes(static_cast<const uint8_t*>(data), VLX_SPI_HEADER_BYTES),
                            name);
  }
  const int fd = open_regular_file(filename);
  if (fd < 0) return 0;
  uint8_t head[VLX_SPI_HEADER_BYTES] = {};
  size_t got = 0;
  while (got < sizeof head) {
    const ssize_t n = pread(fd, head + got, sizeof head - got, off_t(got));
    if (n <= 0) break;
    got += size_t(n);
  }
  close(fd);
  // A file may carry a 128-byte header in front of its data; the host reads such a file
  // from offset 128 when offset 0 fails.
  const Bytes all(head, got);
  return family.recognise(all, name) || (got > 128 && family.recognise(all.subspan(128), name));
}

const BodyTable* body(const Family& family) { return g_body.get(family); }

}  // namespace vlxspi
