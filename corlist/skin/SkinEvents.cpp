// How the skin turns the reader's events into its tree: typed nodes with element objects,
// names with macro references, per-kind defaults and named types, copied children, and the
// colour mask applied once the root ends.
#include "corlist/skin/ColorElement.h"
#include "corlist/skin/ColourNotation.h"
#include "corlist/skin/FillElement.h"
#include "corlist/skin/Skin.h"
#include "corlist/skin/SkinElement.h"
#include "corlist/skin/SkinMetrics.h"
#include "corlist/skin/SkinTint.h"

#include "common/NameHash.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <strings.h>

namespace corlist {

using common::XmlEvent;
using common::XmlNode;

common::XmlNode* Skin::OnEvent(XmlNode* node, XmlEvent event, const char* name, const char* value) {
    switch (event) {
    case XmlEvent::ElementStart:
        return StartElement(node, name);
    case XmlEvent::Attribute:
        SetAttribute(node, name, value);
        break;
    case XmlEvent::AttributesEnd:
        break;
    case XmlEvent::ElementEnd:
        EndElement(node);
        break;
    }
    return node;
}

// A registered name makes a typed node without a name (the "name" attribute gives it);
// anything else is left to the reader as a generic node.
common::XmlNode* Skin::StartElement(XmlNode* parent, const char* name) {
    SkinTypeEntry* entry = m_types.LookupType(name);
    if (!entry)
        return nullptr;
    XmlNode* node = CreateNode(parent, nullptr, entry->kind);
    if (!node)
        return nullptr;
    if (SkinElement* element = CreateElementObject(entry->kind)) {
        AttachElement(node, element);
        element->SetNode(node);
        if (entry->templateElement)
            element->CopyFrom(*entry->templateElement);
        m_open.push_back({node, entry, nullptr});
        return node;
    }
    switch (entry->kind) {
    case SkinKind::kMacros:
        m_macros = node;
        break;
    case SkinKind::kDefaults:
        m_defaults = node;
        m_inDefaults = true;
        break;
    case SkinKind::kApplication:
        SetCoordinateScale(ScreenCoordinateScale());
        break;
    default:
        break;
    }
    return node;
}

void Skin::SetAttribute(XmlNode* node, const char* name, const char* value) {
    if (!node || !name)
        return;
    uint32_t kind = node->Kind();
    if (kind == SkinKind::kApplication) {
        SetApplicationAttribute(name, value);
        return;
    }
    if (kind == common::kGenericElementKind) {
        if (XmlNode* attribute = CreateNode(node, name, common::kGenericAttributeKind))
            attribute->payload = AllocString(value);
        return;
    }
    if (strcasecmp(name, "name") == 0) {
        SetName(node, value);
        return;
    }
    if (node->element)
        static_cast<SkinElement*>(node->element)->SetAttribute(name, value ? value : "", Arena());
}

void Skin::SetApplicationAttribute(const char* name, const char* value) {
    if (strcasecmp(name, "vga") == 0) {
        m_vga = value ? std::atoi(value) : 0;
        SetCoordinateScale(m_vga != 0 ? 1 : ScreenCoordinateScale());
    } else if (strcasecmp(name, "colorMask") == 0) {
        m_colourMask = ParseColour(value ? value : "");
    }
}

// "#macro.rest" inherits from the macro and names the element rest; any other value is
// the whole name.
void Skin::SetName(XmlNode* node, const char* value) {
    const char* name = value;
    const char* dot = value ? std::strchr(value, '.') : nullptr;
    if (m_macros && value && value[0] == '#' && dot) {
        name = dot[1] ? dot + 1 : nullptr;
        XmlNode* macro = FindMacro(node, value + 1, size_t(dot - value - 1));
        OpenElement* open = FindOpen(node);
        if (macro && open) {
            open->macro = macro;
            if (node->element && macro->element)
                static_cast<SkinElement*>(node->element)->CopyFrom(*static_cast<SkinElement*>(macro->element));
            node->kind |= common::kInheritsFromMacroFlag;
        }
    }
    node->name = name ? AllocString(name) : nullptr;
    node->hash = name ? common::NameHash(node->name) : 0;
}

// A node of the element's kind named `name`, among the macros and then among the element's
// siblings. The element itself or one of its ancestors is never its macro: the tree would
// take itself in.
common::XmlNode* Skin::FindMacro(XmlNode* node, const char* name, size_t length) const {
    std::string wanted(name, length);
    auto acceptable = [node](XmlNode* macro) {
        for (XmlNode* ancestor = node; ancestor; ancestor = ancestor->parent)
            if (ancestor == macro)
                return false;
        return true;
    };
    XmlNode* macro = FindNode(m_macros->firstChild, wanted.c_str(), node->Kind());
    if (macro && acceptable(macro))
        return macro;
    macro = node->parent ? FindNode(node->parent->firstChild, wanted.c_str(), node->Kind()) : nullptr;
    return macro && acceptable(macro) ? macro : nullptr;
}

Skin::OpenElement* Skin::FindOpen(XmlNode* node) {
    for (auto open = m_open.rbegin(); open != m_open.rend(); ++open)
        if (open->node == node)
            return &*open;
    return nullptr;
}

void Skin::EndElement(XmlNode* node) {
    if (!node)
        return;
    if (!m_open.empty() && m_open.back().node == node) {
        OpenElement open = m_open.back();
        m_open.pop_back();
        if (open.macro && (node->kind & common::kInheritsFromMacroFlag))
            CopyMissingChildren(node, open.macro);
        else if (open.entry->templateElement)
            CopyMissingChildren(node, open.entry->templateElement->Node());
        else if (m_inDefaults && node->parent && node->parent == m_defaults)
            EndDefaultsChild(node, open);
        node->kind &= ~common::kInheritsFromMacroFlag;
    }
    if (node == m_defaults)
        m_inDefaults = false;
    if (!node->parent && m_colourMask != kColourNone)
        TintTree(node, m_colourMask);
}

// A named element of the defaults section becomes a new element type; an unnamed one the
// template of its own type.
void Skin::EndDefaultsChild(XmlNode* node, OpenElement& open) {
    auto* element = static_cast<SkinElement*>(node->element);
    if (node->name)
        m_types.RegisterType(node->Kind(), node->name, element);
    else
        open.entry->templateElement = element;
}

void Skin::CopyMissingChildren(XmlNode* node, const XmlNode* source) {
    if (!source || source == node)
        return;
    for (const XmlNode* child = source->firstChild; child; child = child->nextSibling) {
        bool present = false;
        for (const XmlNode* own = node->firstChild; own && !present; own = own->nextSibling)
            present = own->Kind() == child->Kind() && own->hash == child->hash &&
                      (own->name == child->name ||
                       (own->name && child->name && strcasecmp(own->name, child->name) == 0));
        if (present)
            continue;
        XmlNode* copy = CreateNode(node, nullptr, child->Kind() | common::kBorrowedElementFlag);
        if (!copy)
            return;
        copy->name = child->name;
        copy->hash = child->hash;
        copy->payload = child->payload;
        copy->firstChild = child->firstChild;
        copy->firstAttribute = child->firstAttribute;
        if (child->element)
            AttachElement(copy, child->element, true);
    }
}

} // namespace corlist
