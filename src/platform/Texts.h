#pragma once
// The messages of every layer that the translation file's keys do not give
// the main window: each has a key of the translation file and its English
// text, which stands whenever the loaded language lacks the key, so that a
// translation file of an older version still shows every message.
//
// Each folder keeps its own messages in its Texts.h, in a range of keys of
// its own (README, "Translating the messages"). %1 to %9 in a text take the
// arguments of Text in any order the translation needs.
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

struct TextId {
    int key;
    std::string_view english;
};

// The text that the loaded translation holds for a key, if any.
using TextLookup = std::function<std::optional<std::string>(int key)>;

// Installs where texts come from for the lifetime of the object, and restores
// the previous source afterwards. Without one every text is English.
class ScopedTextLookup {
public:
    explicit ScopedTextLookup(TextLookup lookup);
    ~ScopedTextLookup();
    ScopedTextLookup(const ScopedTextLookup&) = delete;
    ScopedTextLookup& operator=(const ScopedTextLookup&) = delete;

private:
    TextLookup previous_;
};

// The text in the loaded language, its placeholders replaced by `args`: %1
// is the first. A placeholder without an argument stays as it is; "%%" is
// one percent sign.
std::string Text(const TextId& id, std::initializer_list<std::string_view> args = {});

// The same replacement on a text already looked up.
std::string FormatText(std::string_view text, std::initializer_list<std::string_view> args);

// The platform's own messages (keys 1000-1049): what went wrong with a file.
// A cause follows the file's name: "FILE": is read-only.
namespace text {

inline constexpr TextId CannotCreateFile{1000, "cannot create the file"};
inline constexpr TextId LinkUnreadable{1001, "the link cannot be read"};
inline constexpr TextId LinksEndless{1002, "the chain of links does not end"};
inline constexpr TextId NotRegularNotReplaced{1003, "is not a regular file and is not replaced"};
inline constexpr TextId IsReadOnly{1004, "is read-only"};
inline constexpr TextId CannotCreateTemporary{1005, "cannot create a temporary file beside it"};
inline constexpr TextId CannotKeepOwner{1006, "cannot give the new file the old one's owner"};
inline constexpr TextId CannotKeepPermissions{1007, "cannot give the new file the old one's permissions"};
inline constexpr TextId CannotReplace{1008, "cannot replace"};
inline constexpr TextId CannotWrite{1009, "cannot write"};
inline constexpr TextId CannotFlush{1010, "cannot flush to disk"};
inline constexpr TextId CannotOpenForReading{1011, "cannot open the file for reading"};
inline constexpr TextId CannotExamine{1012, "cannot examine the file"};
inline constexpr TextId NotRegular{1013, "is not a regular file"};
inline constexpr TextId CannotReadFile{1014, "cannot read the file"};
inline constexpr TextId TooLarge{1015, "is larger than %1, the most a data file may hold"};
inline constexpr TextId LinkCannotFollow{1016, "the link cannot be followed"};

} // namespace text

} // namespace platform
