#pragma once
// The bytes of a backup: the values a change is about to replace, exactly as
// the registry holds them, so that importing the file restores the registry
// as it was; and, on comment lines, the keys the change creates. REGEDIT4
// unless a value's text is in the registry's wide form (ExactRegValue): then
// the registry editor's Unicode form, the whole file in UTF-16LE after a
// byte-order mark, text values as hex(N) of their UTF-16LE bytes. Profiles
// that export writes are registry files of the same form.
#include "platform/NewFile.h"
#include "platform/Registry.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace backup {

// The key is shared: a backup of many values of a key holds it once.
struct FileValue {
    platform::SharedKeyPath key;
    std::string name;
    std::optional<platform::ExactRegValue> value; // empty: "name"=-, which removes it on import
    std::vector<std::string> comments;            // lines before the value line
};

enum class Layout {
    // The backup of one save: "REGEDIT4", "[key]" and the value line, then
    // each created key's comment, CR LF between lines and none after the
    // last, as the registry editor's own export of one value reads.
    OneValue,
    // Values grouped by key in the order the keys are first named, a blank
    // line before each key and before the created keys' comments, CR LF after
    // every line.
    Grouped,
};

// A value of a grouped file read where its holder keeps it: a change's backup
// reads many from the change's plan, where a FileValue of each would hold
// them all twice.
struct FileValueView {
    const platform::RegKeyPath* key = nullptr;
    std::string_view name;
    const platform::ExactRegValue* value = nullptr;        // null: "name"=-
    const std::vector<std::string>* comments = nullptr; // null: none
};

// The values of a grouped file, by place.
class FileValues {
public:
    virtual std::size_t Count() const = 0;
    virtual FileValueView At(std::size_t place) const = 0;

protected:
    ~FileValues() = default;
};

// `createdKeys` as a key line spells them, without brackets; `closing`, the
// comment lines that end a grouped file after a blank line (a profile's note
// of what it left out).
std::string FileBytes(const std::vector<FileValue>& values, const std::vector<std::string>& createdKeys,
                      Layout layout, const std::vector<std::string>& closing = {});

// The bytes of a grouped file handed to `write` as they are made, whole lines
// of a bounded buffer at a time: besides that buffer, it holds a few numbers
// for each value and something for each key, never a copy of a value.
void WriteGroupedBytes(const FileValues& values, const std::vector<std::string>& createdKeys,
                       const std::vector<std::string>& closing, const platform::WritePiece& write);

// The key as a key line names it, without the brackets: the root's name,
// then the key names with single separators.
std::string KeyText(const platform::RegKeyPath& key);

// The key that a backup's comment line says its change created; nothing for
// any other line. A backup never deletes a key itself: what others write
// below a created key after the change must survive restoring it.
std::optional<platform::RegKeyPath> CreatedKeyOf(std::string_view comment);

} // namespace backup
