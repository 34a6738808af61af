// The resource-script reader: any text either parses or is refused with the
// reader's own error, which names the file and a line that exists; no other
// exception ever leaves it. Reading the id header never fails.
//
// Input: the id header, "====\n", the resource script.
#include "FuzzSupport.h"

#include "platform/Exceptions.h"
#include "toolkit/Resources.h"

#include <algorithm>
#include <exception>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto parts = fuzz::Parts(fuzz::AsText(data, size), 2);
    const std::string_view script = parts[1];
    const toolkit::ResourceSymbols symbols = toolkit::ParseResourceSymbols(parts[0]);
    try {
        const toolkit::ResourceScript parsed = toolkit::ParseResourceScript(script, "fuzz.rc", symbols);
        for (const toolkit::DialogTemplate& dialog : parsed.dialogs)
            for (const toolkit::ControlTemplate& control : dialog.controls)
                FUZZ_CHECK(dialog.Find(control.id) != nullptr);
    } catch (const platform::CException& e) {
        const std::string message = e.what();
        const std::string lead = "fuzz.rc, line ";
        FUZZ_CHECK_SAID(message.rfind(lead, 0) == 0, message);
        const std::size_t digits = message.find_first_not_of("0123456789", lead.size());
        FUZZ_CHECK_SAID(digits != lead.size() && digits != std::string::npos && message[digits] == ':', message);
        const long line = std::stol(message.substr(lead.size(), digits - lead.size()));
        FUZZ_CHECK_SAID(line >= 1 && line <= 1 + std::count(script.begin(), script.end(), '\n'), message);
    } catch (const std::exception& e) {
        fuzz::Fail("only the reader's own error leaves it", __FILE__, __LINE__, e.what());
    } catch (...) {
        fuzz::Fail("only the reader's own error leaves it", __FILE__, __LINE__);
    }
    return 0;
}
