#pragma once
// The names of the temporary files that the atomic writer puts beside the
// file it replaces, ".<name>.tw-<pid>-XXXXXX", shared by the platforms so
// that a writer recognises the leftovers of any other.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform::detail {

// ".<name>.tw-": what every temporary file of the file `name` begins with.
std::string TemporaryPrefix(std::string_view name);

// A new temporary name for the file `name`, written by process `pid`.
std::string NewTemporaryName(std::string_view name, std::int64_t pid);

// How much longer than its file's name a temporary name is at most: a
// process id has ten digits at most, on either platform.
std::size_t TemporaryNameExtra();

// The writer's process id when `entry` is a temporary name of the file that
// `prefix` belongs to, or of any file when `prefix` is empty.
std::optional<std::int64_t> WriterOf(std::string_view entry, std::string_view prefix);

} // namespace platform::detail

namespace platform {

// Whose temporary files the next write removes: a file replaced under one
// name clears those of that name; a folder of files that each get a new name,
// backups say, is cleared of all of them.
enum class StaleTemporaries { OfThisFile, InTheFolder };

// Removes the temporary files beside `target` whose writers no longer run (a
// process that cannot be signalled for want of permission still runs, so its
// files are kept). Each platform has its own.
void RemoveStaleTemporaries(const std::string& target, StaleTemporaries scope);

} // namespace platform
