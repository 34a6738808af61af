#pragma once
// What every command works with, and the commands themselves.
#include "changes/CarryOut.h"
#include "changes/ChangeSet.h"
#include "cli/Arguments.h"
#include "cli/EnglishTexts.h"
#include "cli/Functions.h"
#include "cli/Output.h"
#include "i18n/Translation.h"
#include "platform/Registry.h"
#include "util/Path.h"
#include "util/PowerClass.h"

#include <istream>
#include <optional>
#include <string>

namespace cli {

struct Context {
    const Invocation& call;
    platform::IRegistry& registry;
    std::string folder; // the installation
    Output& out;
    const i18n::CTranslation& translation;
    std::string translationFault; // why the translation is not loaded; empty when it is
    const EnglishTexts& english;
    std::istream* in; // standard input, for apply -
    util::PowerClass power;
};

// The installation's functions; none when they cannot be read, which is told.
std::optional<Functions> LoadFunctions(Context& context);
// The same, the message not yet told.
platform::Result<Functions, std::string> ReadFunctions(const Context& context);

// Plans the change, then writes its backup, named after `name`, and applies
// it; with `check`, only tells what would change. The exit status.
int CarryOut(Context& context, const changes::ChangeSet& changes, const std::string& name, bool check);

// The function named by its key or by its name; none, which is told, when no
// function is.
const Function* NamedFunction(Context& context, const Functions& functions, const std::string& keyOrName);

// Tells why a function's value cannot be read.
void TellValueFault(Context& context, const ValueFault& fault);

int ListFunctions(Context& context);
int GetFunction(Context& context);
int SetFunction(Context& context);
int ExportProfile(Context& context);
int ShowHistory(Context& context);
int RestoreBackup(Context& context);
int UndoSince(Context& context);
int ApplyProfile(Context& context);
int ResetFunctions(Context& context);

} // namespace cli
