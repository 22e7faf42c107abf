// The thread that fills the face views of a contact list. The list page hands it the rows
// it shows (copied under the list's lock); the thread loads each record's picture at the
// face size into ContactRecord::picture (ContactRecord::NoPictureMark() when the contact
// has none) and posts `message` (wParam = row, lParam = record) to the page so that it
// repaints the row.
//
// Ownership: the loader owns every picture it stored; a record's slot only borrows it. The
// page calls DropPicture when a contact changed, DropPictures on CRVM_CONTACTSRELOAD (the
// cache may have freed its records) and before it goes; the destructor stops the thread and
// drops the pictures too, so the core object must outlive the loader.
//
// Locks, always taken in this order: the core object's lock (a record is read only while
// the cache still holds it), the list's lock (slots are written under it, so the page reads
// them under it), the loader's own.
#pragma once

#include "common/ContactRecord.h"
#include "corlist/image/Image.h"

#include "ce/types.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace common {
class CoreObject;
}

namespace corlist {

class PictureLoader {
public:
    struct Row {
        size_t row = 0;
        common::ContactRecord* record = nullptr;
    };

    PictureLoader(common::CoreObject& core, std::mutex& listLock, HWND owner, UINT message, SIZE face);
    ~PictureLoader();
    PictureLoader(const PictureLoader&) = delete;
    PictureLoader& operator=(const PictureLoader&) = delete;

    // Starts the thread; true when it runs.
    bool Start();
    // Ends the thread after the picture it is loading; the pictures stay.
    void Stop();
    // The rows shown now; replaces the rows given before. Rows whose record has a picture
    // or the no-picture mark are skipped.
    void ShowRows(std::vector<Row> rows);
    // Frees the record's picture (and forgets a no-picture mark); the rows shown are looked
    // at again, so it is loaded again.
    void DropPicture(common::ContactRecord& record);
    // Frees every picture, clears the slots of the records the cache still holds and forgets
    // the rows (they may name freed records): the page hands its rows again.
    void DropPictures();

    size_t PictureCount() const;
    // True while the thread has rows left to look at.
    bool Busy() const;

private:
    static DWORD WINAPI ThreadMain(LPVOID self);
    void Loop();
    bool NextRow(Row& row);
    void LoadRow(const Row& row);
    void ForgetPicture(common::ContactRecord& record);
    bool IsCached(const common::ContactRecord* record) const;
    void Store(const Row& row, std::unique_ptr<Image> image, uint64_t drops);

    common::CoreObject& m_core;
    std::mutex& m_listLock;
    HWND m_owner;
    UINT m_message;
    SIZE m_face;

    HANDLE m_thread = nullptr;
    HANDLE m_wake = nullptr; // auto-reset: rows arrived or the thread must end
    mutable std::mutex m_mutex; // guards what follows
    bool m_stop = false;
    std::vector<Row> m_rows;
    size_t m_next = 0;
    bool m_loading = false;
    // Counts DropPicture and DropPictures: a picture decoded across one is stale.
    uint64_t m_drops = 0;
    // The pictures stored in slots, by their address.
    std::unordered_map<const void*, std::unique_ptr<Image>> m_pictures;
};

} // namespace corlist
