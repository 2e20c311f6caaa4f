/* A plug-in for the tests. Compile-time switches choose its kind and exports; what it does
 * in a call is chosen by the data it is given:
 *
 *   VLXTEST [fault] [command...]
 *
 * Data that does not start with "VLXTEST" is not supported. A fault word ("segv", "fpe",
 * "abort", "ill", "bus", "stack", "kill") makes every call but IsSupported and
 * GetPluginInfo fail that way; "segv-is" and friends do it inside IsSupported. Commands:
 * "baddir" (a directory block that is not whole records), "entries N" (an archive of N
 * entries).
 *
 * Pictures: "dib" makes the data from byte 64 on a whole bitmap (header, colour table and
 * rows), which GetPicture hands back as its two blocks and GetPictureInfo describes. The
 * SPI_PREVIEW variant exports GetPreview too; it gives the same picture unless the data
 * holds "nopreview".
 *
 * Archives: "names p:n|p:n|..." (up to the line's end) lists entries with those folders and
 * names; "huge" makes every entry claim 4 GiB; "nomem" refuses extraction into memory, and
 * a folder destination then receives the entry as a file under its plain name. */
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>
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

/* The whole data of a source: a file from `len` on, or the memory given. Freed by the
 * caller; NULL when it cannot be read. */
__attribute__((unused)) static unsigned char* read_all(const char* buf, int64_t len, uint32_t flag, size_t* size) {
  unsigned char* out = NULL;
  if ((flag & VLX_SPI_SOURCE_MASK) == VLX_SPI_SOURCE_MEMORY) {
    *size = len < 0 ? 0 : (size_t)len;
    out = (unsigned char*)malloc(*size + 1);
    if (out) memcpy(out, buf, *size);
    return out;
  }
  FILE* f = fopen(buf, "rb");
  if (!f) return NULL;
  fseek(f, 0, SEEK_END);
  long end = ftell(f);
  if (end < len) end = (long)len;
  fseek(f, (long)len, SEEK_SET);
  *size = (size_t)(end - len);
  out = (unsigned char*)malloc(*size + 1);
  if (out && fread(out, 1, *size, f) != *size) {
    free(out);
    out = NULL;
  }
  fclose(f);
  return out;
}

/* The first bytes of the data, as a NUL-terminated text; whether they start with "VLXTEST". */
__attribute__((unused)) static int read_head(const char* buf, int64_t len, uint32_t flag, char* out, size_t size) {
  size_t n = 0;
  unsigned char* all = read_all(buf, len, flag, &n);
  if (!all) n = 0;
  if (n > size - 1) n = size - 1;
  if (all) memcpy(out, all, n);
  free(all);
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

/* Faults as the word at `at` says; returns when there is no such word. The faults are the
   point: a sanitizing build must let them reach the host as signals. */
__attribute__((unused, no_sanitize("undefined"))) static void fault(const char* at) {
  if (strncmp(at, "segv", 4) == 0) *(volatile int*)(uintptr_t)g_zero = 1;
  if (strncmp(at, "fpe", 3) == 0) g_zero = 100 / g_zero; /* 1 / x would be folded away */
  if (strncmp(at, "abort", 5) == 0) abort();
  if (strncmp(at, "ill", 3) == 0) __builtin_trap();
  if (strncmp(at, "bus", 3) == 0) raise(SIGBUS);
  if (strncmp(at, "stack", 5) == 0) recurse(0);
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
    /* Data behind a 128-byte header is taken too; the reading calls find it there. */
    if (!ok && strncmp((const char*)data + 128, "VLXTEST", 7) == 0) return 1;
  } else {
    ok = read_head(filename, 0, VLX_SPI_SOURCE_FILE, head, sizeof head);
    char behind[16];
    if (!ok && read_head(filename, 128, VLX_SPI_SOURCE_FILE, behind, sizeof behind)) return 1;
  }
#if defined(SPI_JPEG)
  if ((unsigned char)head[0] == 0xFF && (unsigned char)head[1] == 0xD8) return 1;
#endif
#if defined(SPI_ARCHIVE)
  if (ok && has_word(head, "picture")) return 0;
#else
  /* Archive data is no picture. */
  if (ok && (has_word(head, "entries") || has_word(head, "names "))) return 0;
#endif
  if (ok && strstr(head, "-is")) fault(head + 8);
  return ok;
}

__attribute__((unused)) static int begin_call(const char* buf, int64_t len, uint32_t flag, char* head, size_t size) {
  if (!read_head(buf, len, flag, head, size)) return 0;
  if (!strstr(head, "-is")) fault(head + 8);
  return 1;
}

#if !defined(SPI_ARCHIVE) && !defined(SPI_NEITHER)
#define DIB_AT 64

/* A copy of the bytes in a new block. */
static VLX_HLOCAL block_of(const unsigned char* p, size_t n) {
  VLX_HLOCAL h = VLX_LocalAlloc(0, n);
  if (h) memcpy(VLX_LocalLock(h), p, n), VLX_LocalUnlock(h);
  return h;
}

