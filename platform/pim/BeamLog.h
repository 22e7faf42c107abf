// Contacts sent through the infrared folder. The simulated phone has no infrared port:
// a send is recorded here (and traced) so that scripts and tests can see what was beamed.
#pragma once

#include "ce/cedbtypes.h"

#include <mutex>
#include <string>
#include <vector>

namespace platform {

struct BeamedContact {
    CEOID oid;
    std::u16string name; // FILEAS at the time of the send
};

class BeamLog {
public:
    static BeamLog& Instance();

    void Record(BeamedContact contact);
    // Everything beamed since the last call, oldest first; the log is emptied.
    std::vector<BeamedContact> Drain();
    void Clear();

private:
    std::mutex m_mutex;
    std::vector<BeamedContact> m_beamed;
};

} // namespace platform
