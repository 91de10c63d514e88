#pragma once

#include <string>
#include <vector>

#include "dataset/DataSetStats.h"

// The rows of veltrano-cli --stats for people: a table with German headings,
// its columns aligned by characters as shown, numbers in German notation, and
// ≥, ≤ and ≈ before what is a bound or an estimate.
std::string StatsTable(const std::vector<CStatsRow>& rows);

// The same for scripts (--tsv): one header line of ASCII column names, then a
// line a row, tab-separated; numbers plain with a decimal point, exactness in
// columns of its own (1 or 0).
std::string StatsTsv(const std::vector<CStatsRow>& rows);
