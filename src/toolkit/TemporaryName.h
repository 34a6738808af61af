#pragma once
// The names of the temporary files that the atomic writer puts beside the
// file it replaces, ".<name>.tw-<pid>-XXXXXX", shared by the platforms so
// that a writer recognises the leftovers of any other.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tk::detail {

// ".<name>.tw-": what every temporary file of the file `name` begins with.
std::string TemporaryPrefix(std::string_view name);

// A new temporary name for the file `name`, written by process `pid`.
std::string NewTemporaryName(std::string_view name, std::int64_t pid);

// The writer's process id when `entry` is a temporary name of the file that
// `prefix` belongs to, or of any file when `prefix` is empty.
std::optional<std::int64_t> WriterOf(std::string_view entry, std::string_view prefix);

} // namespace tk::detail
