#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A fragment list the learner made. Its role says what part of a name it
// holds ("anfang", "silbe", "vorn_vk", ...); the files name it after the
// culture and name type as well.
struct CLearnedList {
    std::string role;
    // In byte order. A fragment seen k times stands k times, since a list
    // draws each of its lines equally often.
    std::vector<std::string> fragments;
};

// One way to build a name: the lists to join, in order, and how often the
// way is chosen relative to the others.
struct CLearnedPattern {
    std::string label;
    std::uint32_t weight = 1;        // never 0, which the semantics file reads as 10
    std::vector<std::size_t> lists;  // indexes into CLearnedNameType::lists
};

struct CLearnedNameType {
    std::vector<CLearnedList> lists;
    std::vector<CLearnedPattern> patterns;
    std::size_t exampleCount = 0;
};

// Learns fragment lists and weighted patterns whose names sound like
// `examples`: distinct names in UTF-8, each with at most
// kMaxExampleNameBytes bytes and no line break, as ReadExampleNames gives
// them. The same examples in the same order always give the same result.
CLearnedNameType LearnNameType(const std::vector<std::string>& examples);
