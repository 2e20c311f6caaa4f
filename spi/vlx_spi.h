/* VLX image plug-in interface.
 *
 * A plug-in is an ELF shared object named *.spi that exports, with C linkage, the entry
 * points below and the ABI version symbol. It decodes pictures (a "picture plug-in", which
 * exports GetPicture) or lists and extracts the entries of archives (an "archive plug-in",
 * which exports GetArchiveInfo, GetFileInfo and GetFile). GetPluginInfo and IsSupported are
 * required of both; a library without them, or without the version symbol of this header's
 * VLX_SPI_ABI_VERSION, is not loaded as a plug-in.
 *
 * Building one from this header alone:
 *
 *     #include "vlx_spi.h"
 *     VLX_SPI_DEFINE_ABI_VERSION
 *     int32_t GetPluginInfo(int32_t infono, char* buf, int32_t buflen) { ... }
 *     ...
 *
 *     cc -std=c11 -shared -fPIC -o myformat.spi myformat.c
 *
 * and copy myformat.spi into the plug-in folder. The local-memory routines (VLX_Local*) are
 * not linked into the plug-in: they are resolved when VLX loads it, so every block that a
 * plug-in returns lives in the one allocator that the program frees it with. A plug-in may
 * instead link libvlxlocalmem.so explicitly.
 *
 * Conventions:
 * - Texts are UTF-8, NUL-terminated. File paths are file-system paths.
 * - Sources: when (flag & VLX_SPI_SOURCE_MASK) is VLX_SPI_SOURCE_FILE, `buf` is a file path
 *   and `len` is the offset in the file where the data starts; when it is
 *   VLX_SPI_SOURCE_MEMORY, `buf` points at the data and `len` is its size in bytes.
 * - Every returned block (bitmap information, bitmap bits, archive directory, extracted
 *   entry) is allocated with VLX_LocalAlloc; the caller owns it and frees it.
 * - Calls come from one thread at a time; a plug-in needs no locking of its own.
 * - No entry point may keep a pointer it was given after it returns.
 */
#ifndef VLX_SPI_H
#define VLX_SPI_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
#define VLX_SPI_EXTERN_C extern "C"
#define VLX_SPI_EXTERN_DATA extern "C"
#else
#define VLX_SPI_EXTERN_C
#define VLX_SPI_EXTERN_DATA extern
#endif
#define VLX_SPI_VISIBLE __attribute__((visibility("default")))
#define VLX_SPI_EXPORT VLX_SPI_EXTERN_C VLX_SPI_VISIBLE

/* ---- Version ---------------------------------------------------------------------- */

/* Raised whenever a record, a signature or a meaning below changes. */
#define VLX_SPI_ABI_VERSION 1u

/* Every plug-in defines this symbol (VLX_SPI_DEFINE_ABI_VERSION does it) with the value of
 * VLX_SPI_ABI_VERSION it was built against. */
VLX_SPI_EXTERN_DATA VLX_SPI_VISIBLE const uint32_t vlx_spi_abi_version;
#define VLX_SPI_ABI_VERSION_SYMBOL "vlx_spi_abi_version"
#define VLX_SPI_DEFINE_ABI_VERSION \
  VLX_SPI_EXPORT const uint32_t vlx_spi_abi_version = VLX_SPI_ABI_VERSION;

/* ---- Local memory ----------------------------------------------------------------- */

/* A handle of a local-memory block; 0 is never a valid handle. Blocks do not move: a
 * handle's value is the address of the block's first byte, and locking returns it. */
typedef uintptr_t VLX_HLOCAL;

#define VLX_LMEM_FIXED 0x0000u
#define VLX_LMEM_ZEROINIT 0x0040u      /* VLX_LocalAlloc: fill the block with zeros */
#define VLX_LMEM_DISCARDABLE 0x0F00u   /* VLX_LocalAlloc: the block may be freed at once */
#define VLX_LMEM_LOCKCOUNT 0x00FFu     /* VLX_LocalFlags: the lock count */
#define VLX_LMEM_DISCARDED 0x4000u     /* VLX_LocalFlags: the block's memory is gone */
#define VLX_LMEM_INVALID_HANDLE 0x8000u /* VLX_LocalFlags: not a handle of a live block */

