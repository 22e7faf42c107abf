// What the pages do to one contact beyond what the contact cache holds: favourites, the
// default number, the ring tone, the first e-mail address and the tagged instant-messaging
// values. Each operation fetches the contact's store item with the core lock held and
// releases it right after use. SIM entries have no item: every operation that writes fails
// for them.
#pragma once

#include "common/ContactRecord.h"

#include "ce/types.h"

#include <functional>
#include <string>
#include <string_view>

namespace common {
class CoreObject;
}

namespace corlist {

// Strings of the outcome messages of the ring tone.
constexpr UINT kRingToneAssignedText = 202;
constexpr UINT kRingToneFailedText = 203;
constexpr UINT kRingToneDefaultText = 204;
// The name of the favourites category.
constexpr UINT kFavoritesText = 206;

class ControlOwner;
class Skin;

// The title string of the library's message boxes.
constexpr UINT kMessageTitleText = 112;

// The favourites category's name from the library's strings.
std::u16string FavouritesName();

class ContactAccess {
public:
    // Asked with the contact's ring tone (empty: the default one); false when the user
    // cancelled, else `chosen` holds the new path, empty for the default ring tone.
    using RingToneChooser = std::function<bool(const std::u16string& current, std::u16string& chosen)>;
    // Shows language string `textNumber` in a message box of `type` (MB_OK with an icon).
    using OutcomeNotice = std::function<void(UINT textNumber, UINT type)>;

    // `favourites`: the favourites category's exact name.
    explicit ContactAccess(common::CoreObject& core, std::u16string favourites = FavouritesName());

    bool IsFavourite(const common::ContactRecord& record) const;
    // Adds or removes the favourites category and saves the contact.
    bool SetFavourite(common::ContactRecord& record, bool favourite);
    // Moves the default number by `step` within the contact's numbers; a step past the
    // first or last number changes nothing and fails.
    bool SetDefaultNumber(common::ContactRecord& record, int step);
    // Lets `chooser` pick the ring tone, stores it and tells the outcome through `notice`.
    // False when the user cancelled (nothing shown) or storing failed.
    bool ChooseRingTone(common::ContactRecord& record, const RingToneChooser& chooser,
                        const OutcomeNotice& notice);
    // The first of the three e-mail addresses that holds "@"; empty when none does.
    std::u16string FirstEmail(common::ContactRecord& record);
    // Stores "key:text" in an instant-messaging field: the one that already holds the key,
    // else the first empty one, else (only with `force`) the third. A null text removes
    // every field that holds the key. Saves the contact.
    bool SetTaggedImValue(common::ContactRecord& record, std::u16string_view key, const WCHAR* text, bool force);

    common::CoreObject& Core() const { return m_core; }

private:
    common::CoreObject& m_core;
    std::u16string m_favourites;
};

// An outcome notice that shows the string in the skin's message box over `owner`.
ContactAccess::OutcomeNotice SkinOutcomeNotice(Skin& skin, ControlOwner& owner);

} // namespace corlist
