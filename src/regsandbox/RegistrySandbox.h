#pragma once
// The registry of one scripted run, kept apart from the machine's: while a
// sandbox is redirecting, the five standard roots of this process lead into
// a key of its own below HKEY_CURRENT_USER\Software\Tunewright Script, so the
// real registry functions work on it, runs side by side never meet, and the
// machine's registry stays as it was. The key goes with the object.
#include "regfile/RegistryTree.h"

#include <memory>

namespace regsandbox {

class RegistrySandbox {
public:
    // Throws CException when the sandbox cannot be made.
    RegistrySandbox();
    ~RegistrySandbox();
    RegistrySandbox(const RegistrySandbox&) = delete;
    RegistrySandbox& operator=(const RegistrySandbox&) = delete;

    // Puts every key and value of the tree into the sandbox; throws
    // CException naming the key that could not be written.
    void Load(const regfile::RegistryTree& tree);
    // From now until the object goes, the roots lead into the sandbox.
    void Redirect();
    // Every key and value the sandbox holds now; no comments.
    regfile::RegistryTree Contents() const;

private:
    struct Keys;
    std::unique_ptr<Keys> keys_;
};

} // namespace regsandbox
