#include "dataset/DataSetStats.h"

#include "dataset/DataSet.h"

namespace {

void AddRows(const CDataSet& data, const CDataSet::CultureEntry& culture,
             std::vector<CStatsRow>& rows) {
    for (const auto& [name, nameType] : culture.second.m_nameTypes) {
        rows.push_back({culture.first, name, MeasureNameTypeStats(nameType, data.Lists())});
    }
}

}  // namespace

bool MeasureDataSet(const CDataSet& data, std::optional<std::string_view> culture,
                    std::optional<std::string_view> nameType, std::vector<CStatsRow>& rows,
                    std::string& error) {
    rows.clear();
    if (!culture) {
        for (const auto& entry : data.Semantics().m_cultures) AddRows(data, entry, rows);
        return true;
    }
    const CDataSet::CultureEntry* found = data.FindCulture(*culture);
    if (found == nullptr) {
        error = data.UnknownCultureMessage(*culture);
        return false;
    }
    if (!nameType) {
        AddRows(data, *found, rows);
        return true;
    }
    const CDataSet::NameTypeEntry* type = CDataSet::FindNameType(*found, *nameType);
    if (type == nullptr) {
        error = CDataSet::UnknownNameTypeMessage(*found, *nameType);
        return false;
    }
    rows.push_back({found->first, type->first, MeasureNameTypeStats(type->second, data.Lists())});
    return true;
}
