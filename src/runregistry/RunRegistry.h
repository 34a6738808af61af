#pragma once
// What the headless driver does differently on each platform: where the
// registry of a run lies, and how standard input and output carry bytes.
#include "platform/Registry.h"

#include <memory>
#include <string>

class ScriptRegistry {
public:
    virtual ~ScriptRegistry() = default;
    virtual tk::IRegistry& Registry() = 0;
    // After the run: what the run changed is kept.
    virtual void Finish() = 0;
};

// `file` is the --registry option, empty when none was given. Throws
// tk::CException when that registry cannot be used.
std::unique_ptr<ScriptRegistry> OpenScriptRegistry(const std::string& file, const std::string& appFolder);

// Commands and events pass byte for byte: no line ends are converted.
void UseBinaryStandardStreams();
