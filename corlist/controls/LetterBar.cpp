#include "corlist/controls/LetterBar.h"

#include "corlist/controls/LetterBarElement.h"
#include "corlist/controls/ListView.h"
#include "corlist/skin/FillElement.h"
#include "corlist/skin/FontElement.h"
#include "corlist/skin/PixelLoops.h"
#include "corlist/skin/SkinMetrics.h"
#include "corlist/skin/SurfaceFill.h"

#include "ce/user.h"
#include "ce/uiview.h"

#include <algorithm>
#include <cstdlib>

namespace corlist {

LetterBar::~LetterBar() {
    HidePreview();
}

void LetterBar::SetList(ListView* list) {
    if (list != m_list)
        HidePreview();
    ScrollBar::SetList(list);
}

void LetterBar::ShowPreview(WCHAR letter) {
    if (!m_list)
        return;
    m_preview.SetLook(Element());
    m_preview.Show(letter);
    m_list->SetLetterPreview(&m_preview);
}

void LetterBar::HidePreview() {
    if (!m_preview.IsShown())
        return;
    m_preview.Hide();
    if (m_list)
        m_list->SetLetterPreview(nullptr);
}

LetterBarElement* LetterBar::Element() const {
    return static_cast<LetterBarElement*>(Descriptor());
}

void LetterBar::Layout(const RECT* parent) {
    Control::Layout(parent);
    m_fitted = false;
    m_cacheValid = false;
}

void LetterBar::SetLetters(std::vector<BarLetter> letters) {
    m_letters = std::move(letters);
    m_fitted = false;
    m_cacheValid = false;
    m_selected = -1;
    Invalidate();
}

const std::vector<BarLetter>& LetterBar::Shown() {
    if (!m_fitted)
        Fit();
    return m_shown;
}

// A cell is a line of the letters' font.
int LetterBar::CellHeight() const {
    FontElement* font = Element() ? Element()->Font() : nullptr;
    return font ? std::abs(font->Size()) * 4 / 3 : 0;
}

RECT LetterBar::LettersArea() const {
    LetterBarElement* element = Element();
    if (element && element->LettersArea().IsSet())
        return ResolveRect(element->LettersArea(), &m_rect, GetSystemMetrics(SM_CXSCREEN),
                           GetSystemMetrics(SM_CYSCREEN));
    return m_rect;
}

void LetterBar::Fit() {
    m_fitted = true;
    RECT area = LettersArea();
    int height = area.bottom - area.top;
    int slots = LetterSlots(height, CellHeight(), int(m_letters.size()));
    m_shown = FitLetters(m_letters, slots);
    PlaceLetters(m_shown, area.top, height);
    if (m_selected >= int(m_shown.size()))
        m_selected = -1;
}

RECT LetterBar::CellOf(int index) const {
    RECT area = LettersArea();
    int top = m_shown[size_t(index)].position;
    int bottom = size_t(index) + 1 < m_shown.size() ? m_shown[size_t(index) + 1].position : area.bottom;
    return RECT{area.left, top, area.right, bottom};
}

int LetterBar::LetterAt(POINT point) {
    const std::vector<BarLetter>& shown = Shown();
    RECT area = LettersArea();
    if (shown.empty() || point.x < area.left || point.x >= area.right || point.y < area.top || point.y >= area.bottom)
        return -1;
    int found = 0;
    for (size_t k = 0; k < shown.size(); ++k)
        if (shown[k].position <= point.y)
            found = int(k);
    return found;
}

void LetterBar::Select(int index) {
    if (index >= int(Shown().size()))
        index = -1;
    if (index == m_selected)
        return;
    RECT old = m_selected >= 0 ? CellOf(m_selected) : RECT{};
    m_selected = index;
    if (!IsEmptyRect(old))
        Invalidate(&old);
    if (m_selected >= 0) {
        RECT now = CellOf(m_selected);
        Invalidate(&now);
    }
}

int LetterBar::OnStylus(int event, int x, int y) {
    if (event != StylusEvent::kDown && event != StylusEvent::kMove && event != StylusEvent::kUp)
        return Control::OnStylus(event, x, y);
    if (event == StylusEvent::kUp) {
        Select(-1);
        HidePreview();
        return Tracking::kNone;
    }
    int index = LetterAt(POINT{x, y});
    if (index >= 0 && index != m_selected) {
        Select(index);
        const BarLetter& letter = m_shown[size_t(index)];
        ShowPreview(letter.ch);
        if (m_list && m_list->ItemsPerRow() > 0)
            m_list->ScrollTo(letter.firstItem / m_list->ItemsPerRow());
        SendCommand(StylusEvent::kNotifySent, LPARAM(letter.ch));
    }
    return event == StylusEvent::kDown ? Tracking::kTrack : Tracking::kNone;
}

void LetterBar::DrawLetter(DrawSurface& surface, WCHAR ch, const RECT& cell, COLORREF colour) {
    FontElement* font = Element() ? Element()->Font() : nullptr;
    if (!font || colour == kColourNone)
        return;
    HDC dc = surface.Dc();
    HGDIOBJ oldFont = SelectObject(dc, font->Font());
    COLORREF oldColour = SetTextColor(dc, colour);
    int oldMode = SetBkMode(dc, TRANSPARENT);
    RECT area = cell;
    DrawTextW(dc, &ch, 1, &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SetBkMode(dc, oldMode);
    SetTextColor(dc, oldColour);
    SelectObject(dc, oldFont);
}

// The bar's background, edges and letters at the origin of the cache.
void LetterBar::RenderCache() {
    int width = m_rect.right - m_rect.left, height = m_rect.bottom - m_rect.top;
    if (m_cache.Width() != width || m_cache.Height() != height)
        m_cache.Create(width, height);
    m_cacheValid = !m_cache.IsEmpty();
    if (!m_cacheValid)
        return;
    RECT all{0, 0, width, height};
    m_cache.ResetClip();
    for (int y = 0; y < height; ++y)
        FillRow(m_cache.Row(y), width, 0xFFFF);
    LetterBarElement* element = Element();
    FillElement* background = element ? element->Fill("LetterBkgnd") : nullptr;
    if (background)
        background->Paint(m_cache, all, all);
    int border = GetSystemMetrics(SM_CXBORDER);
    if (background && background->EffectiveColour() != kColourNone && width > border) {
        FillRect(m_cache, RECT{0, 0, border, height}, background->EffectiveColour(), 0);
        FillRect(m_cache, RECT{width - border, 0, width, height}, background->EffectiveColour(), 0);
    }
    COLORREF valid = element ? element->NamedColour("ValLetter") : kColourNone;
    COLORREF inserted = element ? element->NamedColour("InvLetter") : kColourNone;
    for (size_t k = 0; k < m_shown.size(); ++k) {
        RECT cell = CellOf(int(k));
        OffsetRect(&cell, -m_rect.left, -m_rect.top);
        DrawLetter(m_cache, m_shown[k].ch, cell, m_shown[k].entries > 0 ? valid : inserted);
    }
}

void LetterBar::Paint(DrawSurface& surface, const RECT& clip) {
    if (!IsVisible() || IsEmptyRect(m_rect))
        return;
    if (!m_fitted)
        Fit();
    if (!m_cacheValid)
        RenderCache();
    if (!m_cacheValid)
        return;
    RECT area = surface.Clipped(m_rect, &clip);
    for (int y = area.top; y < area.bottom; ++y)
        CopyRow(surface.Row(y) + area.left, m_cache.Row(y - m_rect.top) + (area.left - m_rect.left),
                area.right - area.left);
    if (m_selected >= 0) {
        RECT cell = CellOf(m_selected);
        if (FillElement* selection = Element()->Fill("Selection"))
            selection->Paint(surface, cell, clip);
        DrawLetter(surface, m_shown[size_t(m_selected)].ch, cell, Element()->NamedColour("SelLetter"));
    }
}

std::string LetterBar::UiLine() {
    std::u16string letters;
    for (const BarLetter& letter : Shown())
        letters.push_back(letter.ch);
    return "letters " + UiQuoted(letters);
}

void LetterBar::Describe(IUiSink& sink, int depth, POINT origin) {
    Control::Describe(sink, depth, origin);
    sink.Line(depth + 1, UiLine().c_str());
    if (m_preview.IsShown())
        sink.Line(depth + 1, ("preview " + UiQuoted(std::u16string(1, m_preview.Letter()))).c_str());
}

} // namespace corlist
