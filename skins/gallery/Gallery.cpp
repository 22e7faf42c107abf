#include "Gallery.h"

#include "GalleryMainPage.h"
#include "GalleryScreens.h"
#include "GalleryToday.h"
#include "common/SkinPackage.h"
#include "common/XmlReader.h"
#include "common/Stream.h"
#include "corlist/controls/BoxControl.h"
#include "corlist/controls/Button.h"
#include "corlist/controls/ControlElement.h"
#include "corlist/controls/ControlFactory.h"
#include "corlist/controls/ControlHost.h"
#include "corlist/controls/DoubleSlider.h"
#include "corlist/controls/EditControl.h"
#include "corlist/controls/ListView.h"
#include "corlist/controls/Menu.h"
#include "corlist/controls/SkinMessageBox.h"
#include "corlist/controls/Slider.h"
#include "corlist/controls/TabControl.h"
#include "corlist/image/ImageLoader.h"
#include "corlist/skin/DrawSurface.h"
#include "corlist/skin/Skin.h"
#include "device/Device.h"
#include "gdi/BitmapObject.h"
#include "gdi/GdiObjectTable.h"
#include "gdi/PngFile.h"

#include "ce/commctrl.h"
#include "ce/user.h"

#include <array>
#include <fstream>
#include <functional>
#include <stdlib.h>

namespace gallery {

namespace {

using namespace corlist;

constexpr UINT kRunAction = WM_USER + 1;
// What runs once a pop-up is open, inside its own message loop.
std::function<void()> g_action;

constexpr std::array<const char16_t*, 12> kNames = {
    u"Anna Berg", u"Ben Carter", u"Clara Diaz", u"David Evans", u"Emma Fox", u"Frank Green",
    u"Grace Hill", u"Henry Irwin", u"Ida Jones", u"Jack King", u"Kate Lewis", u"Liam Moore",
};

LRESULT CALLBACK ParentProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kRunAction && g_action) {
        auto action = std::move(g_action);
        g_action = nullptr;
        action();
        return 0;
    }
    if (message == WM_NOTIFY) {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header->code == LVN_GETDISPINFOW) {
            auto* info = reinterpret_cast<NMLVDISPINFOW*>(lParam);
            if ((info->item.mask & LVIF_TEXT) && info->item.pszText && info->item.cchTextMax > 0) {
                std::u16string text = kNames[size_t(info->item.iItem) % kNames.size()];
                if (info->item.iSubItem > 0)
                    text = u"+44 20 7946 0" + std::u16string(1, char16_t(u'1' + info->item.iItem % 9)) + u"58";
                text.resize(std::min<size_t>(text.size(), size_t(info->item.cchTextMax - 1)));
                std::copy(text.begin(), text.end(), info->item.pszText);
                info->item.pszText[text.size()] = 0;
            }
            return 0;
        }
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}


// The description of the package the screen uses, with the gallery's screens, written as a
// device file the skin reads instead of the packaged one.
bool WriteGalleryDescription(Skin& skin, const std::filesystem::path& fsRoot) {
    common::SkinPackage package;
    std::u16string path = skin.BuildPackagePath(u"");
    if (!package.Open(path.c_str()))
        return false;
    common::Stream* stream = nullptr;
    int index = -1;
    if (!package.OpenEntry(u"Default.skn", false, &stream, &index))
        return false;
    std::string text(size_t(stream->Size()), '\0');
    stream->Read(text.data(), LONG(text.size()));
    package.CloseEntry(stream);
    std::ofstream(fsRoot / "Temp" / "Gallery.skn", std::ios::binary) << WithGalleryScreens(text);
    return true;
}

