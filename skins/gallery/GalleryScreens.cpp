#include "GalleryScreens.h"

namespace gallery {

namespace {

// Positions in percent of the screen so that every size shows everything.
constexpr const char* kScreens = R"(
<control name="GalleryControls" rect="0,0,0,0">
  <fill color="#F1F3F6"/>
  <text name="Title" rect="8,1%,-8,7%"/>
  <button name="Call" rect="8,9%,44%,12%"/>
  <button name="Pressed" rect="52%,9%,-8,12%"/>
  <edit name="Name" rect="8,23%,-8,10%"/>
  <edit name="Secret" rect="8,35%,-8,10%"/>
  <tabctrl name="Tabs" rect="0,47%,0,13%"/>
  <boxctrl name="Box" rect="8,62%,-8,14%"/>
  <slider name="Volume" rect="8,79%,-8,8%"/>
  <dslider name="Range" rect="8,89%,-8,8%"/>
</control>
<control name="GalleryList" rect="0,0,0,0">
  <fill color="#FFFFFF"/>
  <listview name="List" rect="0,0,0,0"/>
</control>
)";

} // namespace

std::string WithGalleryScreens(const std::string& description) {
    size_t end = description.rfind("</");
    if (end == std::string::npos)
        return description;
    return description.substr(0, end) + kScreens + description.substr(end);
}

} // namespace gallery
