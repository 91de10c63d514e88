/* Three names of every name type of a culture, from an init file or, without
 * one, from the data the user's settings name (made on the first run,
 * pointing at the sample data installed with the library).
 *   names-c KULTUR [INIT-DATEI]
 */
#include <stdio.h>
#include <veltrano/veltrano.h>

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        fprintf(stderr, "Aufruf: %s KULTUR [INIT-DATEI]\n", argv[0]);
        return 2;
    }
    const char* culture = argv[1];
    char* error = NULL;
    veltrano_data* data = veltrano_open(argc == 3 ? argv[2] : NULL, &error);
    if (data == NULL) {
        fprintf(stderr, "%s\n", error);
        veltrano_free(error);
        return 1;
    }
    char** types = veltrano_name_types(data, culture);
    if (types == NULL) {
        fprintf(stderr, "Unbekannte Kultur „%s“.\n", culture);
        veltrano_close(data);
        return 1;
    }
    int status = 0;
    veltrano_gen* gen = veltrano_generator(data, NULL); /* seeded by the system */
    for (size_t t = 0; types[t] != NULL; ++t) {
        veltrano_request request = {0};
        request.culture = culture;
        request.name_type = types[t];
        request.count = 3;
        /* A run that gives up early returns its names and an error. */
        char** names = veltrano_names(gen, &request, &error);
        printf("%s\n", types[t]);
        for (size_t n = 0; names != NULL && names[n] != NULL; ++n) printf("  %s\n", names[n]);
        if (error != NULL) {
            fprintf(stderr, "%s\n", error);
            veltrano_free(error);
            status = 1;
        }
        veltrano_free_list(names);
    }
    veltrano_free_list(types);
    veltrano_generator_free(gen); /* before the data it draws from */
    veltrano_close(data);
    return status;
}
