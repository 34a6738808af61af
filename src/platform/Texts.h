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

namespace tk {

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

} // namespace tk