/* The largest block there is; bigger requests fail. */
#define VLX_LMEM_MAX_BYTES ((size_t)0x7FFFFFFF)

/* A new block of `bytes` bytes (0 bytes gives a valid empty block), or 0 when memory runs
 * out, `bytes` is above VLX_LMEM_MAX_BYTES or `flags` holds a bit other than ZEROINIT and
 * DISCARDABLE. */
VLX_SPI_EXPORT VLX_HLOCAL VLX_LocalAlloc(uint32_t flags, size_t bytes);
/* The block resized to `bytes` (its content kept up to the smaller size; new bytes are
 * zero with VLX_LMEM_ZEROINIT); the handle may change. 0, with the old block untouched,
 * when `h` is not valid, `bytes` is too big or memory runs out. The lock count is kept. */
VLX_SPI_EXPORT VLX_HLOCAL VLX_LocalReAlloc(VLX_HLOCAL h, size_t bytes, uint32_t flags);
/* Adds 1 to the lock count (it stops at 255) and returns the block's address; NULL when
 * `h` is not valid. */
VLX_SPI_EXPORT void* VLX_LocalLock(VLX_HLOCAL h);
/* Takes 1 from the lock count and returns what is left; 0 when the block is no longer
 * locked, was not locked or `h` is not valid. */
VLX_SPI_EXPORT int32_t VLX_LocalUnlock(VLX_HLOCAL h);
/* The lock count in the low byte, VLX_LMEM_DISCARDABLE for a discardable block;
 * VLX_LMEM_INVALID_HANDLE when `h` is not valid. A valid handle gives a value below 4096. */
VLX_SPI_EXPORT uint32_t VLX_LocalFlags(VLX_HLOCAL h);
/* The block's size in bytes; 0 when `h` is not valid. */
VLX_SPI_EXPORT size_t VLX_LocalSize(VLX_HLOCAL h);
/* Frees the block, locked or not. 0 on success; `h` itself when it was not valid. */
VLX_SPI_EXPORT VLX_HLOCAL VLX_LocalFree(VLX_HLOCAL h);

/* ---- Records ---------------------------------------------------------------------- */

#pragma pack(push, 1)

/* Picture information filled by GetPictureInfo. `info` is a block of text about the
 * picture (VLX_LocalAlloc'ed, owned by the caller), or 0. */
typedef struct VLX_PictureInfo {
  int32_t left;
  int32_t top;
  int32_t width;
  int32_t height;
  uint16_t x_density;
  uint16_t y_density;
  int16_t colorDepth;
  VLX_HLOCAL info;
} VLX_PictureInfo;

/* One entry of an archive. GetArchiveInfo returns an array of these, ended by a record
 * whose method is empty (method[0] == 0). */
typedef struct VLX_FileInfo {
  char method[8];         /* compression method, e.g. "deflate"; not NUL-terminated at 8 */
  uint32_t position;      /* where GetFile finds the entry: a value of the plug-in's own */
  uint32_t compsize;      /* stored size in bytes */
  uint32_t filesize;      /* size once extracted, in bytes */
  uint32_t timestamp;     /* modification time, seconds since 1970 (UTC) */
  char path[200];         /* folder inside the archive, '/'-separated, "" at the top */
  char filename[200];     /* the entry's name without its folder */
  uint32_t crc;
} VLX_FileInfo;

/* The bitmap-information block of GetPicture starts with this header, followed by the
 * colour table for bit counts of 8 and less. Rows are padded to 4 bytes; a positive height
 * stores the bottom row first. */
typedef struct VLX_BITMAPINFOHEADER {
  uint32_t biSize;          /* 40 */
  int32_t biWidth;
  int32_t biHeight;
  uint16_t biPlanes;        /* 1 */
  uint16_t biBitCount;      /* 1, 4, 8, 24 or 32 */
  uint32_t biCompression;   /* 0: uncompressed */
  uint32_t biSizeImage;
  int32_t biXPelsPerMeter;
  int32_t biYPelsPerMeter;
  uint32_t biClrUsed;
  uint32_t biClrImportant;
} VLX_BITMAPINFOHEADER;

typedef struct VLX_RGBQUAD {
  uint8_t rgbBlue;
  uint8_t rgbGreen;
  uint8_t rgbRed;
  uint8_t rgbReserved;
} VLX_RGBQUAD;

#pragma pack(pop)

