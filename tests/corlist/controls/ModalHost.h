// A control host on a booted device for tests of modal pop-ups: the test queues what the
// user does, and the actions run inside the pop-up's own message loop once it is open.
#pragma once

#include "../skin/SkinDevice.h"

#include "corlist/controls/ControlHost.h"
#include "corlist/skin/Skin.h"

#include <functional>
#include <string>

namespace controltest {

class ModalHost : public skintest::SkinDevice {
protected:
    // Loads `description` as the skin and opens a host showing its "Main" control.
    void Open(const char* description);
    void TearDown() override;

    // Queues a tap at a point of the screen, a key release, or any check.
    void QueueTap(POINT point);
    void QueueKey(WPARAM key);
    void Queue(std::function<void()> action);
    // Posts the queue so that the loop entered next runs it.
    void StartQueue();
    // Paints the screen and the pop-up over it into the host's surface and compares it with
    // the golden picture NAME.
    void ExpectPaintedMatches(const char* name, int tolerance = 24, int allowed = 40);

    corlist::Skin m_skin;
    HWND m_parent = nullptr;
    corlist::ControlHost m_host;
};

} // namespace controltest
