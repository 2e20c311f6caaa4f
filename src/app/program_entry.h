// Where the launcher (app/launcher.cpp) enters the program proper (app/main.cpp), which it
// loads as a library only when this launch starts VLX: a launch that hands its files to a
// running VLX never loads the toolkit.
#pragma once

// The C name the launcher looks up in the program library.
#define VLX_PROGRAM_ENTRY "vlx_program_main"

extern "C" {
// `argv0`: the launcher's own argv[0]; `names`: the command line's names (file-system bytes
// or addresses), `count` of them; `lockFd`: the instance lock the launcher holds, or -1.
// Returns the exit status. Termination signals are blocked on entry (the launcher held them
// back while it loaded the library); the program catches them and lets them through.
typedef int (*VlxProgramEntry)(char* argv0, const char* const* names, int count, int lockFd);
int vlx_program_main(char* argv0, const char* const* names, int count, int lockFd);
}
