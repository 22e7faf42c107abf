#include "corvane/NumberIndex.h"

#include <cstring>

namespace corvane {

uint32_t NumberIndex::Prefix(const BYTE* key) {
    uint32_t prefix = 0;
    std::memcpy(&prefix, key + common::kPhoneKeyHeaderSize, kPrefixDigits);
    return prefix;
}

void NumberIndex::Build(const std::vector<common::ContactRecord*>& records) {
    m_buckets.clear();
    for (size_t position = 0; position < records.size(); ++position) {
        const std::vector<BYTE>& block = records[position]->phoneKeys;
        for (size_t i = 0;; ++i) {
            const BYTE* key = common::KeyAt(block.data(), block.size(), i);
            if (!key)
                break;
            // Shorter keys match only numbers that are looked up by the scan.
            if (key[0] >= kPrefixDigits)
                m_buckets[Prefix(key)].push_back(Candidate{uint32_t(position), key});
        }
    }
    m_valid = true;
}

common::ContactRecord* NumberIndex::Scan(const common::PhoneKey& key,
                                         const std::vector<common::ContactRecord*>& records) {
    common::ContactRecord* simMatch = nullptr;
    for (size_t i = records.size(); i > 0; --i) {
        common::ContactRecord* record = records[i - 1];
        const std::vector<BYTE>& block = record->phoneKeys;
        if (!common::FindKey(block.data(), block.size(), key.Bytes()))
            continue;
        // A device contact wins over any SIM entry; of the SIM entries the one found
        // first in this backward scan counts.
        if (!record->IsSimEntry())
            return record;
        if (!simMatch)
            simMatch = record;
    }
    return simMatch;
}

common::ContactRecord* NumberIndex::Find(const common::PhoneKey& key,
                                         const std::vector<common::ContactRecord*>& records) {
    int national = key.DigitCount() - key.CountryCodeLength() - key.AreaCodeLength();
    if (national < int(kPrefixDigits))
        return Scan(key, records);
    if (!m_valid)
        Build(records);
    auto bucket = m_buckets.find(Prefix(key.Bytes()));
    if (bucket == m_buckets.end())
        return nullptr;
    int64_t device = -1, sim = -1;
    for (const Candidate& candidate : bucket->second) {
        int64_t position = candidate.position;
        bool isSim = records[position]->IsSimEntry();
        if (position <= (isSim ? sim : device) || !common::KeysMatch(candidate.key, key.Bytes()))
            continue;
        (isSim ? sim : device) = position;
    }
    if (device >= 0)
        return records[size_t(device)];
    return sim >= 0 ? records[size_t(sim)] : nullptr;
}

} // namespace corvane
