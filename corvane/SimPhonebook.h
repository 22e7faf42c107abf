// The SIM phonebook as the contact cache reads it: the SIM handle, the used locations
// read one by one, deletion, and what to do after an error: a SIM without a usable card
// is left alone until the program ends, one that is not ready yet is read again when the
// phone's "Radio Ready State" changes, any other error is retried after 10 s.
#pragma once

#include "ce/regext.h"
#include "ce/simmgr.h"
#include "ce/user.h"

#include <string>
#include <vector>

namespace corvane {

class SimPhonebook {
public:
    // Timer of the watcher window that retries a failed read.
    static constexpr UINT_PTR kRetryTimer = 563;
    static constexpr UINT kRetryMilliseconds = 10000;
    // Posted to the watcher window when "Radio Ready State" changes (wParam = the value).
    static constexpr UINT kRadioReadyMessage = 0x8210;

    struct Entry {
        DWORD location = 0;
        std::u16string text;
        std::u16string address;
    };

    explicit SimPhonebook(HWND watcher) : m_watcher(watcher) {}
    SimPhonebook(const SimPhonebook&) = delete;
    SimPhonebook& operator=(const SimPhonebook&) = delete;
    ~SimPhonebook() { Close(); }

    // Opens the SIM when needed and reads every used location. On failure the error is
    // handled as described above and returned.
    HRESULT ReadAll(std::vector<Entry>& entries);
    HRESULT Delete(DWORD location);
    // Closes the SIM handle and any watch on the radio state.
    void Close();

    bool Usable() const { return !m_unusable; }
    // Whether a "Radio Ready State" value lets the SIM be read again.
    static bool RadioReady(DWORD value) { return value != 1 && value != 3; }
    // The radio state changed: stops watching it when it lets the SIM be read.
    bool OnRadioReadyChanged(DWORD value);

private:
    HRESULT Open();
    HRESULT ReadLocations(std::vector<Entry>& entries);
    void HandleError(HRESULT error);
    void WatchRadio();

    HWND m_watcher;
    HSIM m_sim = nullptr;
    bool m_unusable = false;
    HREGNOTIFY m_radioWatch = nullptr;
};

} // namespace corvane
