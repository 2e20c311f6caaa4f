#include "app/command_line.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

#include "app_identity.h"

namespace vlx {
namespace {

// Addresses the players stream from; anything else with "://" is left out.
bool isStreamScheme(const std::string& scheme) {
  for (const char* s : {"http", "https", "ftp", "rtsp", "rtmp", "mms"})
    if (scheme == s) return true;
  return false;
}

// The scheme of "scheme://...", lower-cased; empty when the argument is no address.
std::string schemeOf(const std::string& arg) {
  const size_t end = arg.find("://");
  if (end == std::string::npos || end == 0) return {};
  std::string scheme;
  for (size_t i = 0; i < end; ++i) {
    const char c = arg[i];
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    const bool other = (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
    if (!letter && !(i > 0 && other)) return {};
    scheme += char(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  }
  return scheme;
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string percentDecoded(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && hexValue(text[i + 1]) >= 0 &&
        hexValue(text[i + 2]) >= 0) {
      out += char(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

// The local path of a "file://" address, or empty with `why` set.
std::string localPathOf(const std::string& arg, std::string& why) {
  const std::string rest = arg.substr(7);  // after "file://"
  const size_t slash = rest.find('/');
  std::string host = rest.substr(0, slash);
  for (char& c : host) c = char(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  if (slash == std::string::npos || (!host.empty() && host != "localhost")) {
    why = "not a file of this computer";
    return {};
  }
  // A query or a fragment is no part of the file's name.
  const std::string path = percentDecoded(rest.substr(slash, rest.find_first_of("?#", slash) - slash));
  if (path.find('\0') != std::string::npos) {
    why = "not a usable file name";
    return {};
  }
  return path;
}

// "." and ".." resolved by the text alone, as a shell shows the path; no "//", no "/" at the
// end.
std::string cleanPath(const std::string& absolute) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= absolute.size()) {
    size_t end = absolute.find('/', start);
    if (end == std::string::npos) end = absolute.size();
    const std::string part = absolute.substr(start, end - start);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    start = end + 1;
  }
  std::string out;
  for (const std::string& p : parts) out += '/' + p;
  return out.empty() ? "/" : out;
}

void addName(CommandLine& line, const std::string& arg, const std::string& workingFolder) {
  line.namesGiven = true;
  std::string path;
  const std::string scheme = schemeOf(arg);
  if (scheme == "file") {
    std::string why;
    path = localPathOf(arg, why);
    if (path.empty()) {
      line.skipped.push_back(arg + ": " + why);
      return;
    }
  } else if (!scheme.empty()) {
    if (isStreamScheme(scheme))
      line.names.push_back(arg);
    else
      line.skipped.push_back(arg + ": not an address VLX can play");
    return;
  } else if (arg.empty()) {
    line.skipped.push_back("'': no such file");
    return;
  } else {
    path = arg[0] == '/' ? arg : workingFolder + '/' + arg;
  }
  path = cleanPath(path);
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    line.skipped.push_back(arg + ": " + std::strerror(errno));
    return;
  }
  line.names.push_back(path);
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments,
                             const std::string& workingFolder) {
  CommandLine line;
  bool options = true;
  for (const std::string& arg : arguments) {
    if (options && arg == "--") {
      options = false;
    } else if (options && (arg == "--help" || arg == "-h")) {
      line.action = CommandLine::Help;
      return line;
    } else if (options && arg == "--version") {
      line.action = CommandLine::Version;
      return line;
    } else if (options && !arg.empty() && arg[0] == '-') {
      line.action = CommandLine::Error;
      line.error = "vlx: unknown option '" + arg + "' (try 'vlx --help')";
      return line;
    } else {
      addName(line, arg, workingFolder);
    }
  }
  return line;
}

CommandLine ParseCommandLine(int argc, char** argv) {
  std::vector<std::string> arguments(argv + std::min(argc, 1), argv + argc);
  std::string cwd(4096, '\0');
  while (!::getcwd(cwd.data(), cwd.size())) {
    if (errno != ERANGE) {
      cwd = "/";
      break;
    }
    cwd.resize(cwd.size() * 2);
  }
  cwd.resize(std::strlen(cwd.c_str()));
  return ParseCommandLine(arguments, cwd);
}

std::string HelpText() {
  return "Usage: vlx [OPTION]... [FILE|FOLDER|URL]...\n"
         "A media launcher: the Controller plays the playlist's entries in the windows that\n"
         "can show them.\n"
         "\n"
         "Files are added to the end of the playlist in the order given and the first of them\n"
         "is opened. A playlist file (.vlx, .m3u) adds its entries. A folder adds its files\n"
         "that match the Playlist window's search pattern, without its subfolders. Addresses\n"
         "may be http, https, ftp, rtsp, rtmp, mms or file URLs.\n"
         "When VLX already runs for the same user folder, the files are handed to it and this\n"
         "command ends at once.\n"
         "\n"
         "  -h, --help     show this help and end\n"
         "      --version  show the version and end\n"
         "      --         take every later argument as a name, even one beginning with '-'\n"
         "\n"
         "The user folder (settings) is $VLX_HOME, else $XDG_CONFIG_HOME/vlx (~/.config/vlx).\n"
         "Exit status: 0 when all went well, 1 when nothing could be opened or VLX could not\n"
         "start, 2 for an unknown option.\n";
}

std::string VersionText() { return std::string("vlx ") + VLX_VERSION + "\n"; }

int ReportCommandLine(const CommandLine& line) {
  switch (line.action) {
    case CommandLine::Help:
      std::fputs(HelpText().c_str(), stdout);
      return 0;
    case CommandLine::Version:
      std::fputs(VersionText().c_str(), stdout);
      return 0;
    case CommandLine::Error:
      std::fprintf(stderr, "%s\n", line.error.c_str());
      return 2;
    case CommandLine::Run:
      break;
  }
  for (const std::string& s : line.skipped) std::fprintf(stderr, "vlx: left out %s\n", s.c_str());
  if (line.namesGiven && line.names.empty()) return 1;
  return -1;
}

}  // namespace vlx
