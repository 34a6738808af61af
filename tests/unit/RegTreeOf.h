#pragma once
// The tree a REGEDIT4 text stands for, comments kept; a text that does not
// parse or apply is a test failure and gives what was applied so far.
#include "regfile/RegFile.h"
#include "regfile/RegistryTree.h"

#include <gtest/gtest.h>

#include <string>

inline regfile::RegistryTree TreeOf(const std::string& text)
{
    regfile::RegistryTree tree;
    const auto document = regfile::ParseRegFile(text, "registry.reg");
    if (!document) {
        ADD_FAILURE() << document.Error().Message();
        return tree;
    }
    EXPECT_TRUE(regfile::ApplyRegFile(document.Value(), tree, regfile::RegFileComments::Keep));
    return tree;
}
