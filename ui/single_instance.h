// Start-up of the desktop program: a second copy of the same executable refuses to start.
#pragma once

#include <QString>

namespace horalun {

inline constexpr const char* kAlreadyRunningMessage = "Aplikace je již spuštěná!!";
inline constexpr const char* kApplicationTitle = "Horalun";
inline constexpr const char* kIconFile = "myicon.ico";

// Number of running processes whose executable's file name, or whole path, equals
// `executableName`, compared in capitals. Read from /proc; processes whose executable cannot be
// read (other users', kernel threads) are skipped, and without /proc the count is 0.
int count_running_copies(const QString& executableName);

// The file name of this process's executable (without its folder).
QString own_executable_name();

// True when another process runs the same executable name as this one (the count, which
// includes this process, is 2 or more).
bool another_copy_running();

}  // namespace horalun
