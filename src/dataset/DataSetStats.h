#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "planning/NameTypeStats.h"

class CDataSet;

// One row of veltrano-cli --stats: a name type of a culture, by their bytes.
struct CStatsRow {
    std::string culture;
    std::string nameType;
    CNameTypeStats stats;
};

// The rows of every name type of every culture, of one culture's name types,
// or of one name type (which needs its culture), in the order --list names
// them. Culture and name type are matched as generation matches them. False,
// with the message in `error`, for a culture or a name type that the data
// does not have.
bool MeasureDataSet(const CDataSet& data, std::optional<std::string_view> culture,
                    std::optional<std::string_view> nameType, std::vector<CStatsRow>& rows,
                    std::string& error);
