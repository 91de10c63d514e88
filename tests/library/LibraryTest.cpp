// libveltrano through its public headers only, as a program that embeds it
// sees it: bad input at the C interface as one table, then what must hold for
// an embedder: its rand() untouched, the names of veltrano-cli --seed, data
// sets side by side, threads sharing one.

#include <veltrano/veltrano.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>
#include <veltrano/veltrano.hpp>

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

// A data set in a folder of its own: T makes four names, N one with a NUL
// byte, R two names and a third once in 2^31 draws.
class CDataFolder {
  public:
    explicit CDataFolder(const std::string& culture = "V") {
        m_dir = fs::temp_directory_path() /
                ("veltrano-library-" + std::to_string(::getpid()) + "-" + std::to_string(s_next++));
        fs::create_directories(m_dir);
        Write("init.txt", "languages=l.txt\nsemantics=s.txt\n");
        Write("l.txt", "[start]\nka\nlo\n[end]\nra\nnu\n[nul]\na\0b\n[z]\nz\n"s);
        Write("s.txt",
              "[" + culture + "]\np:1:T:^start,end\nn:1:N:nul\nr:2147483646:R:start\ns:1:R:z\n");
    }
    ~CDataFolder() { fs::remove_all(m_dir); }
    std::string Init() const { return (m_dir / "init.txt").string(); }

  private:
    void Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(m_dir / name, std::ios::binary) << bytes;
    }
    static inline int s_next = 0;
    fs::path m_dir;
};

std::vector<std::string> Names(veltrano::Generator& gen, const veltrano::Request& request) {
    veltrano::Result<std::vector<std::string>> made = gen.names(request);
    EXPECT_TRUE(made.ok()) << made.error;
    return made.value;
}

// What a C call gave: the list (as strings; null when it failed) and the error.
struct CResult {
    bool failed;
    std::vector<std::string> items;
    std::string error;
};

CResult Take(char** list, char* error) {
    CResult result{list == nullptr, {}, error != nullptr ? error : ""};
    for (char** item = list; item != nullptr && *item != nullptr; ++item) {
        result.items.emplace_back(*item);
    }
    veltrano_free_list(list);
    veltrano_free(error);
    return result;
}

veltrano_request Request(const char* culture, const char* nameType, std::size_t count) {
    veltrano_request request{};
    request.culture = culture;
    request.name_type = nameType;
    request.count = count;
    return request;
}

