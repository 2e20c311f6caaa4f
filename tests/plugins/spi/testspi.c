/* A plug-in for the tests. Compile-time switches choose its kind and exports; what it does
 * in a call is chosen by the data it is given:
 *
 *   VLXTEST [fault] [command...]
 *
 * Data that does not start with "VLXTEST" is not supported. A fault word ("segv", "fpe",
 * "abort", "ill", "bus", "stack", "exit", "kill") makes every call but IsSupported and
 * GetPluginInfo fail that way; "segv-is" and friends do it inside IsSupported. Commands:
 * "bigbits" (GetPicture claims more pixel rows than its bits block holds), "smallinfo"
 * (a bitmap-information block shorter than its header), "baddir" (a directory block that
 * is not whole records), "entries N" (an archive of N entries). */
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include "vlx_spi.h"

#if !defined(SPI_NO_ABI)
#if defined(SPI_ABI_VALUE)
VLX_SPI_EXPORT const uint32_t vlx_spi_abi_version = SPI_ABI_VALUE;
#else
VLX_SPI_DEFINE_ABI_VERSION
#endif
#endif

#if defined(SPI_JPEG)
#define SPI_PATTERN2 "*.jpg;*.jpeg"
#elif defined(SPI_EMPTY_PATTERNS)
#define SPI_PATTERN2 ""
#elif defined(SPI_BLANK_PATTERNS)
#define SPI_PATTERN2 " *.tst"
#elif defined(SPI_MANY_PATTERNS)
#define SPI_PATTERN2 "*.a;*.b;*.c;"
#define SPI_PATTERN4 "*.Tst"
#else
#define SPI_PATTERN2 "*.tst"
#endif

__attribute__((unused)) static int copy_text(const char* text, char* buf, int32_t buflen) {
  if (!text || buflen <= 0) return 0;
  size_t n = strlen(text);
  if (n > (size_t)buflen - 1) n = (size_t)buflen - 1;
  memcpy(buf, text, n);
  buf[n] = 0;
  return (int)n;
}

#ifndef SPI_NO_INFO
VLX_SPI_EXPORT int32_t GetPluginInfo(int32_t infono, char* buf, int32_t buflen) {
  switch (infono) {
    case 0: return copy_text("test", buf, buflen);
    case 1: return copy_text("Test plug-in", buf, buflen);
    case 2: return copy_text(SPI_PATTERN2, buf, buflen);
    case 3: return copy_text("test files", buf, buflen);
#ifdef SPI_PATTERN4
    case 4: return copy_text(SPI_PATTERN4, buf, buflen);
#endif
    default: return 0;
  }
}
#endif

/* The first bytes of the data, as a NUL-terminated text. */
__attribute__((unused)) static int read_head(const char* buf, int64_t len, uint32_t flag, char* out, size_t size) {
  size_t n = 0;
  if ((flag & VLX_SPI_SOURCE_MASK) == VLX_SPI_SOURCE_MEMORY) {
    n = len < 0 ? 0 : (size_t)len;
    if (n > size - 1) n = size - 1;
    memcpy(out, buf, n);
  } else {
    FILE* f = fopen(buf, "rb");
    if (!f) return 0;
    if (len > 0) fseek(f, (long)len, SEEK_SET);
    n = fread(out, 1, size - 1, f);
    fclose(f);
  }
  memset(out + n, 0, size - n);
  return strncmp(out, "VLXTEST", 7) == 0;
}

static volatile int g_zero = 0;
static volatile int g_depth_limit = 1 << 30;

__attribute__((unused)) static int recurse(int depth) {
  volatile char pad[4096];
  pad[0] = (char)depth;
  if (depth >= g_depth_limit) return pad[0];
  return recurse(depth + 1) + pad[0];
}

/* Faults as the word at `at` says; returns when there is no such word. */
__attribute__((unused)) static void fault(const char* at) {
  if (strncmp(at, "segv", 4) == 0) *(volatile int*)(uintptr_t)g_zero = 1;
  if (strncmp(at, "fpe", 3) == 0) g_zero = 100 / g_zero; /* 1 / x would be folded away */
  if (strncmp(at, "abort", 5) == 0) abort();
  if (strncmp(at, "ill", 3) == 0) __builtin_trap();
  if (strncmp(at, "bus", 3) == 0) raise(SIGBUS);
  if (strncmp(at, "stack", 5) == 0) recurse(0);
  if (strncmp(at, "exit", 4) == 0) _exit(3);
  if (strncmp(at, "kill", 4) == 0) kill(getpid(), SIGKILL);
}

__attribute__((unused)) static int has_word(const char* head, const char* word) { return strstr(head, word) != NULL; }

VLX_SPI_EXPORT int32_t IsSupported(const char* filename, const void* data) {
  char head[256];
  int ok;
  if (data) {
    memcpy(head, data, sizeof head - 1);
    head[sizeof head - 1] = 0;
    ok = strncmp(head, "VLXTEST", 7) == 0;
  } else {
    ok = read_head(filename, 0, VLX_SPI_SOURCE_FILE, head, sizeof head);
  }
#if defined(SPI_JPEG)
  if ((unsigned char)head[0] == 0xFF && (unsigned char)head[1] == 0xD8) return 1;
#endif
  if (ok) {
    const char* is = strstr(head, "-is");
    if (is) fault(head + 8);
  }
  return ok;
}

