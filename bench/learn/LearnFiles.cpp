// Learns a file of example names into a fresh data set, so that
//
//   veltrano-cli --init ORDNER/init.txt --seed 1 -n 10 KULTUR NAMENSTYP
//
// makes names from it. The quality bench (measure-quality) runs it for every
// list in names/; it prints how long reading, learning and making the text
// took, which is the time learning adds to a command.
//
//   veltrano_learn_files BEISPIELE.txt ORDNER KULTUR NAMENSTYP [--crlf]

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "learning/ExampleNames.h"
#include "learning/LearnedText.h"
#include "learning/NameLearner.h"

namespace {

bool WriteFile(const std::filesystem::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) {
        std::fprintf(stderr, "„%s“ konnte nicht geschrieben werden.\n", path.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 5 || argc > 6 || (argc == 6 && std::string(argv[5]) != "--crlf")) {
        std::fprintf(stderr,
                     "Aufruf: veltrano_learn_files BEISPIELE.txt ORDNER KULTUR NAMENSTYP "
                     "[--crlf]\n");
        return 2;
    }
    const std::string examplesPath = argv[1];
    const std::filesystem::path folder = argv[2];
    const std::string lineEnd = argc == 6 ? "\r\n" : "\n";

    const auto start = std::chrono::steady_clock::now();
    std::vector<std::string> names;
    std::string error;
    if (!ReadExampleNames(examplesPath, names, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    const CLearnedNameType learned = LearnNameType(names);
    CLearnedText text;
    if (!MakeLearnedText(learned, FileNameOfPath(examplesPath), argv[3], argv[4], {}, lineEnd, text,
                         error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;

    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    const std::string init =
        "languages=sprachen.txt" + lineEnd + "semantics=semantik.txt" + lineEnd;
    if (!WriteFile(folder / "init.txt", init) ||
        !WriteFile(folder / "sprachen.txt", text.language) ||
        !WriteFile(folder / "semantik.txt", text.semantics)) {
        return 1;
    }
    std::printf("%zu Namen, %zu Listen, %zu Muster, gelernt in %.1f ms\n", names.size(),
                learned.lists.size(), learned.patterns.size(), took.count());
    return 0;
}
