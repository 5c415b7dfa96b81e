// pf/registry.h - the host program's control of the registry hive.
//
// HKEY_CURRENT_USER lives in a ".reg" text file ("Windows Registry Editor Version 5.00"). It is
// loaded when the first registry call runs (or when the host names the file), and saved
// whenever a key is closed after a change: under an exclusive lock on "<hive>.lock", the file
// is read again, this process's changes are applied over it (the last save wins for each
// value), and the result replaces the file atomically (written to a temporary file, then
// renamed). A hive file that cannot be parsed is reported with its line and never overwritten;
// the changes made meanwhile stay in memory.
#pragma once
#include <string>

namespace pf {

// "~/.cadhost/user.reg" ($HOME, or the password database when HOME is unset).
std::string defaultRegistryHivePath();

// Chooses the hive file and loads it, replacing what the process held in memory (unsaved
// changes are dropped; open keys that no longer exist answer ERROR_KEY_DELETED). A missing
// file is an empty hive. Answers false when the file cannot be read or parsed; the message
// (with the line) is reported and available from registryProblem().
bool setRegistryHivePath(const std::string& path);
std::string registryHivePath();

// Saves pending changes now. Answers false when they could not be saved (they stay pending).
bool registryFlush();
bool registryHasUnsavedChanges();

// The last problem met with the hive file (empty when the last load or save went well).
std::string registryProblem();

// Where problems are reported (a line of text each). The default writes to standard error;
// nullptr restores it.
void setRegistryReporter(void (*reporter)(const std::string& message));

}  // namespace pf
