// Runs the program: loads and shows the Controller, ties the end of the run, the desktop
// session's end and termination signals to the Controller's exit.
#pragma once

#include <QStringList>

class QApplication;

namespace vlx {

class Program;

// `entries` are the command line's files, opened once the Controller shows.
int runProgram(Program& prog, QApplication& app, const QStringList& entries = {});

}  // namespace vlx
