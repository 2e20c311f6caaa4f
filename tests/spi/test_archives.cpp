// The archive plug-ins on archives of every family: listing with folders, extraction to
// memory and to a folder, names that would climb out, links, bombs and cut-off archives.
#include <archive.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>

#include "samples.h"
#include "spi_api.h"

using namespace spitest;
namespace fs = std::filesystem;

namespace {

const Bytes kTop = text_bytes("top text\n");
// Bytes that do not compress, so that a cut through an archive lands in them.
const Bytes kPicture = [] {
  Bytes b(6000);
  uint32_t x = 12345;
  for (uint8_t& c : b) c = uint8_t((x = x * 1103515245 + 12345) >> 16);
  return b;
}();

struct Family {
  const char* plugin;
  const char* file_name;
  std::function<Bytes()> build;
};

std::vector<ArchiveEntry> standard_entries(bool with_link) {
  std::vector<ArchiveEntry> e = {{"top.txt", kTop},
                                 {"sub/", {}, ArchiveEntry::folder},
                                 {"sub/dir/pic.bmp", kPicture}};
  if (with_link) e.push_back({"link.txt", {}, ArchiveEntry::symlink, "/etc/passwd"});
  return e;
}

const std::vector<Family>& families() {
  static const std::vector<Family> all = {
      {"zip", "a.zip", [] { return write_archive(ARCHIVE_FORMAT_ZIP, ARCHIVE_FILTER_NONE, standard_entries(true)); }},
      {"7z", "a.7z", [] { return write_archive(ARCHIVE_FORMAT_7ZIP, ARCHIVE_FILTER_NONE, standard_entries(false)); }},
      {"tar", "a.tar", [] { return write_archive(ARCHIVE_FORMAT_TAR_PAX_RESTRICTED, ARCHIVE_FILTER_NONE, standard_entries(true)); }},
      {"tar", "a.tar.gz", [] { return write_archive(ARCHIVE_FORMAT_TAR_USTAR, ARCHIVE_FILTER_GZIP, standard_entries(true)); }},
      {"rar", "a.rar", [] { return write_rar4({{"top.txt", kTop}, {"sub", {}, ArchiveEntry::folder}, {"sub\\dir\\pic.bmp", kPicture}}); }},
      {"lzh", "a.lzh", [] { return write_lzh({{"top.txt", kTop}, {"sub\\dir\\pic.bmp", kPicture}}); }},
  };
  return all;
}

std::string field(const char* text, size_t size) { return std::string(text, strnlen(text, size)); }
std::string name_of(const VLX_FileInfo& r) { return field(r.filename, sizeof r.filename); }

// Folder, name and size of each record.
using Listing = std::vector<std::tuple<std::string, std::string, uint64_t>>;
Listing listing(const std::vector<VLX_FileInfo>& records) {
  Listing out;
  for (const VLX_FileInfo& r : records) out.emplace_back(field(r.path, sizeof r.path), name_of(r), r.filesize);
  return out;
}

std::vector<std::string> files_below(const std::string& folder) {
  std::vector<std::string> out;
  for (const auto& e : fs::recursive_directory_iterator(folder))
    out.push_back(fs::relative(e.path(), folder).string());
  std::sort(out.begin(), out.end());
  return out;
}

class ArchiveFamilies : public ::testing::TestWithParam<size_t> {
 protected:
  const Family& family() const { return families()[GetParam()]; }
};

TEST_P(ArchiveFamilies, ListsAndExtractsEveryEntryAndFailsCutOff) {
  const Family& f = family();
  TempDir dir;
  const Bytes data = f.build();
  const std::string path = dir.file(f.file_name);
  write_bytes(path, data);
  Plugin p(f.plugin);
  ASSERT_TRUE(p.loaded());
  ASSERT_TRUE(p.abi_version && *p.abi_version == VLX_SPI_ABI_VERSION);
  EXPECT_TRUE(p.GetArchiveInfo && p.GetFileInfo && p.GetFile);
  EXPECT_FALSE(p.GetPicture);  // an archive plug-in only
  EXPECT_NE(p.IsSupported(path.c_str(), nullptr), 0);
  const size_t blocks = live_blocks();

  // Plain files only, folders split off, in the archive's order.
  int32_t rc = -1;
  const std::vector<VLX_FileInfo> records = list_file(p, path, &rc);
  ASSERT_EQ(rc, VLX_SPI_OK);
  ASSERT_EQ(listing(records), (Listing{{"", "top.txt", kTop.size()}, {"sub/dir", "pic.bmp", kPicture.size()}}));
  EXPECT_NE(records[0].position, records[1].position);
  EXPECT_GT(records[0].timestamp, 0u);

  const std::vector<VLX_FileInfo> from_memory = list_memory(p, data, &rc);
  ASSERT_EQ(rc, VLX_SPI_OK);
  ASSERT_EQ(from_memory.size(), records.size());
  for (size_t i = 0; i < records.size(); ++i)
    EXPECT_EQ(std::memcmp(&from_memory[i], &records[i], sizeof(VLX_FileInfo)), 0) << i;

  const std::string out = dir.file("out");
  fs::create_directory(out);
  for (size_t i = 0; i < records.size(); ++i) {
    const VLX_FileInfo& r = records[i];
    const Bytes& want = i == 0 ? kTop : kPicture;
    EXPECT_EQ(extract_to_memory(p, path.c_str(), r.position, VLX_SPI_SOURCE_FILE, &rc), want) << i;
    EXPECT_EQ(rc, VLX_SPI_OK);

    std::vector<std::pair<int32_t, int32_t>> calls;
    auto callback = [](int32_t num, int32_t denom, intptr_t user) -> int32_t {
      reinterpret_cast<decltype(calls)*>(user)->emplace_back(num, denom);
      return 0;
    };
    EXPECT_EQ(p.GetFile(path.c_str(), r.position, const_cast<char*>(out.c_str()), VLX_SPI_DEST_FILE,
                        callback, reinterpret_cast<intptr_t>(&calls)),
              VLX_SPI_OK);
    EXPECT_EQ(read_bytes(out + "/" + name_of(r)), want);
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back().first, calls.back().second);

    // Entries are read from files only: a memory source is refused before it is read.
    static const char tiny[4] = {};
    EXPECT_TRUE(extract_to_memory(p, tiny, 1 << 30, VLX_SPI_SOURCE_MEMORY, &rc).empty());
    EXPECT_EQ(rc, VLX_SPI_NOT_IMPLEMENTED);
  }
  // Written flat under the entries' own names, the archive's folders left out.
  EXPECT_EQ(files_below(out), (std::vector<std::string>{"pic.bmp", "top.txt"}));

