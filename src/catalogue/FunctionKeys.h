#pragma once
// How the translation file and the catalogue number the functions: function i
// has the key 10000 + 10·i, its name at the key, its hint at +1 and its info
// text at +2.

namespace catalogue {

constexpr int FirstFunction = 10000;
constexpr int FunctionKey(int index) { return FirstFunction + 10 * index; }
// The first name that reads exactly so ends the list of functions.
inline constexpr const char* EndOfFunctions = "End of functions";

// The entries of the category filter that judge the catalogue: 0 lists
// every function.
constexpr int CategoryCount = 6;
// The entry after them, there when the installation has Windows' defaults:
// the functions whose value differs from the default.
constexpr int ChangedCategory = CategoryCount;

} // namespace catalogue