/* The bitmap of "dib" data, split where its header and colour table end. */
static int32_t dib_blocks(const char* buf, int64_t len, uint32_t flag, VLX_HLOCAL* info,
                          VLX_HLOCAL* bits) {
  size_t size = 0;
  unsigned char* all = read_all(buf, len, flag, &size);
  if (!all || size < DIB_AT + sizeof(VLX_BITMAPINFOHEADER)) {
    free(all);
    return VLX_SPI_BROKEN_DATA;
  }
  VLX_BITMAPINFOHEADER h;
  memcpy(&h, all + DIB_AT, sizeof h);
  size_t colours = h.biClrUsed ? h.biClrUsed : (h.biBitCount <= 8 ? (size_t)1 << h.biBitCount : 0);
  size_t head = h.biSize + colours * 4 + (h.biCompression == 3 ? 12 : 0);
  if (DIB_AT + head > size) {
    free(all);
    return VLX_SPI_BROKEN_DATA;
  }
  *info = block_of(all + DIB_AT, head);
  *bits = block_of(all + DIB_AT + head, size - DIB_AT - head);
  free(all);
  return VLX_SPI_OK;
}

VLX_SPI_EXPORT int32_t GetPictureInfo(const char* buf, int64_t len, uint32_t flag,
                                      VLX_PictureInfo* info) {
  char head[256];
  if (!begin_call(buf, len, flag, head, sizeof head)) return VLX_SPI_UNKNOWN_FORMAT;
  memset(info, 0, sizeof *info);
  info->width = 2;
  info->height = 2;
  info->colorDepth = 24;
  if (has_word(head, "dib")) {
    VLX_BITMAPINFOHEADER h;
    memcpy(&h, head + DIB_AT, sizeof h); /* head holds the first 255 bytes */
    info->width = h.biWidth;
    info->height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
    info->colorDepth = (int16_t)h.biBitCount;
  }
  return VLX_SPI_OK;
}

static int32_t picture(const char* buf, int64_t len, uint32_t flag, VLX_HLOCAL* pHBInfo,
                       VLX_HLOCAL* pHBm, VLX_ProgressCallback progress, intptr_t data) {
  char head[256];
  if (!begin_call(buf, len, flag, head, sizeof head)) return VLX_SPI_UNKNOWN_FORMAT;
  if (progress && progress(0, 1, data)) return VLX_SPI_ABORTED;
  if (has_word(head, "dib")) {
    int32_t r = dib_blocks(buf, len, flag, pHBInfo, pHBm);
    if (r == VLX_SPI_OK && progress) progress(1, 1, data);
    return r;
  }
  VLX_HLOCAL hi = VLX_LocalAlloc(VLX_LMEM_ZEROINIT, sizeof(VLX_BITMAPINFOHEADER));
  VLX_HLOCAL hb = VLX_LocalAlloc(VLX_LMEM_ZEROINIT, 16); /* two rows of 2 pixels, padded */
  if (!hi || !hb) return VLX_SPI_NO_MEMORY;
  VLX_BITMAPINFOHEADER* h = (VLX_BITMAPINFOHEADER*)VLX_LocalLock(hi);
  h->biSize = 40;
  h->biWidth = 2;
  h->biHeight = 2;
  h->biPlanes = 1;
  h->biBitCount = 24;
  VLX_LocalUnlock(hi);
  unsigned char* bits = (unsigned char*)VLX_LocalLock(hb);
  memset(bits, 0x80, 16);
  VLX_LocalUnlock(hb);
  *pHBInfo = hi;
  *pHBm = hb;
  return VLX_SPI_OK;
}

VLX_SPI_EXPORT int32_t GetPicture(const char* buf, int64_t len, uint32_t flag,
                                  VLX_HLOCAL* pHBInfo, VLX_HLOCAL* pHBm,
                                  VLX_ProgressCallback progress, intptr_t data) {
  return picture(buf, len, flag, pHBInfo, pHBm, progress, data);
}

#if defined(SPI_PREVIEW)
VLX_SPI_EXPORT int32_t GetPreview(const char* buf, int64_t len, uint32_t flag,
                                  VLX_HLOCAL* pHBInfo, VLX_HLOCAL* pHBm,
                                  VLX_ProgressCallback progress, intptr_t data) {
  char head[256];
  if (read_head(buf, len, flag, head, sizeof head) && has_word(head, "nopreview"))
    return VLX_SPI_UNKNOWN_FORMAT;
  return picture(buf, len, flag, pHBInfo, pHBm, progress, data);
}
#endif
#endif

#if defined(SPI_ARCHIVE)
/* Every entry is a picture of the test plug-ins (2 x 2 grey), which no archive plug-in
 * takes for an archive. */
#define ENTRY_DATA "VLXTEST picture"
#define ENTRY_BYTES 15

static int entry_count(const char* head) {
  const char* e = strstr(head, "entries ");
  return e ? atoi(e + 8) : 1;
}

