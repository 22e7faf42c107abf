// The thread that fills the face views of a contact list. The list page tells it which rows
// it shows: as rows copied under the list's lock (ShowRows), or as a range of row indexes
// that the thread reads through the page's row reader with the list's lock held
// (ShowRange). The thread loads each record's picture at the face size into
// ContactRecord::picture (a corlist::Image*, or ContactRecord::NoPictureMark() when the
// contact has none) and posts the page's message (wParam = row, lParam = record) so that it
// repaints the row.
//
// Ownership: the loader owns every picture it stored; a record's slot only borrows it. The
// page calls DropPicture when a contact changed, DropPictures on CRVM_CONTACTSRELOAD (the
// cache may have freed its records) and before it goes; the destructor stops the thread and
// drops the pictures too, so the core object must outlive the loader.
//
// Locks, always taken in this order: the core object's lock (a record is read only while
// the cache still holds it), the list's lock (slots are written under it, so the page reads
// them under it), the loader's own. The page calls the loader without holding the list's
// lock.
#pragma once

#include "common/ContactRecord.h"
#include "corlist/image/Image.h"

#include "ce/types.h"

#include <cstdint>
#include <functional>
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
    // What the loader needs of its page.
    struct Page {
        // Gets `message` once per picture stored.
        HWND window = nullptr;
        UINT message = 0;
        // Takes the list's lock (the list model's Lock()).
        std::function<std::unique_lock<std::mutex>()> lock;
        // The contact shown at a row, or null (no such row, or no contact); called with the
        // list's lock held. Only ShowRange needs it.
        std::function<common::ContactRecord*(size_t row)> record;
    };

    PictureLoader(common::CoreObject& core, Page page, SIZE face);
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
    // The same for the rows first..first+count-1, read through the page's row reader.
    void ShowRange(size_t first, size_t count);
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
    void Replace(std::vector<Row> rows, bool byIndex);
    bool NextRow(Row& row, bool& byIndex);
    // The list's lock; none when the page gave no lock function.
    std::unique_lock<std::mutex> LockList() const;
    // Reads the record of a row given by index through the page's row reader.
    bool ReadRow(Row& row);
    void LoadRow(const Row& row);
    void ForgetPicture(common::ContactRecord& record);
    void Store(const Row& row, std::unique_ptr<Image> image, uint64_t drops);

    common::CoreObject& m_core;
    Page m_page;
    SIZE m_face;

    HANDLE m_thread = nullptr;
    HANDLE m_wake = nullptr; // auto-reset: rows arrived or the thread must end
    mutable std::mutex m_mutex; // guards what follows
    bool m_stop = false;
    std::vector<Row> m_rows;
    // m_rows hold row indexes only: the records come from the page's row reader.
    bool m_byIndex = false;
    size_t m_next = 0;
    bool m_loading = false;
    // Counts DropPicture and DropPictures: a picture decoded across one is stale.
    uint64_t m_drops = 0;
    // The pictures stored in slots, by their address.
    std::unordered_map<const void*, std::unique_ptr<Image>> m_pictures;
};

} // namespace corlist
