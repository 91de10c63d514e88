// Three names of every name type of a culture, from an init file or, without
// one, from the data the user's settings name (made on the first run,
// pointing at the sample data installed with the library).
//   names-cpp KULTUR [INIT-DATEI]

#include <iostream>
#include <string>
#include <veltrano/veltrano.hpp>

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::cerr << "Aufruf: " << argv[0] << " KULTUR [INIT-DATEI]\n";
        return 2;
    }
    const std::string culture = argv[1];
    veltrano::Result<veltrano::Data> data =
        argc == 3 ? veltrano::Data::open(argv[2]) : veltrano::Data::open();
    if (!data) {
        std::cerr << data.error << '\n';
        return 1;
    }
    veltrano::Result<std::vector<std::string>> types = data.value.name_types(culture);
    if (!types) {
        std::cerr << types.error << '\n';
        return 1;
    }
    int status = 0;
    veltrano::Generator generator = data.value.generator();  // seeded by the system
    for (const std::string& type : types.value) {
        veltrano::Request request;
        request.culture = culture;
        request.name_type = type;
        request.count = 3;
        // A run that gives up early keeps its names and says why.
        veltrano::Result<std::vector<std::string>> names = generator.names(request);
        std::cout << type << '\n';
        for (const std::string& name : names.value) std::cout << "  " << name << '\n';
        if (!names) {
            std::cerr << names.error << '\n';
            status = 1;
        }
    }
    return status;
}
