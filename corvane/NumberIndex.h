// Finds the cached contact of a phone number without scanning the whole cache, with the
// result of the backward scan: the device contact nearest the end of the cache's order
// whose keys match, else the SIM entry nearest the end.
//
// Why four digits are enough: two keys only ever match by comparing their first n stored
// digits, where n is one of the number's own lengths (digits; digits less the country
// code; digits less both codes), the least of which is its national length. A number
// whose national length is at least 4 therefore only matches keys that begin with its
// own first four stored digits (its last four digits): the index buckets every key of at
// least four digits by them. Shorter numbers ("112", "*100#") are looked up by the scan.
#pragma once

#include "common/ContactRecord.h"
#include "common/PhoneKey.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace corvane {

class NumberIndex {
public:
    static constexpr size_t kPrefixDigits = 4;

    // The cache's order or a record's keys changed: the index is built again on the next
    // lookup.
    void Invalidate() { m_valid = false; }
    // `records` is the cache's order.
    common::ContactRecord* Find(const common::PhoneKey& key,
                                const std::vector<common::ContactRecord*>& records);
    // The backward scan itself.
    static common::ContactRecord* Scan(const common::PhoneKey& key,
                                       const std::vector<common::ContactRecord*>& records);

private:
    struct Candidate {
        uint32_t position;
        const BYTE* key; // inside the record's key block
    };

    void Build(const std::vector<common::ContactRecord*>& records);
    static uint32_t Prefix(const BYTE* key);

    std::unordered_map<uint32_t, std::vector<Candidate>> m_buckets;
    bool m_valid = false;
};

} // namespace corvane
