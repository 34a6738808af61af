#include "cli/CommandLine.h"

#include "cli/Context.h"
#include "cli/Texts.h"
#include "platform/Exceptions.h"
#include "platform/FileSystem.h"
#include "platform/Services.h"
#include "util/Path.h"

#include <array>
#include <filesystem>
#include <optional>

namespace cli {

namespace {

// The program believes it lies in the installation folder, under this name.
constexpr const char* kProgramName = "tunewright-cli";
// As the Windows program's version information gives it.
constexpr const char* kVersion = "3.00";

bool Exists(const std::string& path)
{
    std::error_code ignored;
    return std::filesystem::exists(std::filesystem::path(path), ignored);
}

// The translation of the installation when it can be loaded, its messages
// with it; English otherwise.
class Texts {
public:
    Texts(const std::string& folder, platform::IRegistry* registry, platform::IClock& clock)
        : services_(platform::Services{registry, nullptr, &clock, util::JoinPath(folder, kProgramName)}),
          lookup_([this](int key) { return loaded_ ? translation_.Find(key) : std::nullopt; })
    {
        try {
            translation_.Load();
            loaded_ = true;
        } catch (const platform::CException& e) {
            fault_ = e.what();
        }
    }

    const i18n::CTranslation& Translation() const { return translation_; }
    const std::string& Fault() const { return fault_; }

private:
    platform::ScopedServices services_;
    i18n::CTranslation translation_;
    bool loaded_ = false;
    std::string fault_;
    platform::ScopedTextLookup lookup_;
};

void PrintHelp(Output& out)
{
    static constexpr std::array kLines{&text::HelpUsage, &text::HelpIntro,  &text::HelpAppFolder, &text::HelpRegistry,
                                       &text::HelpNow,   &text::HelpJson,   &text::HelpList,      &text::HelpGet,
                                       &text::HelpSet,   &text::HelpHistory, &text::HelpRestore,  &text::HelpUndo,
                                       &text::HelpExport, &text::HelpApply, &text::HelpReset,     &text::HelpVersion,
                                       &text::HelpNotes,  &text::HelpMinute, &text::HelpDefaults, &text::HelpStatus};
    for (const platform::TextId* line : kLines)
        out.Line(platform::Text(*line));
}

// A command that only reads sees one version of the registry throughout, as
// a listing should, and asks for it once rather than for each value.
int ReadingOneVersion(Context& context, int (*command)(Context&))
{
    int result = kFailed;
    context.registry.AsOneVersion([&] { result = command(context); });
    return result;
}

int Dispatch(Context& context)
{
    switch (context.call.command) {
    case Command::Help:
    case Command::Version: PrintHelp(context.out); return kDone;
    case Command::List: return ReadingOneVersion(context, ListFunctions);
    case Command::Get: return ReadingOneVersion(context, GetFunction);
    case Command::Set: return SetFunction(context);
    case Command::History: return ReadingOneVersion(context, ShowHistory);
    case Command::Restore: return RestoreBackup(context);
    case Command::Undo: return UndoSince(context);
    case Command::Export: return ReadingOneVersion(context, ExportProfile);
    case Command::Apply: return ApplyProfile(context);
    case Command::Reset: return ResetFunctions(context);
    }
    return kBadUsage;
}

} // namespace

platform::Result<Functions, std::string> ReadFunctions(const Context& context)
{
    if (!context.translationFault.empty())
        return platform::Text(text::FunctionsUnreadable, {context.translationFault});
    try {
        return Functions(context.translation, context.folder);
    } catch (const platform::CException& e) {
        return platform::Text(text::FunctionsUnreadable, {e.what()});
    }
}

std::optional<Functions> LoadFunctions(Context& context)
{
    auto functions = ReadFunctions(context);
    if (functions)
        return std::move(functions.Value());
    context.out.Error(functions.Error());
    return std::nullopt;
}

int RunCommandLine(const std::vector<std::string>& args, const Host& host)
{
    const ParsedArguments parsed = ParseArguments(args);
    const Invocation& call = parsed.call;
    Output out(call.json, host.out, host.err);
    const std::string folder = call.appFolder.empty() ? host.programFolder : platform::FullPath(call.appFolder);
    platform::SystemClock systemClock;
    std::optional<platform::FixedClock> fixedClock;
    if (call.now)
        fixedClock.emplace(*call.now);
    platform::IClock& clock = fixedClock ? static_cast<platform::IClock&>(*fixedClock) : systemClock;

    if (call.command == Command::Version && !parsed.fault) {
        // Not translated: scripts compare it.
        out.Line(std::string(kProgramName) + " " + kVersion);
        return kDone;
    }
    if (parsed.fault || call.command == Command::Help) {
        const Texts texts(folder, nullptr, clock);
        if (!parsed.fault) {
            PrintHelp(out);
            return kDone;
        }
        std::vector<std::string_view> named(parsed.fault->args.begin(), parsed.fault->args.end());
        std::string message = platform::Text(parsed.fault->message);
        // At most two things are named; Text takes them as a list.
        if (named.size() == 1)
            message = platform::Text(parsed.fault->message, {named[0]});
        else if (named.size() >= 2)
            message = platform::Text(parsed.fault->message, {named[0], named[1]});
        out.Error(message);
        out.Error(platform::Text(text::HelpMore));
        return kBadUsage;
    }
    if (!platform::IsFolder(folder)) {
        const Texts texts(folder, nullptr, clock);
        out.Error(platform::Text(Exists(folder) ? text::FolderIsFile : text::NoSuchFolder, {folder}));
        return kFailed;
    }
    // A store that is not there is a mistake, not an empty registry: a run
    // would read nothing and a change would make a new store of one value.
    if (const auto store = host.registryFile ? host.registryFile(call.registryFile, folder) : std::nullopt;
        store && !Exists(*store)) {
        const Texts texts(folder, nullptr, clock);
        out.Error(platform::Text(text::NoStore, {*store}));
        return kFailed;
    }
    try {
        platform::IRegistry& registry = host.openRegistry(call.registryFile, folder);
        const Texts texts(folder, &registry, clock);
        const EnglishTexts english{util::PowerClass()};
        Context context{call, registry, folder, out, texts.Translation(), texts.Fault(), english, host.in, util::PowerClass()};
        return Dispatch(context);
    } catch (const platform::CException& e) {
        out.Error(e.what());
        return kFailed;
    }
}

} // namespace cli
