#include "corlist/skin/Skin.h"

#include "common/Settings.h"
#include "common/TextCodec.h"
#include "common/TraceSink.h"
#include "corlist/image/Image.h"
#include "corlist/image/ImageLoader.h"
#include "corlist/image/ImageTypes.h"
#include "corlist/skin/SkinElement.h"
#include "corlist/skin/SkinMetrics.h"
#include "corlist/skin/SkinPath.h"

#include "ce/user.h"

#include <new>
#include <string_view>

namespace corlist {

namespace {

constexpr const char* kWellKnownNames[WellKnownImage::kCount] = {
    "Bkgnd", "FaceL", "SIM", "CallState", "MenuContact", "MenuSendContact", "MenuHistory", "MenuCategories",
};

bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char16_t x = a[i] >= u'a' && a[i] <= u'z' ? char16_t(a[i] - 32) : a[i];
        char16_t y = b[i] >= u'a' && b[i] <= u'z' ? char16_t(b[i] - 32) : b[i];
        if (x != y)
            return false;
    }
    return true;
}

std::string EntryName(LPCWSTR name) {
    return common::WideToUtf8(name ? std::u16string_view(name) : std::u16string_view());
}

} // namespace

Skin::~Skin() {
    ClearSkin();
}

void Skin::ClearSkin() {
    m_tearingDown = true;
    for (SkinImageSlot& slot : m_slots) {
        delete slot.image;
        slot = {};
    }
    // Element objects release their images here; the teardown flag makes that a no-op.
    Clear();
    m_package.Close();
    m_slots.clear();
    m_open.clear();
    m_macros = nullptr;
    m_defaults = nullptr;
    m_inDefaults = false;
    m_colourMask = kColourNone;
    m_vga = 0;
    for (XmlNode*& node : m_wellKnown)
        node = nullptr;
    m_tearingDown = false;
}

std::u16string Skin::BuildPackagePath(LPCWSTR name) const {
    std::u16string folder = m_programFolder.empty() ? RunningProgramFolder() : m_programFolder;
    return corlist::BuildPackagePath(name, folder, GetSystemMetrics(SM_CXSCREEN));
}

bool Skin::Load(LPCWSTR packageName, LPCWSTR descriptionName) {
    ClearSkin();
    std::u16string path = BuildPackagePath(packageName);
    if (!m_package.Open(path.c_str()))
        return false;
    m_slots.assign(size_t(m_package.EntryCount()), SkinImageSlot{});
    common::Stream* description = nullptr;
    int index = -1;
    if (!m_package.OpenEntry(descriptionName ? descriptionName : u"Default.skn", false, &description, &index))
        return false;
    bool read = ReadDescription(*description);
    m_package.CloseEntry(description);
    return read && Root() != nullptr;
}

bool Skin::LoadDescription(common::Stream& description) {
    ClearSkin();
    return ReadDescription(description) && Root() != nullptr;
}

// Registers the types and reads the tree; an exception on the way is reported to the
// user and leaves no skin.
bool Skin::ReadDescription(common::Stream& stream) {
    try {
        m_types.Reset();
        RegisterBuiltInTypes();
        SetCoordinateScale(ScreenCoordinateScale());
        bool loaded = XmlReader::Load(stream);
        m_open.clear();
        return loaded;
    } catch (const std::exception&) {
        m_open.clear();
        Clear();
        MessageBoxW(nullptr, u"Exception in LoadSkin", u"Error", MB_OKCANCEL);
        return false;
    }
}

void Skin::RegisterBuiltInTypes() {
    static constexpr struct {
        const char* name;
        uint32_t kind;
    } kTypes[] = {
        {"application", SkinKind::kApplication}, {"macros", SkinKind::kMacros},
        {"defaults", SkinKind::kDefaults},       {"fill", SkinKind::kFill},
        {"pen", SkinKind::kPen},                 {"color", SkinKind::kColor},
        {"font", SkinKind::kFont},               {"control", SkinKind::kControl},
        {"image", SkinKind::kImage},             {"imgctrl", SkinKind::kImgCtrl},
        {"imageview", SkinKind::kImageView},     {"listview", SkinKind::kListView},
        {"letterbar", SkinKind::kLetterBar},     {"scrollbar", SkinKind::kScrollBar},
        {"grid", SkinKind::kGrid},               {"effect", SkinKind::kEffect},
        {"button", SkinKind::kButton},           {"menu", SkinKind::kMenu},
        {"popupdlg", SkinKind::kPopupDlg},       {"tabctrl", SkinKind::kTabCtrl},
        {"boxctrl", SkinKind::kBoxCtrl},         {"text", SkinKind::kText},
        {"edit", SkinKind::kEdit},               {"slider", SkinKind::kSlider},
        {"dslider", SkinKind::kDSlider},
    };
    for (const auto& type : kTypes)
        m_types.RegisterType(type.kind, type.name);
}

