// The attribute names an element class knows, each with the identifier the class switches
// on. Names match ignoring ASCII case: the name hash narrows the search, a case-blind
// comparison decides. The hashes are computed once, when the table is built (element
// classes keep their table in a function-local static).
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace corlist {

class AttributeTable {
public:
    struct Entry {
        int id;
        const char* name;
    };

    AttributeTable(std::initializer_list<Entry> entries);

    // The identifier of `name`, or -1 when the table does not know it.
    int Find(const char* name) const;

private:
    struct Row {
        uint32_t hash;
        int id;
        const char* name;
    };
    std::vector<Row> m_rows;
};

// Whether two 8-bit names are equal ignoring ASCII case.
bool EqualsIgnoringCase(const char* a, const char* b);

} // namespace corlist
