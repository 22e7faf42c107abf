#include "gdi/GdiObjectTable.h"

namespace platform {

GdiObjectTable& GdiObjectTable::Instance() {
    static GdiObjectTable table;
    return table;
}

} // namespace platform
