/*
 * Veltrano: random names from fragment lists and weighted patterns kept in
 * three plain text files (an init file, a language file, a semantics file).
 * This is the C interface of libveltrano; the C++ one is <veltrano/veltrano.hpp>.
 *
 * Strings. Every string the library hands out is NUL-terminated and owned by
 * the caller, who gives it back with veltrano_free (a single string) or
 * veltrano_free_list (a list); never with free(). A list is an array of such
 * strings ending in NULL. Names, cultures and name types are the data files'
 * bytes, unchanged: UTF-8 or Windows-1252, whichever the files hold.
 *
 * Errors. A function that fails returns NULL. Where it takes `char **error`
 * and `error` is not NULL, *error then receives a German message (the one
 * veltrano-cli prints for the same refusal), to be freed with veltrano_free;
 * on success *error is set to NULL. Nothing is printed, nothing aborts, and
 * a NULL where an object is required is a failure like any other.
 *
 * Threads. A veltrano_data is read-only once opened: any number of threads
 * may use one at the same time. A veltrano_gen holds the state of a random
 * sequence: one thread at a time, or the caller's own lock. veltrano_open,
 * veltrano_close and veltrano_check may be called from several threads.
 *
 * Nothing here touches the process's rand(): each generator draws from a
 * sequence of its own.
 */
#ifndef VELTRANO_H
#define VELTRANO_H

#include <stddef.h>

#if defined(VELTRANO_BUILDING_LIBRARY)
#define VELTRANO_C_API __attribute__((visibility("default")))
#else
#define VELTRANO_C_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* A loaded data set: read-only, any threads. */
typedef struct veltrano_data veltrano_data;

/* A random source and the names drawn from it: one thread at a time. It
 * draws from the data set it was made from, which must outlive it. */
typedef struct veltrano_gen veltrano_gen;

/* What veltrano_names is asked for. Zero-initialise it and set what you need:
 * culture, name type and count. */
typedef struct veltrano_request {
    const char* culture;     /* matched as veltrano-cli matches it */
    const char* name_type;   /* likewise, within the culture */
    size_t count;            /* how many names; 0 gives an empty list */
    int unique;              /* non-zero: no name twice */
    const char* starts_with; /* NULL or "": no filter; case is ignored */
    const char* ends_with;   /* NULL or "": no filter; case is ignored */
    unsigned min_length;     /* 0: no filter; characters as shown */
    unsigned max_length;     /* 0: no filter */
    /* Names to leave out: a NULL-terminated list, or NULL for none. avoid
     * drops a name equal to an entry, avoid_containing one that contains an
     * entry, both ignoring case as the filters do; white space at either
     * end of an entry is no part of it. A generator keeps the lists of its
     * last request, so repeating long lists call after call costs little. */
    const char* const* avoid;
    const char* const* avoid_containing;
} veltrano_request;

/* Opens the data that the init file `init_file` names (its folder is the data
 * folder, and the user's settings are neither read nor written); NULL for the data
 * the user's settings name ($XDG_CONFIG_HOME/Brannock/Veltrano.conf). Where
 * there are no settings yet, they are created pointing at the sample data
 * installed beside the library, as veltrano-cli creates them, unless that
 * folder is missing: then the call fails and writes nothing. Data that
 * veltrano-cli would refuse (veltrano-cli --check finds an error) is refused
 * with the same messages, one a line. Free the result with veltrano_close. */
VELTRANO_C_API veltrano_data* veltrano_open(const char* init_file, char** error);

/* Releases a data set. NULL is allowed. Its generators must be freed first. */
VELTRANO_C_API void veltrano_close(veltrano_data* data);

/* The cultures, in byte order, as veltrano-cli --list gives them. NULL when
 * `data` is NULL or memory runs out. */
VELTRANO_C_API char** veltrano_cultures(const veltrano_data* data);

/* The name types of a culture, in byte order, as veltrano-cli --list CULTURE
 * gives them. NULL when `data` or `culture` is NULL, or no culture matches. */
VELTRANO_C_API char** veltrano_name_types(const veltrano_data* data, const char* culture);

/* Makes a generator that draws from `data`. With a seed, the names are those
 * of veltrano-cli --seed for the same request; `seed` NULL seeds it from the
 * system's random device. NULL when `data` is NULL. Free it with
 * veltrano_generator_free before closing the data. */
VELTRANO_C_API veltrano_gen* veltrano_generator(const veltrano_data* data, const unsigned* seed);

/* Releases a generator. NULL is allowed. */
VELTRANO_C_API void veltrano_generator_free(veltrano_gen* gen);

/* Makes request->count names, continuing the generator's sequence: two
 * requests for 5 names give the 10 names of one request for 10. Returns the
 * list, or NULL with *error when the request is refused before drawing (an
 * unknown culture or name type, a filter that nothing fits, avoid lists that
 * leave nothing, unique beyond the distinct names, a count that cannot fit in
 * memory). A run that gives up on a rare fit returns the names it made and
 * sets *error as well (NULL where it made none). A name holding a NUL byte,
 * which a C string cannot carry, fails the call: never a name cut short. */
VELTRANO_C_API char** veltrano_names(veltrano_gen* gen, const veltrano_request* request,
                                     char** error);

/* Checks the data that `init_file` names (NULL: the user's settings) as
 * veltrano-cli --check does: returns its lines, one a finding, and stores in
 * *worst (where `worst` is not NULL) the exit code --check gives: 0 clean,
 * 1 warnings only, 2 errors, 3 not checkable. Where it cannot check at all
 * (no settings, an unreadable init file) it returns NULL with *error and
 * *worst 3. Data that veltrano_open refuses can still be checked. */
VELTRANO_C_API char** veltrano_check(const char* init_file, int* worst, char** error);

/* Frees a string the library returned. NULL is allowed. */
VELTRANO_C_API void veltrano_free(char* text);

/* Frees a list the library returned, with its strings. NULL is allowed. */
VELTRANO_C_API void veltrano_free_list(char** list);

/* The library's version, such as "0.97"; a static string, not to be freed. */
VELTRANO_C_API const char* veltrano_version(void);

#ifdef __cplusplus
}
#endif

#endif /* VELTRANO_H */
