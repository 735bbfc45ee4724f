/*
 * The installation's machine-wide defaults for tests: written into the
 * prefix's registry for a given installation folder, as the installer does.
 */
#ifndef TESTBENCH_JOLT_DEFAULTS_H
#define TESTBENCH_JOLT_DEFAULTS_H

#include <windows.h>
#include <string>
#include <vector>

namespace tb {

/* Writes every default of setup/defaults.h below HKLM; installDir is ANSI. */
bool InstallDefaults(const std::string &installDir);
/* The default text of a value as installDir turns it (ANSI); "" when absent. */
std::string DefaultText(const std::string &key, const std::string &name,
                        const std::string &installDir);
/* Stamps "InstallTime" into the machine keys "Tiltfeed" and "Jolt" that exist. */
void StampInstallTime(const SYSTEMTIME &st);

/* The programs Joltmark.exe recorded in dir\joltmark.log, a line each: the
 * first word of every line (the name it was started under). */
std::vector<std::string> JoltmarkRuns(const std::string &dir);

} // namespace tb

#endif
