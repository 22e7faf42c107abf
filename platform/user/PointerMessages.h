// System messages whose lParam points into the sender's memory. They can only be sent:
// posted, the pointer would be followed after the sender went on and may have freed it.
#pragma once

#include "ce/user.h"

namespace platform {

// Whether `message` carries a pointer in lParam; an lParam of 0 carries nothing.
bool CarriesPointer(UINT message, LPARAM lParam);

} // namespace platform
