#pragma once
// One function as JSON, the same on an installation in any language apart
// from its `name` and `shown`: list and get print it, and a field to add goes
// here.
#include "cli/Functions.h"
#include "cli/JsonFields.h"

namespace cli {

// {key, name, kind, category, path, value_name, value, data, shown, type}:
// `value` the registry's data in a form no language changes (a switch "on"
// or "off", a number a JSON number, a text its string), `data` as a registry
// file writes it, `shown` what the option panel shows; all three null when
// the registry holds no value. The object stays open for more fields.
void AppendFunctionJson(JsonFields& item, const Functions& functions, const Function& function,
                        const FunctionValue& value);

} // namespace cli
