#include "corlist/controls/ControlTable.h"

#include <strings.h>

namespace corlist {

const ControlTableRow* FindControlRow(const ControlTableRow* table, uint32_t kind, const char* name) {
    for (const ControlTableRow* row = table; row && row->kind != 0; ++row) {
        if (row->kind != kind)
            continue;
        if (!row->name ? !name : name && strcasecmp(row->name, name) == 0)
            return row;
    }
    return nullptr;
}

} // namespace corlist
