// The command line: `vlx [OPTION]... [FILE|FOLDER|URL]...`. Read by the launcher before
// anything else starts, so that --help, --version and mistakes never touch the settings or
// a window; written without the toolkit, which a launch that only hands files over to a
// running VLX never loads.
#pragma once
#include <string>
#include <vector>

namespace vlx {

struct CommandLine {
  enum Action { Run, Help, Version, Error };
  Action action = Run;
  // What to open, in the order given: absolute paths as the file system's bytes, and
  // network addresses.
  std::vector<std::string> names;
  // One line for each name that was left out ("name: reason").
  std::vector<std::string> skipped;
  // The one-line error of Action::Error.
  std::string error;
  // True when names were given at all, even if every one was left out.
  bool namesGiven = false;
};

// Reads the arguments after the program name. Relative names are taken from `workingFolder`
// (the launching process's current folder).
CommandLine ParseCommandLine(const std::vector<std::string>& arguments,
                             const std::string& workingFolder);
CommandLine ParseCommandLine(int argc, char** argv);

std::string HelpText();
std::string VersionText();

// Prints what the command line asks for (help, version, error, the names left out) and
// returns the exit status when the program should not start: 0 after help or version, 2
// after an unknown option, 1 when every name given was left out; -1 to go on.
int ReportCommandLine(const CommandLine& line);

}  // namespace vlx
