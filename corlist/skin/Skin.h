// The loaded skin: the description's element tree read from a skin package, the package
// itself (kept open so images decode on first use), one image slot per package entry, the
// element type registry with its defaults and macros, and the table of well-known images
// pages look up by number. One skin per process, used from the UI thread only.
#pragma once

#include "common/SkinPackage.h"
#include "common/XmlReaderFor.h"
#include "corlist/skin/SkinImageProvider.h"
#include "corlist/skin/SkinImageSlot.h"
#include "corlist/skin/SkinKinds.h"
#include "corlist/skin/SkinTypeRegistry.h"

#include <string>
#include <vector>

namespace common {
struct SettingsRecord;
}

namespace corlist {

class SkinElement;

// Well-known images, children of the top-level generic element "Images".
namespace WellKnownImage {
constexpr int kBackground = 0; // "Bkgnd"
constexpr int kFace = 1;       // "FaceL"
constexpr int kSim = 2;
constexpr int kCallState = 3;
constexpr int kMenuContact = 4;
constexpr int kMenuSendContact = 5;
constexpr int kMenuHistory = 6;
constexpr int kMenuCategories = 7;
constexpr int kCount = 8;
} // namespace WellKnownImage

// Load options skins ask images for: screen format with an RGB565 colour table.
constexpr DWORD kSkinImageLoadOptions = 0x20200;

class Skin final : public common::XmlReaderFor<Skin>, public SkinImageProvider {
public:
    using XmlNode = common::XmlNode;

    // Makes the element object of a control kind (0x8000 and up); the control library
    // installs one. Without it control elements are nodes without objects.
    using DescriptorFactory = SkinElement* (*)(Skin& skin, uint32_t kind);

    Skin() = default;
    ~Skin() override;

    // Clears the skin, opens the package BuildPackagePath makes of `packageName` and reads
    // the description entry. True when the description gave a root element.
    bool Load(LPCWSTR packageName, LPCWSTR descriptionName = u"Default.skn");
    // Clears the skin and reads a description from a stream, with no package behind it
    // (its images are not available). For tools, fuzzing and measurements.
    bool LoadDescription(common::Stream& description);
    // Loads the package the settings name, falling back to the default package for the
    // screen (and then naming "Default" in the settings); fills the well-known images.
    bool Initialise(common::SettingsRecord& settings);
    // Releases every image, forgets the tree and closes the package.
    void ClearSkin();

    SkinImageSlot* AcquireImage(LPCWSTR name, bool loadOptions, bool keep) override;
    void ReleaseImage(Image* image) override;

    // The element object of well-known image `number` when its node has `kind`, else null.
    SkinElement* WellKnownImage(int number, uint32_t kind) const;

    // The full device path of a package name: see SkinPath.h. The program's folder is the
    // running program's unless SetProgramFolder named another.
    std::u16string BuildPackagePath(LPCWSTR name) const;
    void SetProgramFolder(std::u16string folder) { m_programFolder = std::move(folder); }

    void SetDescriptorFactory(DescriptorFactory factory) { m_descriptorFactory = factory; }
    // The element object for `kind` made in the skin's arena, or null for sections and
    // kinds without objects.
    SkinElement* CreateElementObject(uint32_t kind);

    XmlNode* OnEvent(XmlNode* node, common::XmlEvent event, const char* name, const char* value) override;

    common::SkinPackage& Package() { return m_package; }
    const SkinTypeRegistry& Types() const { return m_types; }
    const SkinImageSlot* Slot(int index) const;
    COLORREF ColourMask() const { return m_colourMask; }
    int Vga() const { return m_vga; }
    XmlNode* MacrosNode() const { return m_macros; }
    XmlNode* DefaultsNode() const { return m_defaults; }

private:
    // An element between its start and end tags, with what only reading needs.
    struct OpenElement {
        XmlNode* node = nullptr;
        SkinTypeEntry* entry = nullptr;
        XmlNode* macro = nullptr;
    };

    void RegisterBuiltInTypes();
    bool ReadDescription(common::Stream& stream);
    void FindWellKnownImages();

    XmlNode* StartElement(XmlNode* parent, const char* name);
    void SetAttribute(XmlNode* node, const char* name, const char* value);
    void SetApplicationAttribute(const char* name, const char* value);
    void SetName(XmlNode* node, const char* value);
    XmlNode* FindMacro(XmlNode* node, const char* name, size_t length) const;
    void EndElement(XmlNode* node);
    void EndDefaultsChild(XmlNode* node, OpenElement& open);
    // Adds to `node` every child of `source` it lacks, as copies sharing their objects.
    void CopyMissingChildren(XmlNode* node, const XmlNode* source);
    OpenElement* FindOpen(XmlNode* node);

    common::SkinPackage m_package;
    std::vector<SkinImageSlot> m_slots; // one per package entry
    SkinTypeRegistry m_types;
    std::vector<OpenElement> m_open; // elements being read, innermost last
    XmlNode* m_macros = nullptr;
    XmlNode* m_defaults = nullptr;
    bool m_inDefaults = false;
    COLORREF m_colourMask = kColourNone;
    int m_vga = 0;
    XmlNode* m_wellKnown[WellKnownImage::kCount] = {};
    bool m_tearingDown = false;
    std::u16string m_programFolder;
    DescriptorFactory m_descriptorFactory = nullptr;
};

} // namespace corlist
