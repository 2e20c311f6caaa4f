// Runs the program: loads and shows the Controller, ties the end of the run, the desktop
// session's end and termination signals to the Controller's exit.
#pragma once

class QApplication;

namespace vlx {

class Program;

int runProgram(Program& prog, QApplication& app);

}  // namespace vlx
