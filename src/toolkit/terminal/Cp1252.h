#pragma once
// The code page is portable toolkit code now; the terminal's files still name
// it here.
#include "toolkit/Cp1252.h"
