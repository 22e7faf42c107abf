#include "kernel/HandleTable.h"

namespace platform {

HandleTable& HandleTable::Instance() {
    static HandleTable table;
    return table;
}

} // namespace platform