/* Fills up to `max` records from the data's head; their number. */
static int make_records(const char* head, VLX_FileInfo* r, int max) {
  const char* names = strstr(head, "names ");
  int n = 0;
  if (!names) {
    n = entry_count(head);
    if (n > max) n = max;
    for (int i = 0; i < n; ++i) {
      snprintf(r[i].path, sizeof r[i].path, "%s", i % 2 ? "sub" : "");
      snprintf(r[i].filename, sizeof r[i].filename, "entry%d.tst", i);
    }
  } else {
    const char* p = names + 6;
    while (*p && *p != '\n' && n < max) {
      const char* end = p;
      while (*end && *end != '\n' && *end != '|') ++end;
      const char* colon = memchr(p, ':', (size_t)(end - p));
      if (colon) {
        snprintf(r[n].path, sizeof r[n].path, "%.*s", (int)(colon - p), p);
        snprintf(r[n].filename, sizeof r[n].filename, "%.*s", (int)(end - colon - 1), colon + 1);
        ++n;
      }
      p = *end == '|' ? end + 1 : end;
    }
  }
  for (int i = 0; i < n; ++i) {
    memcpy(r[i].method, "store", 5);
    r[i].position = (uint32_t)i;
    r[i].compsize = 8;
    r[i].filesize = has_word(head, "huge") ? 0xFFFFFFFFu : 8;
  }
  return n;
}

/* Room for the records and the empty one that ends them. */
#define MAX_RECORDS 64

VLX_SPI_EXPORT int32_t GetArchiveInfo(const char* buf, int64_t len, uint32_t flag,
                                      VLX_HLOCAL* lphInf) {
  char head[256];
  if (!begin_call(buf, len, flag, head, sizeof head)) return VLX_SPI_UNKNOWN_FORMAT;
  VLX_FileInfo records[MAX_RECORDS];
  memset(records, 0, sizeof records);
  size_t size = sizeof(VLX_FileInfo) * (size_t)(make_records(head, records, MAX_RECORDS - 1) + 1);
  if (has_word(head, "baddir")) size -= 5;
  VLX_HLOCAL h = VLX_LocalAlloc(0, size);
  if (!h) return VLX_SPI_NO_MEMORY;
  memcpy(VLX_LocalLock(h), records, size);
  VLX_LocalUnlock(h);
  *lphInf = h;
  return VLX_SPI_OK;
}

static int same_text(const char* a, const char* b, int ignoreCase) {
  return ignoreCase ? strcasecmp(a, b) == 0 : strcmp(a, b) == 0;
}

VLX_SPI_EXPORT int32_t GetFileInfo(const char* buf, int64_t len, const char* filename,
                                   uint32_t flag, VLX_FileInfo* info) {
  char head[256];
  if (!begin_call(buf, len, flag, head, sizeof head)) return VLX_SPI_UNKNOWN_FORMAT;
  VLX_FileInfo records[MAX_RECORDS];
  memset(records, 0, sizeof records);
  const int n = make_records(head, records, MAX_RECORDS - 1);
  for (int i = 0; i < n; ++i) {
    char joined[402];
    snprintf(joined, sizeof joined, "%s%s%s", records[i].path, records[i].path[0] ? "/" : "",
             records[i].filename);
    if (same_text(joined, filename, flag & VLX_SPI_IGNORE_CASE) ||
        same_text(records[i].filename, filename, flag & VLX_SPI_IGNORE_CASE)) {
      *info = records[i];
      return VLX_SPI_OK;
    }
  }
  return VLX_SPI_INTERNAL_ERROR;
}

VLX_SPI_EXPORT int32_t GetFile(const char* src, int64_t len, void* dest, uint32_t flag,
                               VLX_ProgressCallback progress, intptr_t data) {
  (void)progress, (void)data;
  char head[256] = "";
  const int fromFile = (flag & VLX_SPI_SOURCE_MASK) == VLX_SPI_SOURCE_FILE;
  if (fromFile) read_head(src, 0, VLX_SPI_SOURCE_FILE, head, sizeof head);
  if ((flag & VLX_SPI_DEST_MASK) != VLX_SPI_DEST_MEMORY) {
    if (!fromFile) return VLX_SPI_NOT_IMPLEMENTED;
    char path[4096];
    snprintf(path, sizeof path, "%s/entry%d.tst", (const char*)dest, (int)len);
    FILE* f = fopen(path, "wb");
    if (!f) return VLX_SPI_WRITE_ERROR;
    fwrite(ENTRY_DATA, 1, ENTRY_BYTES, f);
    fclose(f);
    return VLX_SPI_OK;
  }
  if (has_word(head, "nomem")) return VLX_SPI_NOT_IMPLEMENTED;
  VLX_HLOCAL h = VLX_LocalAlloc(0, ENTRY_BYTES);
  if (!h) return VLX_SPI_NO_MEMORY;
  memcpy(VLX_LocalLock(h), ENTRY_DATA, ENTRY_BYTES);
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