  VLX_FileInfo found{};
  EXPECT_EQ(p.GetFileInfo(path.c_str(), 0, "SUB/dir/PIC.BMP", VLX_SPI_IGNORE_CASE, &found), VLX_SPI_OK);
  EXPECT_EQ(std::memcmp(&found, &records[1], sizeof found), 0);
  EXPECT_NE(p.GetFileInfo(path.c_str(), 0, "SUB/dir/PIC.BMP", 0, &found), VLX_SPI_OK);
  EXPECT_EQ(p.GetFileInfo(path.c_str(), 0, "top.txt", 0, &found), VLX_SPI_OK);
  EXPECT_EQ(found.position, records[0].position);
  EXPECT_NE(p.GetFileInfo(path.c_str(), 0, "missing.txt", 0, &found), VLX_SPI_OK);

  EXPECT_NE(extract_to_memory(p, path.c_str(), 999999, VLX_SPI_SOURCE_FILE, &rc).size(), 1u);
  EXPECT_NE(rc, VLX_SPI_OK) << "a position that names no entry";
  // A cut-off archive fails.
  list_memory(p, Bytes(data.begin(), data.begin() + long(data.size() * 6 / 10)), &rc);
  EXPECT_GT(rc, 0);
  list_memory(p, Bytes(data.begin(), data.begin() + 10), &rc);
  EXPECT_GT(rc, 0);
  EXPECT_EQ(live_blocks(), blocks);
}

INSTANTIATE_TEST_SUITE_P(All, ArchiveFamilies, ::testing::Range(size_t(0), families().size()),
                         [](const auto& info) {
                           std::string n = families()[info.param].file_name;
                           std::replace_if(n.begin(), n.end(), [](char c) { return !std::isalnum(c); }, '_');
                           return n;
                         });

// An archive written into a fresh folder, listed and extracted into folders by one plug-in.
class ArchiveSafety : public ::testing::Test {
 protected:
  // Writes the archive as `name` and lists it with `plugin`.
  std::vector<VLX_FileInfo> listed(const char* plugin, const std::string& name, const Bytes& data) {
    path = dir.file(name);
    write_bytes(path, data);
    p = std::make_unique<Plugin>(plugin);
    int32_t rc = -1;
    const auto records = list_file(*p, path, &rc);
    EXPECT_EQ(rc, VLX_SPI_OK);
    return records;
  }
  // A new folder below the test's own; its path.
  std::string folder(const std::string& name) {
    fs::create_directories(dir.file(name));
    return dir.file(name);
  }
  int32_t extract(const VLX_FileInfo& r, const std::string& into) {
    return p->GetFile(path.c_str(), r.position, const_cast<char*>(into.c_str()), VLX_SPI_DEST_FILE, nullptr, 0);
  }

  TempDir dir;
  std::string path;
  std::unique_ptr<Plugin> p;
};

