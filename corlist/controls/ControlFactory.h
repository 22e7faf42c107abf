// Which run-time control each control kind of the skin becomes, and which descriptor object
// the skin makes for each control element.
#pragma once

#include "ce/types.h"

#include <cstdint>
#include <memory>

namespace corlist {

class Control;
class ControlElement;
class Skin;
class SkinElement;

// The control for `kind` with the text of string `label` (0: none); null for a kind that
// is not built by the factory.
std::unique_ptr<Control> CreateControl(uint32_t kind, UINT label, ControlElement* descriptor);

// The descriptor object of a control element, made in the skin's arena.
SkinElement* CreateControlDescriptor(Skin& skin, uint32_t kind);
// Makes the skin create control descriptors for control elements from now on.
void InstallControlDescriptors(Skin& skin);

} // namespace corlist
