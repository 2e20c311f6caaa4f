/* The plug-in host library: loads plug-in libraries and forwards each call to a plug-in
 * entry point under a guard that turns a fault inside the plug-in (bad memory access,
 * division by zero, illegal instruction, abort, stack overflow) into the result 255, so
 * that the program goes on. It also judges file formats by content, writes and reads
 * whole files of local memory, and writes BMP files. The program loads it at run time and
 * finds every function by the name below. */
#ifndef VLX_SPIHOST_H
#define VLX_SPIHOST_H

#include "vlx_spi.h"

typedef void* VLX_HMODULE;

/* The result of a forwarded call when the plug-in faulted inside it. */
#define VLX_SPI_FAULT 255
/* The result of a forwarded call whose entry point is absent (address 0). */
#define VLX_SPI_ABSENT (-1)

/* Loads a library (a plug-in, or this library itself); 0 when it cannot be loaded. Every
 * load is matched by one SPIFreeLibrary. */
VLX_SPI_EXPORT VLX_HMODULE SPILoadLibrary(const char* path);
/* Releases a handle of SPILoadLibrary; 1 when released, 0 for a null handle or a failure. */
VLX_SPI_EXPORT int32_t SPIFreeLibrary(VLX_HMODULE module);
/* The handle of the library at `path` when it is loaded at the moment, else 0. Takes no
 * reference. */
VLX_SPI_EXPORT VLX_HMODULE SPIGetModuleHandle(const char* path);
/* Address of an exported symbol, 0 when absent. */
VLX_SPI_EXPORT void* SPIGetProcAddress(VLX_HMODULE module, const char* name);
/* The value of the plug-in's ABI version symbol, 0 when it has none. */
VLX_SPI_EXPORT uint32_t SPIGetAbiVersion(VLX_HMODULE module);

/* Forwarders: the entry point's address, then the plug-in function's own arguments. For a
 * memory source (flag 1) `buf` is the decimal text of the data's address, which must lie
 * in one local-memory block with `len` bytes from there; otherwise VLX_SPI_MEMORY_ERROR is
 * returned without calling the plug-in. IsSupported's `data` is 0 for a file or the
 * address of data in a local-memory block. Blocks that a plug-in hands back are checked
 * (a bitmap header that claims more than its blocks hold, a directory that is not whole
 * records): on a failed check they are freed, the out handles are 0 and the result is
 * VLX_SPI_BROKEN_DATA. */
VLX_SPI_EXPORT int32_t SPI_GetPluginInfo(VLX_GetPluginInfoFn fn, int32_t infono, char* buf,
                                         int32_t buflen);
VLX_SPI_EXPORT int32_t SPI_IsSupported(VLX_IsSupportedFn fn, const char* filename,
                                       uintptr_t data);
VLX_SPI_EXPORT int32_t SPI_GetPictureInfo(VLX_GetPictureInfoFn fn, const char* buf,
                                          int64_t len, uint32_t flag, VLX_PictureInfo* info);
VLX_SPI_EXPORT int32_t SPI_GetPicture(VLX_GetPictureFn fn, const char* buf, int64_t len,
                                      uint32_t flag, VLX_HLOCAL* pHBInfo, VLX_HLOCAL* pHBm,
                                      VLX_ProgressCallback progress, intptr_t data);
VLX_SPI_EXPORT int32_t SPI_GetPreview(VLX_GetPreviewFn fn, const char* buf, int64_t len,
                                      uint32_t flag, VLX_HLOCAL* pHBInfo, VLX_HLOCAL* pHBm,
                                      VLX_ProgressCallback progress, intptr_t data);
VLX_SPI_EXPORT int32_t SPI_GetArchiveInfo(VLX_GetArchiveInfoFn fn, const char* buf,
                                          int64_t len, uint32_t flag, VLX_HLOCAL* lphInf);
VLX_SPI_EXPORT int32_t SPI_GetFileInfo(VLX_GetFileInfoFn fn, const char* buf, int64_t len,
                                       const char* filename, uint32_t flag,
                                       VLX_FileInfo* info);
VLX_SPI_EXPORT int32_t SPI_GetFile(VLX_GetFileFn fn, const char* src, int64_t len, void* dest,
                                   uint32_t flag, VLX_ProgressCallback progress,
                                   intptr_t data);
VLX_SPI_EXPORT int32_t SPI_ConfigurationDlg(VLX_ConfigurationDlgFn fn, intptr_t parent,
                                            int32_t fnc);

/* Format codes of GetFileInformation. */
#define VLX_FORMAT_BMP 0
#define VLX_FORMAT_PNG 1
#define VLX_FORMAT_JPG 2
#define VLX_FORMAT_GIF 3
#define VLX_FORMAT_LZH 16
#define VLX_FORMAT_ZIP 17
#define VLX_FORMAT_UNKNOWN (-1)

/* The format of the file judged by its first bytes; VLX_FORMAT_UNKNOWN when it is none of
 * the above, cannot be read or is not a regular file. */
VLX_SPI_EXPORT int32_t GetFileInformation(const char* path);
/* Writes `size` bytes at `address` (inside one local-memory block) to a new file at `path`,
 * replacing what is there (a symbolic link there is replaced, not followed). 0 on success,
 * VLX_SPI_MEMORY_ERROR for memory outside a block, VLX_SPI_WRITE_ERROR when writing
 * fails. */
VLX_SPI_EXPORT int32_t WriteToFile(const void* address, int64_t size, const char* path);
/* The whole file read into a new local-memory block, returned locked (its address); 0 when
 * it cannot be read, is not a regular file or is larger than VLX_LMEM_MAX_BYTES. */
VLX_SPI_EXPORT void* LoadFile(const char* path);
/* Writes a BMP file from a bitmap-information block and a bits block (both local-memory
 * blocks, as GetPicture returns them). Non-zero on success; 0 when a block is not valid,
 * the header claims more than the blocks hold, or the file cannot be written. */
VLX_SPI_EXPORT int32_t SaveToBITMAPFile(const void* info, const void* bits, const char* path);

#endif /* VLX_SPIHOST_H */
