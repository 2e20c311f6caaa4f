// Starting programs: the command line of a .desktop file, programs looked up on PATH, and a
// detached start that hands every argument over byte for byte, never through a shell.
#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace vlx::platform {

// The command of a desktop entry's Exec line (group "Desktop Entry") for the files: quoting
// and escapes undone, %f and %u replaced by the first file, %F and %U by all of them, %% by
// "%", %c by the name, %k by `desktopFile`, %i by "--icon" and the icon; other codes carry
// nothing. When the line has no file code the files go at its end. Empty when the entry
// has no usable Exec line.
QStringList DesktopEntryCommand(const QByteArray& entryText, const QStringList& files,
                                const QString& desktopFile = {});

// The first of the programs found on PATH, as a full path; empty when none is.
QString FirstProgramOnPath(const QStringList& names);

// Starts the command (program first; a name without '/' is looked up on PATH) in the
// working folder (the current one when empty) and does not wait for it. Texts are turned
// back into the bytes they stand for, so a file name that is not UTF-8 arrives unchanged.
// False when the program could not be started.
bool StartDetached(const QStringList& command, const QString& workingFolder = {});

}  // namespace vlx::platform
