#pragma once

// Hostile inputs are read in a child process: a crash, an abort or a hang then
// fails one test with a clear message instead of taking the test program
// down, and the child's peak memory is the reader's alone.

#include <functional>
#include <string>

#include "Findings.h"

struct CIsolatedRun {
    bool finished = false;   // the work ran to its end and reported
    std::string message;     // what the work found wrong; empty when all was well
    int signal = 0;          // the signal that ended the child, if any
    bool timedOut = false;   // the child was stopped after its time limit
    long peakGrowthKb = -1;  // peak resident memory during the work, less the start
    double seconds = 0;      // how long the work took

    // True when the work finished and found nothing wrong.
    bool Ok() const { return finished && message.empty(); }
    // True when the work found that its check would not count here.
    bool Skipped() const { return message.rfind(kSkipPrefix, 0) == 0; }
    std::string Describe() const;
};

// Runs `work` in a forked child, stopped after `limitSeconds`. The work adds
// what it finds wrong to the findings it is given.
CIsolatedRun RunIsolated(const std::function<void(CFindings&)>& work, unsigned limitSeconds);

// False under AddressSanitizer, whose quarantine keeps freed memory resident:
// peak memory then says nothing about the reader.
bool MemoryIsMeasurable();
