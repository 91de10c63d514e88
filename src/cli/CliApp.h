#pragma once

#include <cstdio>

// The whole program: parses the command line, reads the settings and the
// data, and does what was asked. Output goes to `out`, messages to `err`;
// returns the exit code: 0 success, 1 failure, 2 a command line that makes
// no sense (--check: 0 clean, 1 warnings only, 2 errors).
int RunCli(int argc, const char* const* argv, std::FILE* out, std::FILE* err);
