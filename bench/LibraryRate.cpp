// veltrano_bench_library: how many names a second a program that links
// libveltrano makes in-process, through the C++ interface's streaming calls
// (a name at a time, and as lines), to set against veltrano-cli's rate for
// the same request.
//   veltrano_bench_library INIT CULTURE NAMETYPE COUNT

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <veltrano/veltrano.hpp>

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s INIT CULTURE NAMETYPE COUNT\n", argv[0]);
        return 2;
    }
    const veltrano::Result<veltrano::Data> data = veltrano::Data::open(argv[1]);
    if (!data) {
        std::fprintf(stderr, "%s\n", data.error.c_str());
        return 1;
    }
    const veltrano::Request request{argv[2], argv[3], std::strtoull(argv[4], nullptr, 10)};
    for (const bool asLines : {false, true}) {
        veltrano::Generator gen = data.value.generator(1);
        std::size_t bytes = 0;
        const auto count = [&](std::string_view text) {
            bytes += text.size() + (asLines ? 0 : 1);
            return true;
        };
        const auto start = std::chrono::steady_clock::now();
        const veltrano::Result<std::uint64_t> made =
            asLines ? gen.lines(request, count) : gen.names(request, count);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        if (!made) {
            std::fprintf(stderr, "%s\n", made.error.c_str());
            return 1;
        }
        std::printf("%-9s %llu names, %zu bytes in %.3f s: %.1f million names a second\n",
                    asLines ? "lines:" : "names:", static_cast<unsigned long long>(made.value),
                    bytes, took.count(), static_cast<double>(made.value) / took.count() / 1e6);
    }
    return 0;
}
