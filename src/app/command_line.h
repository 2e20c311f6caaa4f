// The command line: `vlx [OPTION]... [FILE|FOLDER|URL]...`. Read before anything else
// starts, so that --help, --version and mistakes never touch the settings or a window.
#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace vlx {

struct CommandLine {
  enum Action { Run, Help, Version, Error };
  Action action = Run;
  // What to open, in the order given, as playlist entries: absolute paths (bytes that are
  // not UTF-8 kept) and network addresses.
  QStringList entries;
  // One line for each name that was left out (missing file, address of another kind).
  QStringList skipped;
  // The one-line error of Action::Error.
  QString error;
  // True when names were given at all, even if every one was left out.
  bool namesGiven = false;
};

// Reads the arguments after the program name. Relative names are taken from `workingFolder`
// (the launching process's current folder, as bytes).
CommandLine ParseCommandLine(const QList<QByteArray>& arguments, const QByteArray& workingFolder);
CommandLine ParseCommandLine(int argc, char** argv);

QString HelpText();
QString VersionText();

// Prints what the command line asks for (help, version, error, the skipped names) and
// returns the exit status when the program should not start: 0 after help or version, 2
// after an unknown option, 1 when every name given was left out; -1 to go on.
int ReportCommandLine(const CommandLine& line);

}  // namespace vlx