bool Skin::Initialise(common::SettingsRecord& settings) {
    for (XmlNode*& node : m_wellKnown)
        node = nullptr;
    if (!Load(settings.skin, u"Default.skn")) {
        if (EqualsIgnoringCase(settings.skin, u"Default"))
            return false;
        if (!Load(u"", u"Default.skn"))
            return false;
        std::u16string_view fallback = u"Default";
        fallback.copy(settings.skin, fallback.size());
        settings.skin[fallback.size()] = 0;
    }
    FindWellKnownImages();
    return true;
}

void Skin::FindWellKnownImages() {
    for (XmlNode*& node : m_wellKnown)
        node = nullptr;
    XmlNode* root = Root();
    XmlNode* images = root ? FindNode(root->firstChild, "Images", common::kGenericElementKind) : nullptr;
    if (!images)
        return;
    for (XmlNode* child = images->firstChild; child; child = child->nextSibling) {
        for (int number = 0; number < WellKnownImage::kCount; ++number) {
            if (m_wellKnown[number] || !child->name)
                continue;
            if (strcasecmp(child->name, kWellKnownNames[number]) == 0)
                m_wellKnown[number] = child;
        }
    }
}

SkinElement* Skin::WellKnownImage(int number, uint32_t kind) const {
    if (number < 0 || number >= WellKnownImage::kCount || !m_wellKnown[number])
        return nullptr;
    const XmlNode* node = m_wellKnown[number];
    return node->Kind() == kind ? static_cast<SkinElement*>(node->element) : nullptr;
}

const SkinImageSlot* Skin::Slot(int index) const {
    return index >= 0 && size_t(index) < m_slots.size() ? &m_slots[size_t(index)] : nullptr;
}

SkinImageSlot* Skin::AcquireImage(LPCWSTR name, bool loadOptions, bool keep) {
    common::Stream* stream = nullptr;
    int index = -1;
    if (!m_package.OpenEntry(name, keep, &stream, &index))
        return nullptr;
    // A loose file that is not an entry has no slot to share it through.
    if (index < 0 || size_t(index) >= m_slots.size()) {
        m_package.CloseEntry(stream);
        return nullptr;
    }
    SkinImageSlot& slot = m_slots[size_t(index)];
    if (slot.failed || slot.image) {
        ++slot.useCount;
        m_package.CloseEntry(stream);
        return slot.failed ? nullptr : &slot;
    }
    auto* image = new (std::nothrow) Image;
    DWORD result = image ? LoadImageStream(image, stream, name, loadOptions ? kSkinImageLoadOptions : 0, true)
                         : kImageNoMemory;
    // A kept entry's stream stays with the entry; any other one (a loose file's too) goes.
    m_package.CloseEntry(stream);
    if (result != kImageOk) {
        delete image;
        common::TraceLine("\"%s\" loading FAILED \n", EntryName(name).c_str());
        slot.failed = true;
        return nullptr;
    }
    common::TraceLine("\"%s\" loaded\n", EntryName(name).c_str());
    slot.image = image;
    slot.useCount = 1;
    return &slot;
}

void Skin::ReleaseImage(Image* image) {
    if (m_tearingDown || !image)
        return;
    for (size_t index = 0; index < m_slots.size(); ++index) {
        SkinImageSlot& slot = m_slots[index];
        if (slot.image != image)
            continue;
        if (slot.useCount >= 2) {
            --slot.useCount;
            return;
        }
        common::TraceLine("Deleted image: %s\n", common::WideToUtf8(m_package.Entry(int(index)).name).c_str());
        delete slot.image;
        slot = {};
        return;
    }
    delete image;
}

} // namespace corlist