// Names that are absolute, climb with "..", or use backslashes are listed inside the
// archive's own tree, and extraction never writes outside the destination folder.
TEST_F(ArchiveSafety, NamesNeverLeadOutOfTheDestination) {
  const std::vector<ArchiveEntry> entries = {
      {"/abs/x.txt", text_bytes("1")},   {"../../up.txt", text_bytes("2")},
      {"a/../../b.txt", text_bytes("3")}, {"dir\\win.txt", text_bytes("4")},
      {"c/./d/../e.txt", text_bytes("5")}};
  const Listing listed_names = {{"abs", "x.txt", 1}, {"", "up.txt", 1}, {"", "b.txt", 1}, {"dir", "win.txt", 1}, {"c", "e.txt", 1}};
  for (const auto& [plugin, format] : {std::pair("tar", ARCHIVE_FORMAT_TAR_PAX_RESTRICTED), std::pair("zip", ARCHIVE_FORMAT_ZIP)}) {
    const std::string out = std::string(plugin) + "/deep/out";
    const auto records = listed(plugin, std::string("evil.") + plugin, write_archive(format, ARCHIVE_FILTER_NONE, entries));
    ASSERT_EQ(listing(records), listed_names);
    for (const VLX_FileInfo& r : records) EXPECT_EQ(extract(r, folder(out)), VLX_SPI_OK);
    EXPECT_EQ(files_below(dir.file(plugin)), (std::vector<std::string>{"deep", "deep/out", "deep/out/b.txt", "deep/out/e.txt",
                                                                        "deep/out/up.txt", "deep/out/win.txt", "deep/out/x.txt"}));
  }
}

// A link in the archive is never listed or made; a link already standing under an
// entry's name in the destination is replaced, not written through.
TEST_F(ArchiveSafety, LinksAreNeverFollowed) {
  const auto records = listed("tar", "links.tar",
                              write_archive(ARCHIVE_FORMAT_TAR_PAX_RESTRICTED, ARCHIVE_FILTER_NONE,
                                            {{"escape", {}, ArchiveEntry::symlink, ".."},
                                             {"escape/x.txt", text_bytes("through the link")},
                                             {"top.txt", kTop}}));
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(name_of(records[0]), "x.txt");

  const std::string outside = dir.file("outside.txt"), out = folder("out");
  write_bytes(outside, text_bytes("keep me"));
  ASSERT_EQ(symlink(outside.c_str(), (out + "/top.txt").c_str()), 0);
  for (const VLX_FileInfo& r : records) EXPECT_EQ(extract(r, out), VLX_SPI_OK);
  EXPECT_EQ(read_bytes(outside), text_bytes("keep me"));
  EXPECT_FALSE(fs::is_symlink(out + "/top.txt"));
  EXPECT_EQ(read_bytes(out + "/top.txt"), kTop);
  EXPECT_EQ(files_below(out), (std::vector<std::string>{"top.txt", "x.txt"}));
}

// An entry that unpacks far beyond its compressed size, or declares more than 1 GiB,
// fails without handing out memory or leaving a file behind.
TEST_F(ArchiveSafety, DecompressionBombsFail) {
  const size_t blocks = live_blocks();
  const auto records = listed("zip", "bomb.zip",
                              write_archive(ARCHIVE_FORMAT_ZIP, ARCHIVE_FILTER_NONE, {{"zeros.bin", Bytes(64 << 20, 0)}}));
  ASSERT_LT(fs::file_size(path), 1u << 20);
  ASSERT_EQ(records.size(), 1u);
  int32_t rc = -1;
  EXPECT_TRUE(extract_to_memory(*p, path.c_str(), records[0].position, VLX_SPI_SOURCE_FILE, &rc).empty());
  EXPECT_EQ(rc, VLX_SPI_NO_MEMORY);
  EXPECT_EQ(extract(records[0], folder("out")), VLX_SPI_NO_MEMORY);
  EXPECT_TRUE(files_below(dir.file("out")).empty());

  // A header that declares 2 GiB is refused before a byte is read.
  const std::string tar = dir.file("huge.tar");
  write_bytes(tar, tar_header("huge.bin", 2ull << 30));
  Plugin t("tar");
  EXPECT_TRUE(extract_to_memory(t, tar.c_str(), 0, VLX_SPI_SOURCE_FILE, &rc).empty());
  EXPECT_EQ(rc, VLX_SPI_NO_MEMORY);
  EXPECT_EQ(live_blocks(), blocks);
}

// A folder destination that cannot be written gives the write failure; a folder already
// standing under the entry's name is not replaced.
TEST_F(ArchiveSafety, UnwritableDestinationFails) {
  const auto records = listed("zip", "a.zip", write_archive(ARCHIVE_FORMAT_ZIP, ARCHIVE_FILTER_NONE, {{"top.txt", kTop}}));
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(extract(records[0], dir.file("no/such/folder")), VLX_SPI_WRITE_ERROR);
  folder("top.txt/keep");
  EXPECT_EQ(extract(records[0], dir.path()), VLX_SPI_WRITE_ERROR);
  EXPECT_EQ(files_below(dir.path()), (std::vector<std::string>{"a.zip", "top.txt", "top.txt/keep"}));
}

}  // namespace
