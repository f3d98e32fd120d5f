#pragma once

// File errors of the language and the writing helpers the file system object relies on.

#include <string>
#include <string_view>

namespace vbscript {

namespace fileerr {
inline constexpr int FileNotFound = 53;
inline constexpr int BadFileMode = 54;
inline constexpr int DeviceIO = 57;
inline constexpr int FileExists = 58;
inline constexpr int DiskFull = 61;
inline constexpr int InputPastEnd = 62;
inline constexpr int PermissionDenied = 70;
inline constexpr int PathNotFound = 76;
} // namespace fileerr

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
