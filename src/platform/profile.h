// Profile-string files: "[section]" header lines followed by "key=value" lines, read and
// written the way the Windows profile-string calls do, on our own parser.
#pragma once
#include <QList>
#include <QPair>
#include <QString>
#include <QtGlobal>

namespace vlx::platform {

// Value of `key` in `section` of `file`, or `def` when the file, the section or the key is
// missing or the file cannot be read. Names match in any ASCII letter case; the first
// matching section and the first matching key win. The value is trimmed of surrounding
// blanks and loses one enclosing pair of double quotes. At most bufferSize - 1 characters
// come back (a read with the usual 255 returns at most 254); a surrogate pair is never split.
// Names and values are decoded each on its own bytes: UTF-8 when valid, else Latin-1; a
// leading U+FEFF is kept as a character. A file larger than kMaxProfileBytes is not read.
QString GetProfileString(const QString& file, const QString& section, const QString& key,
                         const QString& def, int bufferSize = 255);

// Sets `key` in `section` of `file` to `value`, creating the file (not its folder), the
// section (appended at the end) and the key (after the last non-blank line of its section)
// as needed. Every other line keeps its bytes and its own line end; new lines take the
// file's first line end (LF for a new file). The file is replaced atomically and has reached
// the disk when this returns true; a file that already holds exactly that text is not
// touched. A writable file in a folder that takes no new files is rewritten in place.
// Returns false, leaving the file alone and saying why in `error`, when it cannot be read or
// written, or when a name or the value would break the line structure (CR, LF or NUL
// anywhere; an empty name; '=' in the key or a key starting with '[').
bool WriteProfileString(const QString& file, const QString& section, const QString& key,
                        const QString& value, QString* error = nullptr);

// Profile files are a few kilobytes; one beyond this size is no settings file and is
// neither read nor written.
inline constexpr qint64 kMaxProfileBytes = 8LL * 1024 * 1024;

// Why `file` cannot be read: empty when it can, or when it does not exist.
QString ProfileFileProblem(const QString& file);

// Removes the temporary files that a writer of `file` killed in mid-write left in its folder.
// Only for the one process that writes the file. Returns how many were removed.
int RemoveStaleProfileTemps(const QString& file);

// How far a write must have gone when it returns: to the disk, or only as far as it takes
// to survive the end of this process (the system writes it out later; a power cut before
// then loses it, never leaving a torn file).
enum class ProfileDurability { Disk, Process };

// Sets several keys of one section, as WriteProfileString does for each, in one
// replacement of the file. False, leaving the file alone, when any of them is refused.
bool WriteProfileStrings(const QString& file, const QString& section,
                         const QList<QPair<QString, QString>>& values,
                         ProfileDurability durability = ProfileDurability::Disk);

// Sets keys of one section as WriteProfileStrings does, each value padded with blanks to
// `width` characters (reads drop them). Once the keys are there, a write whose values fit
// their widths keeps the file's length and changes only its own bytes, in place: a few
// microseconds where replacing the file waits for the disk to take the new one. Such a
// write survives the end of this process but is not flushed to the disk. Values that end
// with a blank are refused (reads could not tell the padding from them).
bool WriteProfileSlots(const QString& file, const QString& section,
                       const QList<QPair<QString, QString>>& values, int width);

// Removes the first section of that name, with its header and every line up to the next
// section header. True when the file no longer has it (also when it never had).
bool DeleteProfileSection(const QString& file, const QString& section,
                          ProfileDurability durability = ProfileDurability::Disk);

// Number of times a file's text has been parsed in this process. Parsed files are kept
// while they stay unchanged on disk; tests and benchmarks check that with this count.
quint64 ProfileParseCount();

}  // namespace vlx::platform
