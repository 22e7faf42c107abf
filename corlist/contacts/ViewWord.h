// The view word: what the main list shows. The frame chooses it, the list model loads it,
// and the settings remember the last one through `Flags` and `Filter`.
#pragma once

#include "ce/types.h"

namespace corlist {

namespace ViewBit {
constexpr DWORD kContacts = 0x0001;
constexpr DWORD kCategories = 0x0002;
constexpr DWORD kCallHistory = 0x0004;
constexpr DWORD kCompanies = 0x0008;
constexpr DWORD kFacebook = 0x0010; // with kContacts: contacts linked to a Facebook friend
constexpr DWORD kMessages = 0x0020; // one SMS folder, the folder in bits 16-18
constexpr DWORD kFilter = 0x1000;   // the frame's contact filter bit
constexpr DWORD kDerived = 0x2000;  // the list model's: a filtered contact list is shown
constexpr DWORD kGrouped = 0x4000;  // entries grouped by contact
constexpr DWORD kIncoming = 0x10000;
constexpr DWORD kOutgoing = 0x20000;
constexpr DWORD kMissed = 0x40000;
constexpr DWORD kCallKinds = 0x70000;
constexpr DWORD kFolderShift = 16;
constexpr DWORD kFacebookMessages = 0x80000;
constexpr DWORD kByCategory = 0x1000000;
constexpr DWORD kByCompany = 0x2000000;
constexpr DWORD kFavorites = 0x4000000; // category entry 1 of the category list
constexpr DWORD kFilterKinds = 0x7000000;
constexpr DWORD kSearch = 0x80000000; // a search result is shown
// The bits a call-history reload keeps: grouping and the kind filter.
constexpr DWORD kCallHistoryKeep = 0x74000;
} // namespace ViewBit

namespace View {
constexpr DWORD kAllContacts = ViewBit::kContacts;
constexpr DWORD kCategoryContacts = ViewBit::kContacts | ViewBit::kFilter | ViewBit::kByCategory;
constexpr DWORD kCompanyContacts = ViewBit::kContacts | ViewBit::kFilter | ViewBit::kByCompany;
constexpr DWORD kCategoryList = ViewBit::kCategories;
constexpr DWORD kCompanyList = ViewBit::kCompanies;
constexpr DWORD kFacebookFriends = ViewBit::kContacts | ViewBit::kFacebook;
constexpr DWORD kFavorites = ViewBit::kFavorites | ViewBit::kFilter | ViewBit::kContacts;
constexpr DWORD kCallHistory = ViewBit::kCallHistory;
constexpr DWORD kSmsInbox = ViewBit::kMessages;
constexpr DWORD kFacebookMessages = ViewBit::kFacebookMessages;
} // namespace View

// The kinds of view a tab stands for.
bool IsFavoritesView(DWORD view);
bool IsContactView(DWORD view); // all, filtered, favourites, Facebook friends
bool IsCallHistoryView(DWORD view);
bool IsMessageView(DWORD view); // SMS folders and Facebook messages
// The language string of the view's title; 0 for a category or company filter (its name is
// the title).
UINT ViewTitle(DWORD view);

} // namespace corlist