#ifdef __cplusplus
#define VLX_SPI_STATIC_ASSERT static_assert
#else
#define VLX_SPI_STATIC_ASSERT _Static_assert
#endif
VLX_SPI_STATIC_ASSERT(sizeof(VLX_FileInfo) == 428, "archive entry record is 428 bytes");
VLX_SPI_STATIC_ASSERT(offsetof(VLX_FileInfo, position) == 8, "position at 8");
VLX_SPI_STATIC_ASSERT(offsetof(VLX_FileInfo, compsize) == 12, "compsize at 12");
VLX_SPI_STATIC_ASSERT(offsetof(VLX_FileInfo, filesize) == 16, "filesize at 16");
VLX_SPI_STATIC_ASSERT(offsetof(VLX_FileInfo, timestamp) == 20, "timestamp at 20");
VLX_SPI_STATIC_ASSERT(offsetof(VLX_FileInfo, path) == 24, "path at 24");
VLX_SPI_STATIC_ASSERT(offsetof(VLX_FileInfo, filename) == 224, "filename at 224");
VLX_SPI_STATIC_ASSERT(offsetof(VLX_FileInfo, crc) == 424, "crc at 424");
VLX_SPI_STATIC_ASSERT(offsetof(VLX_PictureInfo, top) == 4, "top at 4");
VLX_SPI_STATIC_ASSERT(offsetof(VLX_PictureInfo, width) == 8, "width at 8");
VLX_SPI_STATIC_ASSERT(offsetof(VLX_PictureInfo, height) == 12, "height at 12");
VLX_SPI_STATIC_ASSERT(offsetof(VLX_PictureInfo, x_density) == 16, "x_density at 16");
VLX_SPI_STATIC_ASSERT(offsetof(VLX_PictureInfo, y_density) == 18, "y_density at 18");
VLX_SPI_STATIC_ASSERT(offsetof(VLX_PictureInfo, colorDepth) == 20, "colorDepth at 20");
VLX_SPI_STATIC_ASSERT(offsetof(VLX_PictureInfo, info) == 22, "info at 22");
VLX_SPI_STATIC_ASSERT(sizeof(VLX_PictureInfo) == 22 + sizeof(VLX_HLOCAL), "packed record");
VLX_SPI_STATIC_ASSERT(sizeof(VLX_BITMAPINFOHEADER) == 40, "bitmap header is 40 bytes");
VLX_SPI_STATIC_ASSERT(sizeof(VLX_RGBQUAD) == 4, "colour table entry is 4 bytes");

/* ---- Results and flags ------------------------------------------------------------ */

#define VLX_SPI_OK 0
#define VLX_SPI_NOT_IMPLEMENTED (-1)
#define VLX_SPI_ABORTED 1        /* the progress callback asked to stop */
#define VLX_SPI_UNKNOWN_FORMAT 2
#define VLX_SPI_BROKEN_DATA 3
#define VLX_SPI_NO_MEMORY 4
#define VLX_SPI_MEMORY_ERROR 5
#define VLX_SPI_READ_ERROR 6
#define VLX_SPI_WRITE_ERROR 7
#define VLX_SPI_INTERNAL_ERROR 8

#define VLX_SPI_SOURCE_MASK 0x0007u
#define VLX_SPI_SOURCE_FILE 0x0000u
#define VLX_SPI_SOURCE_MEMORY 0x0001u
/* GetFile: where the entry goes, (flag & VLX_SPI_DEST_MASK) */
#define VLX_SPI_DEST_MASK 0x0700u
#define VLX_SPI_DEST_FILE 0x0000u   /* dest is a folder path; the entry is written into it */
#define VLX_SPI_DEST_MEMORY 0x0100u /* dest is a VLX_HLOCAL*: it receives a new block */
/* GetFileInfo: bit 7 compares names without regard to ASCII letter case */
#define VLX_SPI_IGNORE_CASE 0x0080u

/* IsSupported is given at least this many bytes of the data (zeros past its end). */
#define VLX_SPI_HEADER_BYTES 2048

/* Called now and then during a long call with the work done so far (num of denom);
 * returning non-zero stops the call, which then returns VLX_SPI_ABORTED. */
typedef int32_t (*VLX_ProgressCallback)(int32_t num, int32_t denom, intptr_t data);