TEST(CInterface, RefusesBadInputClearlyAndNeverCrashes) {
    const CDataFolder folder;
    char* error = nullptr;
    veltrano_data* data = veltrano_open(folder.Init().c_str(), &error);
    ASSERT_NE(data, nullptr) << error;
    const unsigned seed = 1;
    veltrano_gen* gen = veltrano_generator(data, &seed);
    const auto names = [](veltrano_gen* from, const veltrano_request* request) {
        char* message = nullptr;
        char** list = veltrano_names(from, request, &message);
        return Take(list, message);
    };
    veltrano_request unfit = Request("V", "T", 1);
    unfit.starts_with = "q";
    veltrano_request tooMany = Request("V", "T", 5);
    tooMany.unique = 1;
    veltrano_request rare = Request("V", "R", 3);
    rare.unique = 1;
    // Read as a line of an avoid file: blanks around it are no part of it.
    const char* const avoided[] = {" KARA\t", nullptr};
    veltrano_request avoiding = Request("V", "T", 4);
    avoiding.unique = 1;
    avoiding.avoid = avoided;
    const veltrano_request plain = Request("V", "T", 2);
    const veltrano_request requests[] = {Request(nullptr, "T", 1), Request("W", "T", 1),
                                         Request("V", "T", SIZE_MAX), Request("V", "N", 1),
                                         Request("V", "T", 0)};
    char* openError = nullptr;
    veltrano_open("/nonexistent/init.txt", &openError);

    struct Row {
        const char* what;
        CResult got;
        bool failed;
        std::string error;  // a prefix where the rest depends on the machine
    };
    const Row rows[] = {
        {"missing init file", Take(nullptr, openError), true,
         "Die Init-Datei „/nonexistent/init.txt“ fehlt oder ist nicht lesbar."},
        {"NULL generator", names(nullptr, &plain), true, "Der Generator fehlt (NULL)."},
        {"NULL request", names(gen, nullptr), true, "Die Anfrage fehlt (NULL)."},
        {"NULL culture", names(gen, &requests[0]), true, "Der Anfrage fehlt die Kultur (NULL)."},
        {"unknown culture", names(gen, &requests[1]), true,
         "Unbekannte Kultur „W“. Bekannt sind:\n  V"},
        {"count beyond memory", names(gen, &requests[2]), true,
         "Für 18446744073709551615 Namen reicht der Arbeitsspeicher nicht"},
        {"a filter that nothing fits", names(gen, &unfit), true,
         "Der Namenstyp „T“ der Kultur „V“ ergibt keinen Namen, der mit „q“ beginnt."},
        {"unique beyond the distinct names", names(gen, &tooMany), true,
         "Der Namenstyp „T“ der Kultur „V“ ergibt genau 4 verschiedene Namen, nicht 5."},
        {"unique beyond the names not avoided", names(gen, &avoiding), true,
         "Der Namenstyp „T“ der Kultur „V“ ergibt genau 3 verschiedene Namen, die nicht "
         "gemieden werden, nicht 4."},
        {"a name with a NUL byte", names(gen, &requests[3]), true, "Der Name „a\\x00b“ enthält"},
        {"count 0", names(gen, &requests[4]), false, ""},
        {"a rare fit gives up with what it made", names(gen, &rare), false,
         "Nach 10000000 Versuchen in Folge ohne neuen Namen aufgehört: 2 von 3 Namen"},
        {"NULL data", Take(veltrano_cultures(nullptr), nullptr), true, ""},
        {"NULL culture to list", Take(veltrano_name_types(data, nullptr), nullptr), true, ""},
        {"unknown culture to list", Take(veltrano_name_types(data, "W"), nullptr), true, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(row.got.failed, row.failed);
        EXPECT_EQ(row.got.error.substr(0, row.error.size()), row.error);
        EXPECT_EQ(row.got.error.empty(), row.error.empty());
    }
    EXPECT_EQ(rows[11].got.items, (std::vector<std::string>{"lo", "ka"}));
    EXPECT_EQ(veltrano_generator(nullptr, &seed), nullptr);
    veltrano_generator_free(nullptr);
    veltrano_close(nullptr);
    veltrano_free(nullptr);
    veltrano_free_list(nullptr);
    veltrano_generator_free(gen);
    veltrano_close(data);
}

TEST(Embedding, TheHostsRandSequenceIsUntouched) {
    std::srand(5);
    std::vector<int> alone(8);
    for (int& value : alone) value = std::rand();

    std::srand(5);
    const CDataFolder folder;
    veltrano_data* data = veltrano_open(folder.Init().c_str(), nullptr);
    veltrano_gen* gen = veltrano_generator(data, nullptr);
    const veltrano_request request = Request("V", "T", 100);
    veltrano_free_list(veltrano_names(gen, &request, nullptr));
    veltrano::Generator seeded = veltrano::Data::open(folder.Init()).value.generator(3);
    Names(seeded, {"V", "T", 100});
    std::vector<int> embedded(8);
    for (int& value : embedded) value = std::rand();
    veltrano_generator_free(gen);
    veltrano_close(data);
    EXPECT_EQ(embedded, alone);
}

// R makes "ka" and "lo", each nearly half the time, and "z" once in 2^31 - 1
// draws: every field of its row differs from the others.
TEST(Embedding, StatsGiveEveryFieldOfTheRow) {
    const CDataFolder folder;
    const veltrano::Data data = veltrano::Data::open(folder.Init()).value;
    const veltrano::Result<std::vector<veltrano::Stats>> all = data.stats();
    ASSERT_TRUE(all.ok()) << all.error;
    ASSERT_EQ(all.value.size(), 3U);
    const veltrano::Stats& rare = all.value[1];
    EXPECT_EQ(rare.culture + "/" + rare.name_type, "V/R");
    EXPECT_FALSE(rare.only_empty);
    EXPECT_EQ(rare.patterns, 2U);
    EXPECT_EQ(rare.names, 3U);
    EXPECT_EQ(rare.names_at_most, 3U);
    EXPECT_NEAR(rare.repeats_in_99, 97.0 - 99.0 / 2147483647, 1e-12);
    EXPECT_EQ(rare.shortest, 1U);
    EXPECT_EQ(rare.longest, 2U);
    EXPECT_DOUBLE_EQ(rare.rarest, 1.0 / 2147483647);
    EXPECT_TRUE(rare.names_exact && rare.repeats_exact && rare.lengths_exact && rare.rarest_exact);
    EXPECT_EQ(data.stats("V", "T").value.at(0).name_type, "T");
    EXPECT_EQ(data.stats("V", "X").error,
              "Unbekannter Namenstyp „X“ in der Kultur „V“. Bekannt sind:\n  N\n  R\n  T");
    EXPECT_EQ(data.stats(std::nullopt, "T").error, "Zum Namenstyp fehlt die Kultur.");
}

#ifdef VELTRANO_CLI
// The names of veltrano-cli --init INIT ARGS.
std::vector<std::string> CliNames(const std::string& init, const std::string& args) {
    const std::string command = std::string(VELTRANO_CLI) + " --init '" + init + "' " + args;
    std::FILE* pipe = ::popen(command.c_str(), "r");
    std::vector<std::string> names;
    char line[256];
    while (pipe != nullptr && std::fgets(line, sizeof line, pipe) != nullptr) {
        names.emplace_back(line, std::strlen(line) - 1);
    }
    if (pipe != nullptr) ::pclose(pipe);
    return names;
}

TEST(Embedding, ASeedGivesTheNamesOfTheCommandLineToolInPieces) {
    const std::string init = VELTRANO_SAMPLE_DATA_DIR "/init.txt";
    const veltrano::Data data = veltrano::Data::open(init).value;
    veltrano::Request fitting{"Bergzwerge", "Sippenname", 80};
    fitting.unique = true;
    fitting.starts_with = "k";
    fitting.max_length = 12;
    // Drawn a round at a time, avoided names must still leave the sequence
    // where the second request goes on.
    veltrano::Request avoiding{"Waldelben", "Vorname weiblich", 30};
    avoiding.avoid_containing = {"il", "A"};
    const std::string avoidFile = fs::temp_directory_path() / "veltrano-library-avoid.txt";
    std::ofstream(avoidFile) << "il\nA\n";
    struct Row {
        std::uint32_t seed;
        veltrano::Request request;
        std::string cliArgs;
    } const rows[] = {
        {0, {"Waldelben", "Vorname weiblich", 30}, "-s 1 -n 60 Waldelben 'Vorname weiblich'"},
        {77, fitting, "-s 77 -n 80 -u --starts-with k --max-length 12 Bergzwerge Sippenname"},
        {5, avoiding,
         "-s 5 -n 60 --avoid-containing " + avoidFile + " Waldelben 'Vorname weiblich'"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.cliArgs);
        // Two requests continue one sequence; --unique remembers within a
        // request only, so such a run is asked for whole.
        veltrano::Generator gen = data.generator(row.seed);
        std::vector<std::string> names = Names(gen, row.request);
        if (!row.request.unique) {
            const std::vector<std::string> more = Names(gen, row.request);
            names.insert(names.end(), more.begin(), more.end());
        }
        EXPECT_EQ(names, CliNames(init, row.cliArgs));
    }
    fs::remove(avoidFile);
}
#endif

TEST(Embedding, DataSetsSideBySideAndThreadsSharingOne) {
    const CDataFolder elves("Elben");
    const CDataFolder dwarves("Zwerge");
    const veltrano::Data first = veltrano::Data::open(elves.Init()).value;
    const veltrano::Data second = veltrano::Data::open(dwarves.Init()).value;
    EXPECT_EQ(first.cultures(), std::vector<std::string>{"Elben"});
    EXPECT_EQ(second.cultures(), std::vector<std::string>{"Zwerge"});
    EXPECT_FALSE(second.name_types("Elben").ok());

    const veltrano::Data sample = veltrano::Data::open(VELTRANO_SAMPLE_DATA_DIR "/init.txt").value;
    const veltrano::Request request{"Waldelben", "Vorname männlich", 20000};
    std::vector<std::vector<std::string>> alone;
    for (std::uint32_t seed = 1; seed <= 4; ++seed) {
        veltrano::Generator gen = sample.generator(seed);
        alone.push_back(Names(gen, request));
    }
    std::vector<std::vector<std::string>> together(4);
    std::vector<std::thread> threads;
    for (std::uint32_t seed = 1; seed <= 4; ++seed) {
        threads.emplace_back([&, seed] {
            // Opening and closing, too, may happen in several threads at once.
            veltrano_close(veltrano_open(VELTRANO_SAMPLE_DATA_DIR "/init.txt", nullptr));
            veltrano::Generator gen = sample.generator(seed);
            together[seed - 1] = gen.names(request).value;
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(together, alone);
}

}  // namespace
