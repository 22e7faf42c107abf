// The rows a page gives when it builds a screen: which skin element (kind and name) becomes
// the control with which number, the string that labels it, and the rows of its children.
#pragma once

#include "ce/types.h"

#include <cstdint>

namespace corlist {

struct ControlTableRow {
    uint32_t kind = 0; // 0 ends the table
    const char* name = nullptr; // null matches an unnamed element only
    UINT number = 0;
    UINT label = 0; // string number, 0 for none
    const ControlTableRow* children = nullptr; // null: the same table for the children
};

// The row of `table` for a node of `kind` named `name` (ignoring case), or null.
const ControlTableRow* FindControlRow(const ControlTableRow* table, uint32_t kind, const char* name);

} // namespace corlist
