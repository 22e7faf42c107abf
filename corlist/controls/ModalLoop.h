// The nested message loop of pop-ups: it runs until the pop-up ends, and gives way (result
// kModalInterrupted) to a request that must reach the frame or the main thread, which it
// posts again so that they see it once the pop-up is closed.
#pragma once

#include "ce/types.h"

namespace corlist {

class Control;
class ControlOwner;

// The frame's own destroy request, re-posted to the window it came for.
constexpr UINT kDestroyFrameMessage = 0x7F9A;
// The thread messages of page requests and wake-ups, re-posted to the thread.
constexpr UINT kFirstPageRequestMessage = 0x8200;
constexpr UINT kLastPageRequestMessage = 0x8206;

// Shows `popup` as `owner`'s modal layer until it calls EndModal or the loop is interrupted;
// returns its result. A WM_QUIT ends the loop (result 0) and is posted again for the
// thread's own loop.
int RunModalLoop(ControlOwner& owner, Control& popup);

} // namespace corlist