void FillControls(Control& screen) {
    auto set = [&](const char* name, uint32_t kind, const std::u16string& text) {
        if (Control* control = screen.FindByDescriptor(kind, name, true))
            control->SetText(text);
        return screen.FindByDescriptor(kind, name, true);
    };
    set("Title", SkinKind::kText, u"All Contacts");
    set("Call", SkinKind::kButton, u"Call");
    if (Control* pressed = set("Pressed", SkinKind::kButton, u"SMS"))
        pressed->SetFlags(0, ControlState::kPressed, false);
    set("Name", SkinKind::kEdit, u"John Smith");
    if (auto* secret = static_cast<EditControl*>(set("Secret", SkinKind::kEdit, u"1234")))
        secret->SetPassword(true);
    if (auto* tabs = static_cast<TabControl*>(screen.FindByDescriptor(SkinKind::kTabCtrl, "Tabs", true))) {
        for (int tab = 0; tab < 4; ++tab)
            tabs->AddTab(UINT(5026 + tab), tab);
        tabs->Select(1);
    }
    if (auto* box = static_cast<BoxControl*>(set("Box", SkinKind::kBoxCtrl, u"Mary Johnson"))) {
        box->SetSecondText(u"Mobile +44 20 7946 0958");
        box->SetFocus();
    }
    if (auto* slider = static_cast<Slider*>(screen.FindByDescriptor(SkinKind::kSlider, "Volume", true))) {
        slider->SetRange(0, 100);
        slider->SetPosition(60);
    }
    if (auto* range = static_cast<DoubleSlider*>(screen.FindByDescriptor(SkinKind::kDSlider, "Range", true))) {
        range->SetRange(0, 100);
        range->SetPositions(20, 70);
    }
}

} // namespace

bool SaveSurface(ControlHost& host, const std::filesystem::path& path,
                 const std::function<void(DrawSurface&)>& overlay) {
    DrawSurface* surface = host.Surface();
    if (!surface)
        return false;
    RECT all{0, 0, surface->Width(), surface->Height()};
    surface->SetClip(all);
    host.Screen().Paint(*surface, all);
    if (overlay) {
        surface->SetClip(all);
        overlay(*surface);
    }
    if (Control* popup = host.Modal()) {
        surface->SetClip(all);
        popup->Paint(*surface, all);
    }
    surface->ResetClip();
    auto object = platform::GdiObjectTable::Instance().LookupAs<platform::BitmapObject>(surface->Bitmap(),
                                                                                        platform::GdiKind::Bitmap);
    return object && platform::SavePng(*object->GetSurface(), path);
}

HWND CreateParentWindow(const WCHAR* className, WNDPROC procedure, const RECT& area) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.lpszClassName = className;
    RegisterClassW(&windowClass);
    return CreateWindowExW(0, className, u"", WS_VISIBLE, 0, 0, area.right - area.left, area.bottom - area.top, nullptr,
                           nullptr, nullptr, nullptr);
}

Gallery::Gallery(std::filesystem::path installFolder, std::filesystem::path outputFolder)
    : m_install(std::move(installFolder)), m_output(std::move(outputFolder)) {}

const std::vector<std::string>& Gallery::ScreenNames() {
    static const std::vector<std::string> names{"controls", "list", "menu", "menu-plain", "messagebox",
                                                "mainwnd", "mainwnd-number", "mainwnd-group", "today"};
    return names;
}

// Opens a pop-up over the controls screen and saves the picture once it is open.
template <class Open>
bool ShootPopup(ControlHost& host, HWND parent, const std::filesystem::path& path, Open open) {
    bool saved = false;
    g_action = [&] {
        saved = SaveSurface(host, path);
        SendMessageW(host.Window(), WM_KEYUP, VK_ESCAPE, 0);
    };
    PostMessageW(parent, kRunAction, 0, 0);
    open();
    return saved;
}

