// Hands a list view the rows of a list model: the item count, the texts of each row when the
// list asks for them (LVN_GETDISPINFOW), the search text as the list's filter (so an empty
// result reads "No matches: TEXT"), and the letters of the letter bar beside it. Drawing
// stays the list view's.
#pragma once

#include "ce/commctrl.h"
#include "corlist/controls/LetterBarLayout.h"

#include <cstddef>
#include <string>
#include <vector>

namespace corlist {

class ListModel;
class ListView;
struct ListRow;

class ListBinding {
public:
    explicit ListBinding(ListModel& model) : m_model(model) {}

    // Binds `list` (not owned; it must outlive the binding or be attached anew) and hands it
    // the model's rows.
    void Attach(ListView& list);
    // After the model loaded, searched or reloaded: the item count and the filter again.
    void Update();
    // WM_NOTIFY of the list, as its owner window received it; 0 for codes it does not
    // answer.
    LRESULT OnNotify(NMHDR* header);

    // The text of a row's column: column 0 the name (a contact's display name, a category
    // or company name, a call's contact, logged name or number); column 1 the number shown
    // beside it (a contact's primary number, or the number that matched the search), empty
    // when there is none. A list with one column gets both as two lines ("NAME\nNUMBER").
    std::u16string Text(size_t index, int column) const;
    // The letter a row files under in the letter bar: the first letter or digit of its name,
    // as its upper-case base letter; 0 when the name has none.
    WCHAR LetterOf(size_t index) const;
    // The letters of the shown rows in list order, each with its row count and first row.
    std::vector<BarLetter> Letters() const;

    // The picture index of a row in its look's icon strip; -1 for none.
    static int IconOf(const ListRow& row);

private:
    std::u16string Name(const ListRow& row) const;
    std::u16string Number(const ListRow& row) const;
    void AnswerDisplayInfo(NMLVDISPINFOW& info) const;

    ListModel& m_model;
    ListView* m_list = nullptr; // not owned
};

} // namespace corlist
