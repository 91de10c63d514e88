#include "semantics/JoinNumbering.h"

#include "semantics/Semantics.h"

bool CJoinNumbering::Prepare(const CNameType& nameType, std::uint64_t limit) {
    m_patterns.clear();
    m_numbers.clear();
    m_count = 0;
    for (const CNamePattern& pattern : nameType.m_patterns) {
        const auto& pools = pattern.DrawPools();
        CPatternNumbers& numbers = m_patterns.emplace_back();
        numbers.first = m_count;
        numbers.strides.resize(pools.size());
        std::uint64_t joins = 1;
        for (std::size_t draw = pools.size(); draw-- > 0;) {
            numbers.strides[draw] = joins;
            joins *= pools[draw]->Count();
            if (joins > limit) return false;
        }
        m_count += joins;
        if (m_count > limit) return false;
    }
    return true;
}