bool Gallery::Shoot(ScreenSize size, const std::filesystem::path& fsRoot, std::string& error) {
    Skin skin;
    skin.SetProgramFolder(u"\\Program Files\\Tavik Dialora\\");
    InstallControlDescriptors(skin);
    if (!WriteGalleryDescription(skin, fsRoot) || !skin.Load(u"", u"\\Temp\\Gallery.skn")) {
        error = "the Default skin did not load";
        return false;
    }
    RECT area{0, 0, size.width, size.height};
    HWND parent = CreateParentWindow(u"GalleryParent", &ParentProcedure, area);
    std::string suffix = "-" + std::to_string(size.width) + "x" + std::to_string(size.height) + ".png";
    auto file = [&](const std::string& screen) {
        m_saved.push_back(screen + suffix);
        return m_output / (screen + suffix);
    };
    ControlHost host;
    bool ok = host.Create(skin, "GalleryList", nullptr, parent, WS_CHILD | WS_VISIBLE, area);
    if (ok)
        if (auto* list = static_cast<ListView*>(host.Screen().FindByDescriptor(SkinKind::kListView, "List", true))) {
            list->SetItemCount(40);
            list->SetFocusedItem(2);
        }
    ok = ok && SaveSurface(host, file("list"));
    host.Destroy();
    ok = ok && host.Create(skin, "GalleryControls", nullptr, parent, WS_CHILD | WS_VISIBLE, area);
    if (ok)
        FillControls(host.Screen());
    ok = ok && SaveSurface(host, file("controls"));
    auto contactMenu = [](Menu& menu) {
        menu.AddRow(0, u"Mary Johnson", MenuRowFlag::kTitle);
        menu.AddRow(144, u"Make Call", 0, 0);
        menu.AddRow(143, u"Send SMS", 0, 1);
        menu.AddRow(176, u"Add/Del Favorites", MenuRowFlag::kChecked, 2);
        menu.AddRow(134, u"Delete", MenuRowFlag::kDisabled, 3);
    };
    Menu boxes;
    contactMenu(boxes);
    ok = ok && ShootPopup(host, parent, file("menu"), [&] { boxes.ShowMenu(skin, host, nullptr, false, 0); });
    Menu plain;
    contactMenu(plain);
    common::XmlNode* plainNode = common::XmlReader::FindNode(skin.Root()->firstChild, "Plain", SkinKind::kMenu);
    if (plainNode)
        plain.SetDescriptor(static_cast<ControlElement*>(plainNode->element));
    ok = ok && ShootPopup(host, parent, file("menu-plain"), [&] { plain.ShowMenu(skin, host, nullptr, false, 0); });
    ok = ok && ShootPopup(host, parent, file("messagebox"), [&] {
        ShowMessageBox(skin, host, 0, u"Delete Mary Johnson?", MB_YESNOCANCEL);
    });
    host.Destroy();
    DestroyWindow(parent);
    ok = ok && ShootMainPage(skin, area, file);
    skin.ClearSkin();
    ok = ok && ShootToday(area, file);
    if (!ok)
        error = "a screen could not be built or saved";
    return ok;
}

bool Gallery::RunAt(ScreenSize size, std::string& error) {
    char temp[] = "/tmp/dialora-gallery-XXXXXX";
    if (!mkdtemp(temp)) {
        error = "no temporary folder";
        return false;
    }
    platform::DeviceOptions options;
    options.folder = std::filesystem::path(temp) / "device";
    options.screenWidth = size.width;
    options.screenHeight = size.height;
    options.installFrom = m_install;
    options.startPlatformPrograms = false;
    options.startMainProgram = false;
    options.factoryContacts = false;
    bool ok = false;
    {
        platform::Device device(options);
        if (device.Boot(error)) {
            InitImagesInFolder(nullptr, nullptr, u"\\Program Files\\Tavik Dialora\\");
            ok = Shoot(size, device.FsRoot(), error);
            ShutdownImages();
            device.Shutdown();
        }
    }
    std::error_code ignored;
    std::filesystem::remove_all(temp, ignored);
    return ok;
}

bool Gallery::WriteIndex(const std::vector<ScreenSize>& sizes) const {
    std::ofstream index(m_output / "index.html");
    index << "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Screens</title>"
             "<style>body{font-family:sans-serif;background:#eee}td{vertical-align:top;padding:8px}"
             "img{border:1px solid #999}</style></head><body>\n<table>\n";
    for (const std::string& screen : ScreenNames()) {
        index << "<tr><th>" << screen << "</th>";
        for (ScreenSize size : sizes) {
            std::string name = screen + "-" + std::to_string(size.width) + "x" + std::to_string(size.height) + ".png";
            index << "<td><img src=\"" << name << "\" alt=\"" << name << "\"><br>" << size.width << "x" << size.height
                  << "</td>";
        }
        index << "</tr>\n";
    }
    index << "</table>\n</body></html>\n";
    return bool(index);
}

bool Gallery::Run(const std::vector<ScreenSize>& sizes, std::string& error) {
    std::filesystem::create_directories(m_output);
    for (ScreenSize size : sizes)
        if (!RunAt(size, error))
            return false;
    return WriteIndex(sizes);
}

} // namespace gallery
