// Profile-string files on our own parser, with a per-path cache of parsed files and
// atomic replacement on write.
#include "platform/profile.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <QStringList>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <memory>
#include <mutex>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vlx::platform {
namespace {

std::atomic<quint64> g_parses{0};

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }
bool isBlank(QChar c) {
  const char16_t u = c.unicode();
  return u == u' ' || u == u'\t' || u == u'\v' || u == u'\f';
}

QString trimBlanks(const QString& s) {
  qsizetype b = 0, e = s.size();
  while (b < e && isBlank(s[b])) ++b;
  while (e > b && isBlank(s[e - 1])) --e;
  return s.mid(b, e - b);
}

// Names compare in any ASCII letter case; other characters must match exactly.
QString asciiLower(QString s) {
  for (QChar& c : s)
    if (c >= u'A' && c <= u'Z') c = QChar(c.unicode() + 32);
  return s;
}

QString lookupName(const QString& name) { return asciiLower(trimBlanks(name)); }

bool validUtf8(const char* p, qsizetype n) {
  const auto* s = reinterpret_cast<const unsigned char*>(p);
  qsizetype i = 0;
  while (i < n) {
    const unsigned char c = s[i];
    if (c < 0x80) {
      ++i;
      continue;
    }
    int more;
    unsigned min;
    unsigned cp;
    if ((c & 0xE0) == 0xC0) {
      more = 1, min = 0x80, cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
      more = 2, min = 0x800, cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
      more = 3, min = 0x10000, cp = c & 0x07;
    } else {
      return false;
    }
    if (i + more >= n) return false;
    for (int k = 1; k <= more; ++k) {
      if ((s[i + k] & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (s[i + k] & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += more + 1;
  }
  return true;
}

// Where a key line sits: [lineBegin, contentEnd) is the line without its terminator and
// valueBegin is just after its '='.
struct KeyLine {
  qsizetype lineBegin = 0;
  qsizetype contentEnd = 0;
  qsizetype valueBegin = 0;
};

struct Section {
  qsizetype headerBegin = 0;     // where its "[name]" line starts
  QHash<QString, KeyLine> keys;  // lower-cased name -> first line with that name
  qsizetype insertAt = 0;        // just after the last non-blank line of the section
  bool insertNeedsEol = false;   // that line ends the file without a line end
};

struct Parsed {
  QByteArray bytes;
  std::vector<Section> sections;
  QHash<QString, int> sectionIndex;  // lower-cased name -> first section with that name
  std::vector<qsizetype> headers;    // where every section header line starts, in order
  QByteArray eol;                    // the file's first line end; LF when it has none
  bool endsWithEol = true;
};

// Decodes a name or a value on its own bytes: UTF-8 when they are valid UTF-8, else Latin-1.
// A leading U+FEFF is a character of the text, not a mark to drop.
QString decodePart(const char* d, qsizetype b, qsizetype e) {
  bool ascii = true;
  for (qsizetype i = b; i < e && ascii; ++i) ascii = static_cast<unsigned char>(d[i]) < 0x80;
  if (ascii || !validUtf8(d + b, e - b)) return QString::fromLatin1(d + b, e - b);
  if (e - b >= 3 && std::memcmp(d + b, "\xEF\xBB\xBF", 3) == 0) {
    QStringDecoder keepBom(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return keepBom.decode(QByteArrayView(d + b, e - b));
  }
  return QString::fromUtf8(d + b, e - b);
}

std::shared_ptr<const Parsed> parse(QByteArray bytes) {
  ++g_parses;
  auto p = std::make_shared<Parsed>();
  p->bytes = std::move(bytes);
  const char* d = p->bytes.constData();
  const qsizetype n = p->bytes.size();
  qsizetype pos = 0;
  // A UTF-8 byte-order mark written by some editors is not part of the first line.
  if (n >= 3 && std::memcmp(d, "\xEF\xBB\xBF", 3) == 0) pos = 3;
  p->endsWithEol = n == pos || d[n - 1] == '\n' || d[n - 1] == '\r';
  int current = -1;  // section that the lines belong to; -1 before any or in a duplicate
  while (pos < n) {
    const qsizetype begin = pos;
    qsizetype end = begin;
    while (end < n && d[end] != '\n' && d[end] != '\r') ++end;
    qsizetype next = end;
    if (end < n) {
      next = (d[end] == '\r' && end + 1 < n && d[end + 1] == '\n') ? end + 2 : end + 1;
      if (p->eol.isEmpty()) p->eol = QByteArray(d + end, next - end);
    }
    pos = next;

    qsizetype b = begin;
    while (b < end && isBlank(d[b])) ++b;
    if (b == end) continue;  // a blank line belongs to no one

    if (d[b] == '[') {
      const void* close = memrchr(d + b + 1, ']', end - b - 1);
      if (close) {
        qsizetype nb = b + 1, ne = static_cast<const char*>(close) - d;
        while (nb < ne && isBlank(d[nb])) ++nb;
        while (ne > nb && isBlank(d[ne - 1])) --ne;
        const QString name = asciiLower(decodePart(d, nb, ne));
        p->headers.push_back(begin);
        if (p->sectionIndex.contains(name)) {
          current = -1;  // a later section of the same name is never read or written
        } else {
          current = int(p->sections.size());
          p->sectionIndex.insert(name, current);
          p->sections.emplace_back();
          p->sections.back().headerBegin = begin;
          p->sections.back().insertAt = next;
          p->sections.back().insertNeedsEol = next == end;
        }
        continue;
      }
    }
    if (current < 0) continue;
    Section& section = p->sections[current];
    section.insertAt = next;
    section.insertNeedsEol = next == end;
    const void* eq = std::memchr(d + b, '=', end - b);
    if (!eq) continue;
    qsizetype ke = static_cast<const char*>(eq) - d;
    const qsizetype valueBegin = ke + 1;
    while (ke > b && isBlank(d[ke - 1])) --ke;
    if (ke == b) continue;
    const QString key = asciiLower(decodePart(d, b, ke));
    if (!section.keys.contains(key)) section.keys.insert(key, KeyLine{begin, end, valueBegin});
  }
  if (p->eol.isEmpty()) p->eol = "\n";
  return p;
}

// What identifies one state of a file on disk.
struct Identity {
  dev_t dev = 0;
  ino_t ino = 0;
  off_t size = 0;
  timespec mtime{};
  timespec ctime{};

  static Identity of(const struct stat& st) {
    return Identity{st.st_dev, st.st_ino, st.st_size, st.st_mtim, st.st_ctim};
  }
  bool operator==(const Identity& o) const {
    return dev == o.dev && ino == o.ino && size == o.size && mtime.tv_sec == o.mtime.tv_sec &&
           mtime.tv_nsec == o.mtime.tv_nsec && ctime.tv_sec == o.ctime.tv_sec &&
           ctime.tv_nsec == o.ctime.tv_nsec;
  }
};

qint64 nsOf(const timespec& t) { return qint64(t.tv_sec) * 1000000000 + t.tv_nsec; }

qint64 nowNs() {
  timespec t{};
  clock_gettime(CLOCK_REALTIME, &t);
  return nsOf(t);
}

// File times advance in ticks of the kernel's coarse clock. A file changed within one tick
// of our last look can change again without a new time stamp, so until this much time has
// passed between its time stamps and our look, its bytes are compared instead of trusted.
constexpr qint64 kTimestampSlackNs = 100'000'000;
constexpr off_t kCompareLimit = 1 << 20;

struct CacheEntry {
  Identity id;
  qint64 verifiedAt = 0;  // clock reading taken before the bytes were last read or written
  std::shared_ptr<const Parsed> parsed;
  quint64 lastUse = 0;
};

constexpr int kCacheEntries = 8;

std::mutex g_mutex;  // guards the cache and serialises the writers of this process
QHash<QString, CacheEntry>& cache() {
  static QHash<QString, CacheEntry> c;
  return c;
}
quint64 g_useCounter = 0;

// The slots of the last in-place write, with the file kept open: while the file stays as
// that write left it (same identity at its path), the next write of the same keys is one
// look at the path, one write of the bytes from the first value to the last, and one look
// at the result, with no reading or parsing of the file. g_mutex guards it.
struct KnownSlots {
  QString file;                 // the path as the writes name it
  QString target;               // the written file, after symbolic links
  QString section;              // lookup names of the section and of the keys, in order
  QStringList keys;
  qsizetype regionBegin = 0;    // the file's bytes from the first value to the end of the last
  QByteArray region;
  std::vector<std::pair<qsizetype, qsizetype>> spans;  // each key's value within the region
  Identity id;                  // the file as the last write left it
  int fd = -1;

  void forget() {
    if (fd >= 0) ::close(fd);
    *this = KnownSlots{};
  }
};
KnownSlots g_slots;

void remember(const QString& path, const Identity& id, qint64 verifiedAt,
              std::shared_ptr<const Parsed> parsed) {
  auto& c = cache();
  if (!c.contains(path) && c.size() >= kCacheEntries) {
    auto oldest = c.begin();
    for (auto it = c.begin(); it != c.end(); ++it)
      if (it->lastUse < oldest->lastUse) oldest = it;
    c.erase(oldest);
  }
  c.insert(path, CacheEntry{id, verifiedAt, std::move(parsed), ++g_useCounter});
}

// Reads to the end of the file, but never more than `limit` bytes.
bool readAll(int fd, qsizetype sizeHint, qsizetype limit, QByteArray& out) {
  out.clear();
  out.resize(std::min(sizeHint + 1, limit));
  qsizetype got = 0;
  while (got < limit) {
    if (got == out.size()) out.resize(std::min(out.size() * 2 + 4096, limit));
    const ssize_t r = ::read(fd, out.data() + got, size_t(out.size() - got));
    if (r < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (r == 0) break;
    got += r;
  }
  out.resize(got);
  return true;
}

enum class Load { Ok, Missing, Failed };

QString systemError(int code) { return QString::fromLocal8Bit(std::strerror(code)); }

QString tooLarge(qint64 size) {
  return QStringLiteral("file too large (%1 bytes)").arg(size);
}

// Parsed content of `path`, taken from the cache while the file is unchanged. `st` receives
// the file's status when it exists; `error` why it could not be read.
Load load(const QString& path, std::shared_ptr<const Parsed>& out, struct stat& st,
          QString* error = nullptr) {
  auto fail = [error](const QString& why) {
    if (error) *error = why;
    return Load::Failed;
  };
  const qint64 lookedAt = nowNs();
  const QByteArray native = QFile::encodeName(path);
  const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) {
    const int code = errno;
    cache().remove(path);
    return code == ENOENT ? Load::Missing : fail(systemError(code));
  }
  struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
  } closer{fd};
  if (fstat(fd, &st) != 0) return fail(systemError(errno));
  if (!S_ISREG(st.st_mode))
    return fail(S_ISDIR(st.st_mode) ? QStringLiteral("it is a folder")
                                    : QStringLiteral("not a regular file"));
  if (st.st_size > kMaxProfileBytes) {
    cache().remove(path);
    return fail(tooLarge(st.st_size));
  }
  const Identity id = Identity::of(st);
  auto it = cache().find(path);
  const bool known = it != cache().end() && it->id == id;
  // A big file is trusted on its identity alone: comparing it byte for byte on every
  // read would make each read as slow as parsing it anew.
  const bool settled = st.st_size > kCompareLimit ||
                       (it != cache().end() && it->verifiedAt - nsOf(id.mtime) > kTimestampSlackNs &&
                        it->verifiedAt - nsOf(id.ctime) > kTimestampSlackNs);
  if (known && settled) {
    it->lastUse = ++g_useCounter;
    out = it->parsed;
    return Load::Ok;
  }
  QByteArray bytes;
  if (!readAll(fd, st.st_size, kMaxProfileBytes + 1, bytes)) return fail(systemError(errno));
  // Read one byte past the limit: a file that grew meanwhile is refused as well.
  if (bytes.size() > kMaxProfileBytes) return fail(tooLarge(bytes.size()));
  if (known && bytes == it->parsed->bytes) {
    it->verifiedAt = lookedAt;
    it->lastUse = ++g_useCounter;
    out = it->parsed;
    return Load::Ok;
  }
  out = parse(std::move(bytes));
  remember(path, id, lookedAt, out);
  return Load::Ok;
}

QString truncated(QString s, int bufferSize) {
  const qsizetype max = bufferSize - 1;
  if (s.size() > max) {
    s.truncate(max);
    if (!s.isEmpty() && s.back().isHighSurrogate()) s.chop(1);
  }
  return s;
}

bool writeAllBytes(int fd, const QByteArray& bytes) {
  const char* p = bytes.constData();
  qsizetype left = bytes.size();
  while (left > 0) {
    const ssize_t w = ::write(fd, p, size_t(left));
    if (w < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += w;
    left -= w;
  }
  return true;
}

// The name of a temporary file for `fileName`: "." + name + "." + hex digits + ".tmp".
QByteArray tempName(const QByteArray& fileName) {
  return '.' + fileName + '.' + QByteArray::number(QRandomGenerator::global()->generate64(), 16) +
         ".tmp";
}

bool isTempOf(const QByteArray& name, const QByteArray& fileName) {
  const QByteArray head = '.' + fileName + '.';
  if (!name.startsWith(head) || !name.endsWith(".tmp")) return false;
  const QByteArray digits = name.mid(head.size(), name.size() - head.size() - 4);
  if (digits.isEmpty() || digits.size() > 16) return false;
  for (char c : digits)
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  return true;
}

// A writable file in a folder that takes no new files: rewritten where it is, the new text
// first and the cut after it, so that nothing of it is lost before it is written. A crash in
// the middle can leave a mix here; losing every setting would be worse.
bool rewriteInPlace(const QByteArray& dest, const QByteArray& bytes, Identity& written,
                    QString& error) {
  const int fd = ::open(dest.constData(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY);
  if (fd < 0) {
    error = systemError(errno);
    return false;
  }
  struct stat st {};
  const bool ok = writeAllBytes(fd, bytes) && ftruncate(fd, off_t(bytes.size())) == 0 &&
                  fdatasync(fd) == 0 && fstat(fd, &st) == 0;
  if (!ok) error = systemError(errno);
  ::close(fd);
  written = ok ? Identity::of(st) : Identity{};
  return ok;
}

// Replaces `target` with `bytes`: a temporary file in the same folder is written, flushed
// to the disk and renamed over the target, so a reader or a crash sees the old or the new
// file, never a part of one. The folder is not flushed: that would double the cost of a
// write, and the rename reaches the disk with the file system's next journal commit (a
// power cut before it leaves the old file, complete). `existing` carries the old file's
// mode and owner.
bool replaceFile(const QString& target, const QByteArray& bytes, const struct stat* existing,
                 Identity& written, bool flush, QString& error) {
  const QFileInfo info(target);
  const QByteArray folder = QFile::encodeName(info.absolutePath());
  const QByteArray dest = QFile::encodeName(info.absoluteFilePath());
  QByteArray temp;
  int fd = -1;
  for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
    temp = folder + '/' + tempName(QFile::encodeName(info.fileName()));
    fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd >= 0 || errno == EEXIST) continue;
    if (existing && (errno == EACCES || errno == EPERM))
      return rewriteInPlace(dest, bytes, written, error);
    error = systemError(errno);
    return false;
  }
  if (fd < 0) {
    error = systemError(EEXIST);
    return false;
  }
  auto fail = [&] {
    error = systemError(errno);
    ::close(fd);
    ::unlink(temp.constData());
    return false;
  };
  if (existing) {
    struct stat mine {};
    if (fstat(fd, &mine) != 0) return fail();
    // Only a privileged writer can give the file back to its owner; others keep theirs.
    if (mine.st_uid != existing->st_uid || mine.st_gid != existing->st_gid) {
      [[maybe_unused]] const int ignored = fchown(fd, existing->st_uid, existing->st_gid);
    }
    if (fchmod(fd, existing->st_mode & 07777) != 0) return fail();
  }
  if (!writeAllBytes(fd, bytes) || (flush && fdatasync(fd) != 0)) return fail();
  if (::rename(temp.constData(), dest.constData()) != 0) return fail();
  struct stat st {};
  const bool known = fstat(fd, &st) == 0;
  ::close(fd);
  written = known ? Identity::of(st) : Identity{};
  return true;
}

// A file reached through a symbolic link is written where the link points, so the link stays.
QString writeTarget(const QString& path) {
  const QFileInfo info(path);
  if (!info.isSymLink()) return path;
  const QString canonical = info.canonicalFilePath();
  return canonical.isEmpty() ? info.symLinkTarget() : canonical;
}

bool breaksLines(const QString& s) {
  return s.contains(u'\n') || s.contains(u'\r') || s.contains(QChar(0));
}

}  // namespace

quint64 ProfileParseCount() { return g_parses.load(); }

QString ProfileFileProblem(const QString& file) {
  if (file.isEmpty()) return {};
  std::lock_guard lock(g_mutex);
  std::shared_ptr<const Parsed> p;
  struct stat st {};
  QString error;
  return load(file, p, st, &error) == Load::Failed ? error : QString();
}

int RemoveStaleProfileTemps(const QString& file) {
  const QFileInfo info(writeTarget(file));
  const QByteArray fileName = QFile::encodeName(info.fileName());
  const QByteArray folder = QFile::encodeName(info.absolutePath());
  std::lock_guard lock(g_mutex);  // none of this process's own is being written meanwhile
  DIR* dir = ::opendir(folder.constData());
  if (!dir) return 0;
  int removed = 0;
  while (const dirent* entry = ::readdir(dir)) {
    if (!isTempOf(QByteArray(entry->d_name), fileName)) continue;
    struct stat st {};
    if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 ||
        !S_ISREG(st.st_mode) || st.st_uid != ::geteuid())
      continue;
    if (::unlinkat(::dirfd(dir), entry->d_name, 0) == 0) ++removed;
  }
  ::closedir(dir);
  return removed;
}

QString GetProfileString(const QString& file, const QString& section, const QString& key,
                         const QString& def, int bufferSize) {
  if (bufferSize <= 0) return {};
  if (file.isEmpty()) return truncated(def, bufferSize);
  std::shared_ptr<const Parsed> p;
  {
    std::lock_guard lock(g_mutex);
    struct stat st {};
    if (load(file, p, st) != Load::Ok) return truncated(def, bufferSize);
  }
  const auto s = p->sectionIndex.constFind(lookupName(section));
  if (s == p->sectionIndex.cend()) return truncated(def, bufferSize);
  const auto& keys = p->sections[*s].keys;
  const auto k = keys.constFind(lookupName(key));
  if (k == keys.cend()) return truncated(def, bufferSize);

  const char* d = p->bytes.constData();
  qsizetype b = k->valueBegin, e = k->contentEnd;
  while (b < e && isBlank(d[b])) ++b;
  while (e > b && isBlank(d[e - 1])) --e;
  if (e - b >= 2 && d[b] == '"' && d[e - 1] == '"') ++b, --e;
  if (const void* nul = std::memchr(d + b, '\0', e - b)) e = static_cast<const char*>(nul) - d;
  return truncated(decodePart(d, b, e), bufferSize);
}

namespace {

// Why a write failed, for callers that do not ask.
QString g_unasked;

// A name and value that a write may store: they keep the line structure intact.
bool storable(const QString& section, const QString& key, const QString& value) {
  const QString sectionName = trimBlanks(section);
  const QString keyName = trimBlanks(key);
  if (sectionName.isEmpty() || keyName.isEmpty()) return false;
  if (breaksLines(section) || breaksLines(key) || breaksLines(value)) return false;
  // Such a key would be read back as another key or as a section header.
  return !keyName.contains(u'=') && !keyName.startsWith(u'[');
}

// The file as it stands before a write; g_mutex held.
struct WriteBase {
  QString target;
  std::shared_ptr<const Parsed> parsed;
  struct stat st {};
  bool exists = false;
};

// `inPlace`: only bytes of the file itself may change, and its own opening for writing
// tells whether it is writable.
bool beginWrite(const QString& file, WriteBase& base, bool inPlace = false,
                QString& error = g_unasked) {
  base.target = writeTarget(file);
  const Load state = load(base.target, base.parsed, base.st, &error);
  if (state == Load::Failed) return false;
  base.exists = state == Load::Ok;
  if (base.exists && !inPlace &&
      faccessat(AT_FDCWD, QFile::encodeName(base.target).constData(), W_OK, AT_EACCESS) != 0) {
    error = systemError(errno);  // a file made read-only stays as it is
    return false;
  }
  if (!base.exists) base.parsed = parse({});
  return true;
}

// Replaces the file with `out` unless it already holds exactly that; g_mutex held.
bool commitWrite(const WriteBase& base, QByteArray out, bool flush, QString& error = g_unasked) {
  if (base.exists && out == base.parsed->bytes) return true;  // the file already says so
  if (out.size() > kMaxProfileBytes) {
    error = tooLarge(out.size());  // it could not be read back
    return false;
  }
  // Even a rewrite that keeps the file and its length moves what the slots point at.
  if (g_slots.target == base.target) g_slots.forget();
  const qint64 writtenAt = nowNs();
  Identity id;
  if (!replaceFile(base.target, out, base.exists ? &base.st : nullptr, id, flush, error))
    return false;
  if (id.ino != 0)
    remember(base.target, id, writtenAt, parse(std::move(out)));
  else
    cache().remove(base.target);
  return true;
}

// Changes the bytes that differ between the file and `out`, which has the same length, with
// one write at one offset into the file itself; g_mutex held. Nothing but those bytes can
// change, and the end of this process cannot tear one write.
bool overwriteInPlace(const WriteBase& base, QByteArray out) {
  const QByteArray& old = base.parsed->bytes;
  qsizetype first = 0, last = out.size();
  while (first < last && out[first] == old[first]) ++first;
  while (last > first && out[last - 1] == old[last - 1]) --last;
  const qint64 writtenAt = nowNs();
  const int fd = ::open(QFile::encodeName(base.target).constData(),
                        O_WRONLY | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return false;
  struct stat st {};
  bool ok = fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && Identity::of(st) == Identity::of(base.st);
  const char* p = out.constData() + first;
  for (qsizetype left = last - first; ok && left > 0;) {
    const ssize_t w = ::pwrite(fd, p, size_t(left), off_t(p - out.constData()));
    if (w < 0 && errno == EINTR) continue;
    ok = w > 0;
    if (ok) p += w, left -= w;
  }
  ok = ok && fstat(fd, &st) == 0;
  ::close(fd);
  if (ok)
    remember(base.target, Identity::of(st), writtenAt, parse(std::move(out)));
  else
    cache().remove(base.target);
  return ok;
}

// The file's bytes with `key` of `section` set to `value`.
QByteArray withKey(const Parsed& parsed, const QString& section, const QString& key,
                   const QString& value) {
  const Parsed* p = &parsed;
  const QString sectionName = trimBlanks(section);
  const QString keyName = trimBlanks(key);
  const QByteArray& old = p->bytes;
  QByteArray out;
  out.reserve(old.size() + keyName.size() + value.size() * 3 + sectionName.size() + 16);
  const auto s = p->sectionIndex.constFind(asciiLower(sectionName));
  if (s != p->sectionIndex.cend()) {
    const Section& sec = p->sections[*s];
    const auto k = sec.keys.constFind(asciiLower(keyName));
    if (k != sec.keys.cend()) {
      out.append(old.constData(), k->valueBegin);
      out.append(value.toUtf8());
      out.append(old.constData() + k->contentEnd, old.size() - k->contentEnd);
    } else {
      out.append(old.constData(), sec.insertAt);
      if (sec.insertNeedsEol) out.append(p->eol);
      out.append(keyName.toUtf8() + '=' + value.toUtf8() + p->eol);
      out.append(old.constData() + sec.insertAt, old.size() - sec.insertAt);
    }
  } else {
    out.append(old);
    if (!p->endsWithEol) out.append(p->eol);
    out.append('[' + sectionName.toUtf8() + ']' + p->eol);
    out.append(keyName.toUtf8() + '=' + value.toUtf8() + p->eol);
  }
  return out;
}

bool flushes(ProfileDurability durability) { return durability == ProfileDurability::Disk; }

}  // namespace

bool WriteProfileString(const QString& file, const QString& section, const QString& key,
                        const QString& value, QString* error) {
  QString why;
  bool ok = false;
  if (file.isEmpty() || !storable(section, key, value)) {
    why = QStringLiteral("not a settings line");
  } else {
    std::lock_guard lock(g_mutex);
    WriteBase base;
    ok = beginWrite(file, base, false, why) &&
         commitWrite(base, withKey(*base.parsed, section, key, value), true, why);
  }
  if (!ok && error) *error = why;
  return ok;
}

bool WriteProfileStrings(const QString& file, const QString& section,
                         const QList<QPair<QString, QString>>& values,
                         ProfileDurability durability) {
  if (file.isEmpty() || values.isEmpty()) return false;
  for (const auto& [key, value] : values)
    if (!storable(section, key, value)) return false;
  std::lock_guard lock(g_mutex);
  WriteBase base;
  if (!beginWrite(file, base)) return false;
  QByteArray out = withKey(*base.parsed, section, values[0].first, values[0].second);
  for (qsizetype i = 1; i < values.size(); ++i)
    out = withKey(*parse(std::move(out)), section, values[i].first, values[i].second);
  return commitWrite(base, std::move(out), flushes(durability));
}

namespace {

bool sameKeys(const KnownSlots& k, const QString& file, const QString& section,
              const QList<QPair<QString, QString>>& padded) {
  if (k.fd < 0 || k.keys.size() != padded.size() || k.section != lookupName(section)) return false;
  for (qsizetype i = 0; i < padded.size(); ++i)
    if (k.keys[i] != lookupName(padded[i].first)) return false;
  return k.file == file;
}

// The write through g_slots; false, changing nothing, when it does not apply.
bool writeKnownSlots(const QString& file, const QString& section,
                     const QList<QPair<QString, QString>>& padded) {
  KnownSlots& k = g_slots;
  if (!sameKeys(k, file, section, padded)) return false;
  QByteArray region = k.region;
  for (qsizetype i = 0; i < padded.size(); ++i) {
    const QByteArray v = padded[i].second.toUtf8();
    const auto [at, length] = k.spans[size_t(i)];
    if (v.size() != length) return false;
    std::memcpy(region.data() + at, v.constData(), size_t(length));
  }
  struct stat st {};
  // Looked at through the path as named: a link turned elsewhere shows as another file.
  if (::stat(QFile::encodeName(k.file).constData(), &st) != 0 || !(Identity::of(st) == k.id)) {
    k.forget();  // replaced or changed by another writer: its layout must be read again
    return false;
  }
  bool ok = true;
  const char* p = region.constData();
  for (qsizetype left = region.size(); ok && left > 0;) {
    const ssize_t w = ::pwrite(k.fd, p, size_t(left), off_t(k.regionBegin + (p - region.constData())));
    if (w < 0 && errno == EINTR) continue;
    ok = w > 0;
    if (ok) p += w, left -= w;
  }
  cache().remove(k.target);  // the parsed copy no longer holds these bytes
  if (!ok || fstat(k.fd, &st) != 0) {
    k.forget();
    return false;
  }
  k.region = std::move(region);
  k.id = Identity::of(st);
  return true;
}

// Remembers the slots that overwriteInPlace() has just written into base.target.
void rememberSlots(const WriteBase& base, const Parsed& p, int sectionIndex, const QString& file,
                   const QString& section, const QList<QPair<QString, QString>>& padded) {
  g_slots.forget();
  const auto entry = cache().constFind(base.target);
  if (entry == cache().cend()) return;
  KnownSlots k;
  k.target = base.target;
  k.section = lookupName(section);
  qsizetype begin = p.bytes.size(), end = 0;
  for (const auto& pair : padded) {
    // Every key is there: overwriteInPlace() wrote them all.
    const KeyLine& line = *p.sections[size_t(sectionIndex)].keys.constFind(lookupName(pair.first));
    k.keys.append(lookupName(pair.first));
    k.spans.emplace_back(line.valueBegin, line.contentEnd - line.valueBegin);
    begin = std::min(begin, line.valueBegin);
    end = std::max(end, line.contentEnd);
  }
  const QByteArray& now = entry->parsed->bytes;
  if (end > now.size()) return;
  for (auto& span : k.spans) span.first -= begin;
  k.regionBegin = begin;
  k.region = now.mid(begin, end - begin);
  k.id = entry->id;
  k.fd = ::open(QFile::encodeName(k.target).constData(),
                O_WRONLY | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY | O_NONBLOCK);
  struct stat st {};
  k.file = file;
  // The file opened must be the one written.
  if (k.fd >= 0 && fstat(k.fd, &st) == 0 && Identity::of(st) == k.id)
    g_slots = std::move(k);
  else if (k.fd >= 0)
    ::close(k.fd);
}

}  // namespace

bool WriteProfileSlots(const QString& file, const QString& section,
                       const QList<QPair<QString, QString>>& values, int width) {
  if (file.isEmpty() || values.isEmpty()) return false;
  QList<QPair<QString, QString>> padded;
  for (const auto& [key, value] : values) {
    if (!storable(section, key, value) || isBlank(value.isEmpty() ? QChar(u'x') : value.back()))
      return false;
    // Padded to `width` bytes as stored, so that the stored lengths match whatever the text.
    const qsizetype bytes = value.toUtf8().size();
    padded.append({key, value + QString(std::max<qsizetype>(0, width - bytes), u' ')});
  }
  std::lock_guard lock(g_mutex);
  if (writeKnownSlots(file, section, padded)) return true;
  WriteBase base;
  if (!beginWrite(file, base, true)) return false;
  // Every key already there with a value of the same stored length: the new values take
  // the old ones' bytes.
  const Parsed& p = *base.parsed;
  const auto s = p.sectionIndex.constFind(lookupName(section));
  if (base.exists && s != p.sectionIndex.cend()) {
    QByteArray out = p.bytes;
    bool fits = true;
    for (const auto& [key, value] : padded) {
      const auto k = p.sections[*s].keys.constFind(lookupName(key));
      const QByteArray v = value.toUtf8();
      fits = k != p.sections[*s].keys.cend() && v.size() == k->contentEnd - k->valueBegin;
      if (!fits) break;
      std::memcpy(out.data() + k->valueBegin, v.constData(), size_t(v.size()));
    }
    if (fits && out == p.bytes) return true;
    if (fits && overwriteInPlace(base, out)) {
      rememberSlots(base, p, *s, file, section, padded);
      return true;
    }
  }
  if (base.exists &&
      faccessat(AT_FDCWD, QFile::encodeName(base.target).constData(), W_OK, AT_EACCESS) != 0)
    return false;  // a file made read-only stays as it is
  QByteArray out = withKey(*base.parsed, section, padded[0].first, padded[0].second);
  for (qsizetype i = 1; i < padded.size(); ++i)
    out = withKey(*parse(std::move(out)), section, padded[i].first, padded[i].second);
  return commitWrite(base, std::move(out), false);
}

bool DeleteProfileSection(const QString& file, const QString& section,
                          ProfileDurability durability) {
  if (file.isEmpty()) return false;
  std::lock_guard lock(g_mutex);
  WriteBase base;
  if (!beginWrite(file, base)) return false;
  const Parsed& p = *base.parsed;
  const auto s = p.sectionIndex.constFind(lookupName(section));
  if (s == p.sectionIndex.cend()) return true;  // nothing to delete, the file stays as it is
  const qsizetype begin = p.sections[*s].headerBegin;
  const auto next = std::upper_bound(p.headers.begin(), p.headers.end(), begin);
  const qsizetype end = next == p.headers.end() ? p.bytes.size() : *next;
  QByteArray out = p.bytes.left(begin) + p.bytes.mid(end);
  return commitWrite(base, std::move(out), flushes(durability));
}

}  // namespace vlx::platform
