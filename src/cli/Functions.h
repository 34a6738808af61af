#pragma once
// The functions of the installation as the main window knows them: names from
// the translation, blocks from the catalogue, and each one's value read as
// the option panel reads and shows it.
#include "catalogue/Catalogue.h"
#include "catalogue/OptionPanel.h"
#include "i18n/Translation.h"
#include "platform/Registry.h"
#include "platform/Result.h"
#include "util/PowerClass.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

struct Function {
    int index = 0;
    int key = 0;
    std::string name;
};

class Functions {
public:
    // The names from the loaded translation, the catalogue from the
    // application folder. Throws platform::CFileException naming the catalogue
    // when it cannot be read.
    Functions(const i18n::CTranslation& translation, const std::string& applicationFolder);

    const std::vector<Function>& All() const { return functions_; }
    // By its key, or by its name with letter case ignored: the first of two
    // with one name, as the window shows the first.
    const Function* Find(const std::string& keyOrName) const;
    // Those that the category filter's entry lists, in order.
    std::vector<const Function*> InCategory(int category) const;
    // The entry of the filter that lists the function by its group: 1 or 2,
    // as the filter judges it; none when its header cannot say.
    std::optional<int> GroupCategory(const Function& function) const;
    // The block the option panel ends with: the last one with its key.
    std::optional<catalogue::FunctionBlock> Block(const Function& function) const;

private:
    std::vector<Function> functions_;
    catalogue::CatalogueBlocks blocks_;
    std::vector<std::string_view> headers_; // of blocks_' lines
};

// A function's value as the option panel reads and shows it, with the value
// as the registry holds it.
struct FunctionValue {
    std::optional<catalogue::FunctionBlock> block;
    const catalogue::KindRow* row = nullptr;            // null: no block, or no kind
    catalogue::PanelValue panel;                        // a kind that stores a value
    std::optional<platform::ExactRegValue> stored; // empty when the registry holds none; exact, in its wide form
                                             // when the code page cannot carry its text
    std::string shown;                       // the text the panel shows
};

// A text of the value as the panel shows it (`shown`, the number or the
// path), in UTF-8. The panel shows "?" for a character of the registry's
// text that the code page lacks; where the text is that, the registry's own
// text instead.
std::string ExactUtf8(const FunctionValue& value, const std::string& text);

// The registry could not say what the value is.
struct ValueFault {
    std::string valueName;
    std::string keyPath;
    platform::RegFault error = platform::RegError::StoreBroken;
};

platform::Result<FunctionValue, ValueFault> ReadFunctionValue(const Functions& functions, const Function& function,
                                                        const i18n::CTranslation& translation, util::PowerClass& power);

// Tells the registry the values that ReadFunctionValue will read of these
// functions, before it reads them one by one.
void ReadAheadValues(const Functions& functions, const std::vector<const Function*>& chosen,
                     platform::IRegistry& registry);

// The key of a key path as a registry file's key line names it, with single
// separators; the path as it is when it names no root the program writes.
std::string KeyPathText(const std::string& keyPath);

// "REG_SZ", "REG_DWORD", ...
std::string TypeName(platform::RegType type);

} // namespace cli
