#include "cli/StatsTable.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string_view>

#include "text/Quoted.h"
#include "text/TextReading.h"

namespace {

constexpr std::uint64_t kNoBound = std::numeric_limits<std::uint64_t>::max();

constexpr std::size_t kColumns = 8;
constexpr std::array<std::string_view, kColumns> kHeadings = {
    "Kultur",    "Namenstyp", "Muster",    "Namen", "Wiederholungen in 99",
    "kürzester", "längster",  "seltenster"};
// Text is aligned left, numbers right.
constexpr std::size_t kTextColumns = 2;
constexpr std::string_view kOnlyEmpty = "ergibt nur leere Namen";

// Characters of UTF-8 text, as the terminal shows them.
std::size_t Width(std::string_view text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

// Bytes from the data, shown as the desktop program shows them and escaped
// as messages escape them, so that a tab in a name cannot break the columns.
std::string Shown(std::string_view bytes) {
    return Escaped(IsValidUtf8(bytes) ? std::string(bytes) : Windows1252ToUtf8(bytes));
}

// 1.234.567
std::string Grouped(std::uint64_t number) {
    const std::string digits = std::to_string(number);
    std::string text;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) text += '.';
        text += digits[i];
    }
    return text;
}

// printf's decimal point as a German decimal comma.
std::string Decimal(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    std::string decimal = text;
    std::replace(decimal.begin(), decimal.end(), '.', ',');
    return decimal;
}

// A chance as "1 von N": 1 von 3, 1 von 2,5, 1 von 1.030.301.
std::string OneIn(double chance) {
    const double n = 1.0 / chance;
    if (n < 1000.0) {
        std::string text = Decimal("%.2f", n);
        while (text.back() == '0') text.pop_back();
        if (text.back() == ',') text.pop_back();
        return "1 von " + text;
    }
    if (n < 1e15) return "1 von " + Grouped(static_cast<std::uint64_t>(std::llround(n)));
    return "1 von " + Decimal("%.2e", n);
}

std::string NamesCell(const CNameTypeStats& stats) {
    if (stats.namesExact) return Grouped(stats.names);
    const std::string lower = "≥ " + Grouped(stats.names);
    return stats.namesAtMost == kNoBound ? lower : lower + ", ≤ " + Grouped(stats.namesAtMost);
}

std::array<std::string, kColumns> Cells(const CStatsRow& row) {
    const CNameTypeStats& stats = row.stats;
    if (stats.onlyEmptyNames) return {Shown(row.culture), Shown(row.nameType)};
    return {Shown(row.culture),
            Shown(row.nameType),
            std::to_string(stats.patterns),
            NamesCell(stats),
            (stats.repeatsExact ? "" : "≈ ") + Decimal("%.3f", stats.repeatsIn99),
            (stats.lengthsExact ? "" : "≥ ") + std::to_string(stats.shortest),
            (stats.lengthsExact ? "" : "≤ ") + std::to_string(stats.longest),
            (stats.rarestExact ? "" : "≥ ") + OneIn(stats.rarest)};
}

void AppendLine(std::string& table, const std::array<std::string, kColumns>& cells,
                const std::array<std::size_t, kColumns>& widths, std::size_t used) {
    std::string line;
    for (std::size_t column = 0; column < used; ++column) {
        const std::string padding(widths[column] - Width(cells[column]), ' ');
        if (column > 0) line += "  ";
        line += column < kTextColumns ? cells[column] + padding : padding + cells[column];
    }
    if (used < kColumns) line += "  " + std::string(kOnlyEmpty);
    while (!line.empty() && line.back() == ' ') line.pop_back();
    table += line + '\n';
}

// A number as scripts read it: the shortest text that reads back as it.
std::string Plain(double value) {
    char text[64];
    const std::to_chars_result end = std::to_chars(text, text + sizeof text, value);
    return std::string(text, end.ptr);
}

std::string Flag(bool set) { return set ? "1" : "0"; }

}  // namespace

std::string StatsTable(const std::vector<CStatsRow>& rows) {
    std::array<std::string, kColumns> headings;
    std::array<std::size_t, kColumns> widths{};
    for (std::size_t column = 0; column < kColumns; ++column) {
        headings[column] = kHeadings[column];
        widths[column] = Width(kHeadings[column]);
    }
    std::vector<std::array<std::string, kColumns>> lines;
    for (const CStatsRow& row : rows) {
        lines.push_back(Cells(row));
        const std::size_t used = row.stats.onlyEmptyNames ? kTextColumns : kColumns;
        for (std::size_t column = 0; column < used; ++column) {
            widths[column] = std::max(widths[column], Width(lines.back()[column]));
        }
    }
    std::string table;
    AppendLine(table, headings, widths, kColumns);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        AppendLine(table, lines[i], widths, rows[i].stats.onlyEmptyNames ? kTextColumns : kColumns);
    }
    return table;
}

std::string StatsTsv(const std::vector<CStatsRow>& rows) {
    std::string tsv =
        "culture\tname_type\tonly_empty\tpatterns\tnames\tnames_at_most\tnames_exact\t"
        "repeats_in_99\trepeats_exact\tshortest\tlongest\tlengths_exact\trarest\trarest_exact\n";
    for (const CStatsRow& row : rows) {
        const CNameTypeStats& stats = row.stats;
        tsv += Escaped(row.culture) + '\t' + Escaped(row.nameType) + '\t';
        if (stats.onlyEmptyNames) {
            tsv += "1\t\t\t\t\t\t\t\t\t\t\t\n";
            continue;
        }
        tsv += "0\t" + std::to_string(stats.patterns) + '\t' + std::to_string(stats.names) + '\t' +
               (stats.namesAtMost == kNoBound ? "" : std::to_string(stats.namesAtMost)) + '\t' +
               Flag(stats.namesExact) + '\t' + Plain(stats.repeatsIn99) + '\t' +
               Flag(stats.repeatsExact) + '\t' + std::to_string(stats.shortest) + '\t' +
               std::to_string(stats.longest) + '\t' + Flag(stats.lengthsExact) + '\t' +
               Plain(stats.rarest) + '\t' + Flag(stats.rarestExact) + '\n';
    }
    return tsv;
}
