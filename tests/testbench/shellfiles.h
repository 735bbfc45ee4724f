/*
 * Files as the shell sees them: shell links written and read back through
 * the shell's own link object (COM initialised by the caller), folders
 * listed and deleted with their content. Paths are ANSI.
 */
#ifndef TESTBENCH_SHELLFILES_H
#define TESTBENCH_SHELLFILES_H

#include <string>
#include <vector>

namespace tb {

struct Link {
    bool loaded = false;
    std::string target, arguments, icon;
};
/* The link as the shell reads it; loaded is false when it cannot be read. */
Link ReadLink(const std::string &path);
bool WriteLink(const std::string &path, const std::string &target, const std::string &args = "");

/* Deletes a file or a folder with all its content; true when it is gone. */
bool RemoveTree(const std::string &path);
/* Sorted names in a folder, without "." and "..". */
std::vector<std::string> ListFolder(const std::string &dir);

} // namespace tb

#endif