/* ---- Entry points ----------------------------------------------------------------- */

/* infono 0: a version text of the plug-in's own; 1: a description of the plug-in; 2n: the
 * file patterns of group n ("*.png;*.apng"), 2n+1: a name for that group (n = 1, 2, ...).
 * Copies at most buflen - 1 bytes and a NUL into buf; returns the bytes copied, 0 when
 * there is no such number. */
VLX_SPI_EXPORT int32_t GetPluginInfo(int32_t infono, char* buf, int32_t buflen);

/* 1 when the plug-in handles the file, else 0 (other values count as 0). `data` NULL:
 * judge the file `filename`; otherwise `data` holds the file's first VLX_SPI_HEADER_BYTES
 * bytes and `filename` names it (its extension may be all there is to go on). */
VLX_SPI_EXPORT int32_t IsSupported(const char* filename, const void* data);

VLX_SPI_EXPORT int32_t GetPictureInfo(const char* buf, int64_t len, uint32_t flag,
                                      VLX_PictureInfo* info);

/* The picture as a bitmap-information block (VLX_BITMAPINFOHEADER and colour table) in
 * *pHBInfo and the pixel rows in *pHBm. GetPreview returns a smaller picture quickly when
 * the format holds one. */
VLX_SPI_EXPORT int32_t GetPicture(const char* buf, int64_t len, uint32_t flag,
                                  VLX_HLOCAL* pHBInfo, VLX_HLOCAL* pHBm,
                                  VLX_ProgressCallback progress, intptr_t data);
VLX_SPI_EXPORT int32_t GetPreview(const char* buf, int64_t len, uint32_t flag,
                                  VLX_HLOCAL* pHBInfo, VLX_HLOCAL* pHBm,
                                  VLX_ProgressCallback progress, intptr_t data);

/* The archive's directory: a block of VLX_FileInfo records ended by an empty one. */
VLX_SPI_EXPORT int32_t GetArchiveInfo(const char* buf, int64_t len, uint32_t flag,
                                      VLX_HLOCAL* lphInf);
/* The record of the entry named `filename` ("folder/name" or "name"). */
VLX_SPI_EXPORT int32_t GetFileInfo(const char* buf, int64_t len, const char* filename,
                                   uint32_t flag, VLX_FileInfo* info);
/* Extracts one entry. For a file source `len` is the entry's position from its record; for
 * a memory source `buf` points at the entry's data in an archive in memory and `len` is
 * its stored size. `dest`: see VLX_SPI_DEST_*. A folder destination never receives a file
 * outside that folder, whatever the entry's name. */
VLX_SPI_EXPORT int32_t GetFile(const char* src, int64_t len, void* dest, uint32_t flag,
                               VLX_ProgressCallback progress, intptr_t data);

/* Shows the plug-in's own settings window over the window `parent` (an X11 window id or
 * 0); `fnc` 1 asks for the settings. Returns VLX_SPI_OK or VLX_SPI_NOT_IMPLEMENTED. */
VLX_SPI_EXPORT int32_t ConfigurationDlg(intptr_t parent, int32_t fnc);

/* Function types, for a host that looks the entry points up by name. */
typedef int32_t (*VLX_GetPluginInfoFn)(int32_t, char*, int32_t);
typedef int32_t (*VLX_IsSupportedFn)(const char*, const void*);
typedef int32_t (*VLX_GetPictureInfoFn)(const char*, int64_t, uint32_t, VLX_PictureInfo*);
typedef int32_t (*VLX_GetPictureFn)(const char*, int64_t, uint32_t, VLX_HLOCAL*, VLX_HLOCAL*,
                                    VLX_ProgressCallback, intptr_t);
typedef VLX_GetPictureFn VLX_GetPreviewFn;
typedef int32_t (*VLX_GetArchiveInfoFn)(const char*, int64_t, uint32_t, VLX_HLOCAL*);
typedef int32_t (*VLX_GetFileInfoFn)(const char*, int64_t, const char*, uint32_t,
                                     VLX_FileInfo*);
typedef int32_t (*VLX_GetFileFn)(const char*, int64_t, void*, uint32_t, VLX_ProgressCallback,
                                 intptr_t);
typedef int32_t (*VLX_ConfigurationDlgFn)(intptr_t, int32_t);

#endif /* VLX_SPI_H */
