#pragma once

// The writing helpers the file system object relies on (their error numbers are in ScriptError.h).

#include "vbscript/ScriptError.h"

#include <string>
#include <string_view>

namespace vbscript {

// Raises the language's error for a C errno value.
[[noreturn]] void raiseFileError(int errnoValue);

// Replaces the file with the bytes as one step: a temporary file in the same folder is written,
// flushed to disk and renamed over the old one, so a full disk or a crash leaves the old file
// whole. Raises the language's file errors.
void replaceFileAtomically(const std::string& path, std::string_view bytes);
// Appends the bytes and flushes them to disk.
void appendToFile(const std::string& path, std::string_view bytes);
// Reads the whole file; raises 53 when it does not exist.
std::string readWholeFile(const std::string& path);

} // namespace vbscript