__attribute__((unused)) static int begin_call(const char* buf, int64_t len, uint32_t flag, char* head, size_t size) {
  if (!read_head(buf, len, flag, head, size)) return 0;
  if (!strstr(head, "-is")) fault(head + 8);
  return 1;
}

#if !defined(SPI_ARCHIVE) && !defined(SPI_NEITHER)
VLX_SPI_EXPORT int32_t GetPictureInfo(const char* buf, int64_t len, uint32_t flag,
                                      VLX_PictureInfo* info) {
  char head[256];
  if (!begin_call(buf, len, flag, head, sizeof head)) return VLX_SPI_UNKNOWN_FORMAT;
  memset(info, 0, sizeof *info);
  info->width = 2;
  info->height = 2;
  info->colorDepth = 24;
  return VLX_SPI_OK;
}

VLX_SPI_EXPORT int32_t GetPicture(const char* buf, int64_t len, uint32_t flag,
                                  VLX_HLOCAL* pHBInfo, VLX_HLOCAL* pHBm,
                                  VLX_ProgressCallback progress, intptr_t data) {
  char head[256];
  if (!begin_call(buf, len, flag, head, sizeof head)) return VLX_SPI_UNKNOWN_FORMAT;
  if (progress && progress(0, 1, data)) return VLX_SPI_ABORTED;
  const size_t infoSize = has_word(head, "smallinfo") ? 16 : sizeof(VLX_BITMAPINFOHEADER);
  VLX_HLOCAL hi = VLX_LocalAlloc(VLX_LMEM_ZEROINIT, infoSize);
  VLX_HLOCAL hb = VLX_LocalAlloc(VLX_LMEM_ZEROINIT, 16); /* two rows of 2 pixels, padded */
  if (!hi || !hb) return VLX_SPI_NO_MEMORY;
  if (infoSize >= sizeof(VLX_BITMAPINFOHEADER)) {
    VLX_BITMAPINFOHEADER* h = (VLX_BITMAPINFOHEADER*)VLX_LocalLock(hi);
    h->biSize = 40;
    h->biWidth = 2;
    h->biHeight = has_word(head, "bigbits") ? 1000 : 2;
    h->biPlanes = 1;
    h->biBitCount = 24;
    VLX_LocalUnlock(hi);
  }
  unsigned char* bits = (unsigned char*)VLX_LocalLock(hb);
  memset(bits, 0x80, 16);
  VLX_LocalUnlock(hb);
  *pHBInfo = hi;
  *pHBm = hb;
  return VLX_SPI_OK;
}
#endif

#if defined(SPI_ARCHIVE)
static int entry_count(const char* head) {
  const char* e = strstr(head, "entries ");
  return e ? atoi(e + 8) : 1;
}

VLX_SPI_EXPORT int32_t GetArchiveInfo(const char* buf, int64_t len, uint32_t flag,
                                      VLX_HLOCAL* lphInf) {
  char head[256];
  if (!begin_call(buf, len, flag, head, sizeof head)) return VLX_SPI_UNKNOWN_FORMAT;
  const int n = entry_count(head);
  size_t size = sizeof(VLX_FileInfo) * (size_t)(n + 1);
  if (has_word(head, "baddir")) size -= 5;
  VLX_HLOCAL h = VLX_LocalAlloc(VLX_LMEM_ZEROINIT, size);
  if (!h) return VLX_SPI_NO_MEMORY;
  VLX_FileInfo* r = (VLX_FileInfo*)VLX_LocalLock(h);
  for (int i = 0; i < n; ++i) {
    memcpy(r[i].method, "store", 5);
    r[i].position = (uint32_t)i;
    r[i].compsize = r[i].filesize = 8;
    snprintf(r[i].path, sizeof r[i].path, "%s", i % 2 ? "sub" : "");
    snprintf(r[i].filename, sizeof r[i].filename, "entry%d.tst", i);
  }
  VLX_LocalUnlock(h);
  *lphInf = h;
  return VLX_SPI_OK;
}

VLX_SPI_EXPORT int32_t GetFileInfo(const char* buf, int64_t len, const char* filename,
                                   uint32_t flag, VLX_FileInfo* info) {
  char head[256];
  (void)filename;
  if (!begin_call(buf, len, flag, head, sizeof head)) return VLX_SPI_UNKNOWN_FORMAT;
  memset(info, 0, sizeof *info);
  memcpy(info->method, "store", 5);
  snprintf(info->filename, sizeof info->filename, "entry0.tst");
  return VLX_SPI_OK;
}

VLX_SPI_EXPORT int32_t GetFile(const char* src, int64_t len, void* dest, uint32_t flag,
                               VLX_ProgressCallback progress, intptr_t data) {
  (void)src, (void)len, (void)progress, (void)data;
  if ((flag & VLX_SPI_DEST_MASK) != VLX_SPI_DEST_MEMORY) return VLX_SPI_NOT_IMPLEMENTED;
  VLX_HLOCAL h = VLX_LocalAlloc(0, 8);
  if (!h) return VLX_SPI_NO_MEMORY;
  memcpy(VLX_LocalLock(h), "VLXTEST ", 8);
  VLX_LocalUnlock(h);
  *(VLX_HLOCAL*)dest = h;
  return VLX_SPI_OK;
}
#endif

#if defined(SPI_CONFIG)
VLX_SPI_EXPORT int32_t ConfigurationDlg(intptr_t parent, int32_t fnc) {
  (void)parent;
  return fnc == 1 ? 7 : VLX_SPI_NOT_IMPLEMENTED;
}
#endif
