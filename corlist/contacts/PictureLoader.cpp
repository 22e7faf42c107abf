#include "corlist/contacts/PictureLoader.h"

#include "common/CoreObject.h"
#include "corlist/contacts/ContactItem.h"
#include "corlist/contacts/ContactPicture.h"
#include "corlist/image/ImageTypes.h"

#include "ce/kernel.h"
#include "ce/objbase.h"
#include "ce/user.h"

namespace corlist {

PictureLoader::PictureLoader(common::CoreObject& core, Page page, SIZE face)
    : m_core(core), m_page(std::move(page)), m_face(face) {}

PictureLoader::~PictureLoader() {
    Stop();
    DropPictures();
}

bool PictureLoader::Start() {
    if (m_thread)
        return true;
    if (!m_wake && !(m_wake = CreateEventW(nullptr, FALSE, FALSE, nullptr)))
        return false;
    {
        std::lock_guard lock(m_mutex);
        m_stop = false;
    }
    m_thread = CreateThread(nullptr, 0, ThreadMain, this, 0, nullptr);
    return m_thread != nullptr;
}

void PictureLoader::Stop() {
    if (m_thread) {
        {
            std::lock_guard lock(m_mutex);
            m_stop = true;
        }
        SetEvent(m_wake);
        WaitForSingleObject(m_thread, INFINITE);
        CloseHandle(m_thread);
        m_thread = nullptr;
    }
    if (m_wake) {
        CloseHandle(m_wake);
        m_wake = nullptr;
    }
}

void PictureLoader::ShowRows(std::vector<Row> rows) { Replace(std::move(rows), false); }

void PictureLoader::ShowRange(size_t first, size_t count) {
    std::vector<Row> rows(count);
    for (size_t i = 0; i < count; ++i)
        rows[i].row = first + i;
    Replace(std::move(rows), true);
}

void PictureLoader::Replace(std::vector<Row> rows, bool byIndex) {
    {
        std::lock_guard lock(m_mutex);
        m_rows = std::move(rows);
        m_byIndex = byIndex;
        m_next = 0;
    }
    if (m_wake)
        SetEvent(m_wake);
}

void PictureLoader::DropPicture(common::ContactRecord& record) {
    ForgetPicture(record);
    // The rows shown are looked at again, so the picture comes back.
    if (m_wake)
        SetEvent(m_wake);
}

void PictureLoader::ForgetPicture(common::ContactRecord& record) {
    common::CoreLockGuard core(m_core.ItemLock());
    auto list = LockList();
    std::lock_guard lock(m_mutex);
    ++m_drops;
    m_next = 0;
    if (record.picture == common::ContactRecord::NoPictureMark()) {
        record.picture = nullptr;
        return;
    }
    auto found = m_pictures.find(record.picture);
    if (found == m_pictures.end())
        return;
    record.picture = nullptr;
    m_pictures.erase(found);
}

void PictureLoader::DropPictures() {
    common::CoreLockGuard core(m_core.ItemLock());
    auto list = LockList();
    std::lock_guard lock(m_mutex);
    ++m_drops;
    // The rows may name records the cache freed; the page hands its rows again.
    m_rows.clear();
    m_next = 0;
    common::ContactDirectory& directory = m_core.Directory();
    for (size_t i = 0, count = directory.ContactCount(); i < count; ++i) {
        common::ContactRecord* record = directory.ContactAt(i);
        if (record && m_pictures.count(record->picture))
            record->picture = nullptr;
    }
    m_pictures.clear();
}

size_t PictureLoader::PictureCount() const {
    std::lock_guard lock(m_mutex);
    return m_pictures.size();
}

bool PictureLoader::Busy() const {
    std::lock_guard lock(m_mutex);
    return m_loading || m_next < m_rows.size();
}

DWORD WINAPI PictureLoader::ThreadMain(LPVOID self) {
    CoInitializeEx(nullptr, 0);
    try {
        static_cast<PictureLoader*>(self)->Loop();
    } catch (...) {
        // Nothing leaves a thread body; the faces not loaded stay default faces.
        OutputDebugStringW(u"Corlist: fault in the picture loader\n");
    }
    CoUninitialize();
    return 0;
}

void PictureLoader::Loop() {
    for (;;) {
        Row row;
        bool byIndex = false;
        while (NextRow(row, byIndex)) {
            try {
                if (byIndex ? ReadRow(row) : row.record != nullptr)
                    LoadRow(row);
            } catch (...) {
                // Out of memory for one picture: its face stays the default one.
                OutputDebugStringW(u"Corlist: a picture could not be loaded\n");
            }
            std::lock_guard lock(m_mutex);
            m_loading = false;
        }
        {
            std::lock_guard lock(m_mutex);
            if (m_stop)
                return;
        }
        WaitForSingleObject(m_wake, INFINITE);
        std::lock_guard lock(m_mutex);
        if (m_stop)
            return;
    }
}

bool PictureLoader::NextRow(Row& row, bool& byIndex) {
    std::lock_guard lock(m_mutex);
    if (m_stop || m_next >= m_rows.size())
        return false;
    row = m_rows[m_next++];
    byIndex = m_byIndex;
    m_loading = true;
    return true;
}

std::unique_lock<std::mutex> PictureLoader::LockList() const {
    return m_page.lock ? m_page.lock() : std::unique_lock<std::mutex>();
}

bool PictureLoader::ReadRow(Row& row) {
    if (!m_page.record)
        return false;
    auto list = LockList();
    row.record = m_page.record(row.row);
    return row.record != nullptr;
}

void PictureLoader::LoadRow(const Row& row) {
    std::vector<BYTE> bytes;
    uint64_t drops;
    {
        common::CoreLockGuard core(m_core.ItemLock());
        {
            std::lock_guard lock(m_mutex);
            drops = m_drops;
        }
        if (!row.record || !IsCached(m_core.Directory(), row.record) || row.record->picture)
            return;
        bytes = ReadContactPicture(m_core, *row.record);
    }
    // Decoding runs without a lock: the page and the cache go on meanwhile.
    auto image = std::make_unique<Image>();
    if (DecodeContactPicture(bytes, m_face.cx, m_face.cy, *image) != kImageOk)
        image.reset();
    Store(row, std::move(image), drops);
}

void PictureLoader::Store(const Row& row, std::unique_ptr<Image> image, uint64_t drops) {
    {
        common::CoreLockGuard core(m_core.ItemLock());
        // The cache may have dropped the record, or the page dropped its pictures, while the
        // picture was decoded.
        if (!IsCached(m_core.Directory(), row.record) || row.record->picture)
            return;
        auto list = LockList();
        std::lock_guard lock(m_mutex);
        if (drops != m_drops)
            return;
        if (!image) {
            row.record->picture = common::ContactRecord::NoPictureMark();
            return;
        }
        row.record->picture = image.get();
        m_pictures.emplace(image.get(), std::move(image));
    }
    PostMessageW(m_page.window, m_page.message, WPARAM(row.row), reinterpret_cast<LPARAM>(row.record));
}

} // namespace corlist
