#include "corlist/skin/AttributeTable.h"

#include "common/NameHash.h"

namespace corlist {

namespace {

char FoldAscii(char c) {
    return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
}

} // namespace

bool EqualsIgnoringCase(const char* a, const char* b) {
    if (!a || !b)
        return a == b;
    for (; *a && *b; ++a, ++b) {
        if (FoldAscii(*a) != FoldAscii(*b))
            return false;
    }
    return *a == *b;
}

AttributeTable::AttributeTable(std::initializer_list<Entry> entries) {
    m_rows.reserve(entries.size());
    for (const Entry& entry : entries)
        m_rows.push_back(Row{common::NameHash(entry.name), entry.id, entry.name});
}

int AttributeTable::Find(const char* name) const {
    if (!name)
        return -1;
    uint32_t hash = common::NameHash(name);
    for (const Row& row : m_rows) {
        if (row.hash == hash && EqualsIgnoringCase(row.name, name))
            return row.id;
    }
    return -1;
}

} // namespace corlist
