#include "app/command_line.h"
#include "app_identity.h"

#include <QDir>
#include <QUrl>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

#include "playlist/entry_bytes.h"

namespace vlx {
namespace {

// Addresses the players stream from; anything else with "://" is left out.
bool isStreamScheme(const QByteArray& scheme) {
  static const char* const kSchemes[] = {"http", "https", "ftp", "rtsp", "rtmp", "mms"};
  for (const char* s : kSchemes)
    if (scheme == s) return true;
  return false;
}

// "scheme://", lower-cased; empty when the argument is no address.
QByteArray schemeOf(const QByteArray& arg) {
  const qsizetype colon = arg.indexOf("://");
  if (colon <= 0) return {};
  for (qsizetype i = 0; i < colon; ++i) {
    const char c = arg[i];
    const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                    (i > 0 && ((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'));
    if (!ok) return {};
  }
  return arg.left(colon).toLower();
}

QString shown(const QByteArray& arg) { return bytesToEntry(arg); }

// The local path of a file address, or an empty array with `why` set.
QByteArray localPathOf(const QByteArray& arg, QString& why) {
  const QUrl url = QUrl::fromEncoded(arg, QUrl::TolerantMode);
  const QString host = url.host();
  if (!url.isValid() || (!host.isEmpty() && host.compare(u"localhost", Qt::CaseInsensitive) != 0)) {
    why = QStringLiteral("not a file of this computer");
    return {};
  }
  // The encoded path keeps bytes that are not UTF-8 as %XX.
  const QByteArray path = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
  if (path.isEmpty() || path.contains('\0')) {
    why = QStringLiteral("not a usable file name");
    return {};
  }
  return path;
}

QByteArray absolute(const QByteArray& name, const QByteArray& workingFolder) {
  QByteArray path = name;
  if (!path.startsWith('/'))
    path = (workingFolder.endsWith('/') ? workingFolder : workingFolder + '/') + name;
  // Lexically, as a shell would show it; bytes that are not UTF-8 never hold '.' or '/'.
  return entryToBytes(QDir::cleanPath(bytesToEntry(path)));
}

void addName(CommandLine& line, const QByteArray& arg, const QByteArray& workingFolder) {
  line.namesGiven = true;
  QByteArray path;
  const QByteArray scheme = schemeOf(arg);
  if (scheme == "file") {
    QString why;
    path = localPathOf(arg, why);
    if (path.isEmpty()) {
      line.skipped << shown(arg) + QStringLiteral(": ") + why;
      return;
    }
  } else if (!scheme.isEmpty()) {
    if (isStreamScheme(scheme))
      line.entries << shown(arg);
    else
      line.skipped << shown(arg) + QStringLiteral(": not an address VLX can play");
    return;
  } else if (arg.isEmpty()) {
    line.skipped << QStringLiteral("'': no such file");
    return;
  } else {
    path = absolute(arg, workingFolder);
  }
  struct stat st {};
  if (::stat(path.constData(), &st) != 0) {
    line.skipped << shown(arg) + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno));
    return;
  }
  line.entries << bytesToEntry(path);
}

}  // namespace

CommandLine ParseCommandLine(const QList<QByteArray>& arguments, const QByteArray& workingFolder) {
  CommandLine line;
  bool options = true;
  for (const QByteArray& arg : arguments) {
    if (options && arg == "--") {
      options = false;
    } else if (options && (arg == "--help" || arg == "-h")) {
      line.action = CommandLine::Help;
      return line;
    } else if (options && arg == "--version") {
      line.action = CommandLine::Version;
      return line;
    } else if (options && arg.startsWith('-')) {
      line.action = CommandLine::Error;
      line.error = QStringLiteral("vlx: unknown option '%1' (try 'vlx --help')").arg(shown(arg));
      return line;
    } else {
      addName(line, arg, workingFolder);
    }
  }
  return line;
}

CommandLine ParseCommandLine(int argc, char** argv) {
  QList<QByteArray> arguments;
  for (int i = 1; i < argc; ++i) arguments << QByteArray(argv[i]);
  QByteArray cwd(4096, '\0');
  while (!::getcwd(cwd.data(), size_t(cwd.size()))) {
    if (errno != ERANGE) {
      cwd = "/";
      break;
    }
    cwd.resize(cwd.size() * 2);
  }
  cwd.truncate(qsizetype(std::strlen(cwd.constData())));
  return ParseCommandLine(arguments, cwd);
}

QString HelpText() {
  return QStringLiteral(
      "Usage: vlx [OPTION]... [FILE|FOLDER|URL]...\n"
      "A media launcher: the Controller plays the playlist's entries in the windows that\n"
      "can show them.\n"
      "\n"
      "Files are added to the end of the playlist in the order given and the first of them\n"
      "is opened. A playlist file (.vlx, .m3u) is loaded into the Edit Playlist window and\n"
      "its entries are sent to the playlist. A folder adds its files that match the Playlist\n"
      "window's search pattern, without its subfolders. Addresses may be http, https, ftp,\n"
      "rtsp, rtmp, mms or file URLs.\n"
      "When VLX already runs for the same user folder, the files are handed to it and this\n"
      "command ends at once.\n"
      "\n"
      "  -h, --help     show this help and end\n"
      "      --version  show the version and end\n"
      "      --         take every later argument as a name, even one beginning with '-'\n"
      "\n"
      "The user folder (settings) is $VLX_HOME, else $XDG_CONFIG_HOME/vlx (~/.config/vlx).\n"
      "Exit status: 0 when all went well, 1 when nothing could be opened or VLX could not\n"
      "start, 2 for an unknown option.\n");
}

QString VersionText() { return QStringLiteral("vlx " VLX_VERSION "\n"); }

int ReportCommandLine(const CommandLine& line) {
  switch (line.action) {
    case CommandLine::Help:
      std::fputs(HelpText().toLocal8Bit().constData(), stdout);
      return 0;
    case CommandLine::Version:
      std::fputs(VersionText().toLocal8Bit().constData(), stdout);
      return 0;
    case CommandLine::Error:
      std::fprintf(stderr, "%s\n", entryToBytes(line.error).constData());
      return 2;
    case CommandLine::Run:
      break;
  }
  for (const QString& s : line.skipped)
    std::fprintf(stderr, "vlx: left out %s\n", entryToBytes(s).constData());
  if (line.namesGiven && line.entries.isEmpty()) return 1;
  return -1;
}

}  // namespace vlx
