#include "corlist/contacts/ViewWord.h"

namespace corlist {

bool IsFavoritesView(DWORD view) {
    return (view & View::kFavorites) == View::kFavorites;
}

bool IsContactView(DWORD view) {
    return (view & ViewBit::kContacts) != 0;
}

bool IsCallHistoryView(DWORD view) {
    return (view & ViewBit::kCallHistory) != 0;
}

bool IsMessageView(DWORD view) {
    return (view & (ViewBit::kMessages | ViewBit::kFacebookMessages)) != 0;
}

UINT ViewTitle(DWORD view) {
    if (IsFavoritesView(view))
        return 206;
    if (view & ViewBit::kFacebookMessages)
        return 510;
    if (view & ViewBit::kMessages) {
        static const UINT kFolderTitles[] = {350, 351, 354, 353, 352};
        return kFolderTitles[(view >> ViewBit::kFolderShift) % 5];
    }
    if (view & ViewBit::kCallHistory) {
        if (view & ViewBit::kIncoming)
            return 5039;
        if (view & ViewBit::kOutgoing)
            return 5040;
        if (view & ViewBit::kMissed)
            return 5041;
        return 137;
    }
    if (view & ViewBit::kCategories)
        return 178;
    if (view & ViewBit::kCompanies)
        return 179;
    if (view & ViewBit::kFilter)
        return 0;
    if (view & ViewBit::kFacebook)
        return 506;
    return 177;
}

} // namespace corlist
