// The C interface, over the C++ one: handles that hold its objects, strings
// and lists in memory from malloc, which veltrano_free gives back, and a
// message for every NULL where an object belongs.

#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "library/LibraryText.h"
#include "text/Quoted.h"
#include "veltrano/veltrano.h"
#include "veltrano/veltrano.hpp"

struct veltrano_data {
    veltrano::Data data;
};

struct veltrano_gen {
    veltrano::Generator generator;
};

namespace {

constexpr const char* kNoData = "Die Daten fehlen (NULL).";
constexpr const char* kNoGenerator = "Der Generator fehlt (NULL).";
constexpr const char* kNoRequest = "Die Anfrage fehlt (NULL).";
constexpr const char* kNoCulture = "Der Anfrage fehlt die Kultur (NULL).";
constexpr const char* kNoNameType = "Der Anfrage fehlt der Namenstyp (NULL).";

// What a name kept in a list costs besides its bytes: its pointer, its NUL
// and the bookkeeping of its block.
constexpr std::size_t kKeptBytesPerName = sizeof(char*) + 1 + 16;

char* Copy(std::string_view text) {
    auto* copy = static_cast<char*>(std::malloc(text.size() + 1));
    if (copy == nullptr) return nullptr;
    std::memcpy(copy, text.data(), text.size());
    copy[text.size()] = '\0';
    return copy;
}

void Report(char** error, std::string_view message) {
    if (error != nullptr) *error = Copy(message);
}

std::string HoldsNulMessage(std::string_view name) {
    return "Der Name " + Quoted(name) +
           " enthält ein NUL-Byte; als C-Zeichenkette wäre er abgeschnitten.";
}

// A NULL-terminated list of strings from malloc, grown as names come.
class CStringList {
  public:
    CStringList() = default;
    CStringList(const CStringList&) = delete;
    CStringList& operator=(const CStringList&) = delete;
    ~CStringList() { veltrano_free_list(m_items); }

    // False when memory runs out or `text` holds a NUL byte, which a C
    // string cannot carry.
    bool Add(std::string_view text) {
        if (text.find('\0') != std::string_view::npos) return false;
        if (!Reserve(m_count + 2)) return false;
        char* copy = Copy(text);
        if (copy == nullptr) return false;
        m_items[m_count++] = copy;
        m_items[m_count] = nullptr;
        return true;
    }

    // The list, which the caller then owns; an empty one for no strings.
    char** Release() {
        if (!Reserve(1)) return nullptr;
        m_items[m_count] = nullptr;
        return std::exchange(m_items, nullptr);
    }

  private:
    bool Reserve(std::size_t slots) {
        if (slots <= m_capacity) return true;
        const std::size_t capacity = std::max(slots, m_capacity * 2);
        void* grown = std::realloc(m_items, capacity * sizeof(char*));
        if (grown == nullptr) return false;
        m_items = static_cast<char**>(grown);
        m_capacity = capacity;
        // Always a list that ends, for the destructor to free.
        m_items[m_count] = nullptr;
        return true;
    }

    char** m_items = nullptr;
    std::size_t m_count = 0;
    std::size_t m_capacity = 0;
};

char** ListOf(const std::vector<std::string>& items) {
    CStringList list;
    for (const std::string& item : items) {
        if (!list.Add(item)) return nullptr;
    }
    return list.Release();
}

std::vector<std::string> Entries(const char* const* list) {
    std::vector<std::string> entries;
    for (; list != nullptr && *list != nullptr; ++list) entries.emplace_back(*list);
    return entries;
}

veltrano::Request RequestOf(const veltrano_request& request) {
    veltrano::Request made;
    made.culture = request.culture;
    made.name_type = request.name_type;
    made.count = request.count;
    made.unique = request.unique != 0;
    if (request.starts_with != nullptr && *request.starts_with != '\0') {
        made.starts_with = request.starts_with;
    }
    if (request.ends_with != nullptr && *request.ends_with != '\0') {
        made.ends_with = request.ends_with;
    }
    if (request.min_length != 0) made.min_length = request.min_length;
    if (request.max_length != 0) made.max_length = request.max_length;
    made.avoid = Entries(request.avoid);
    made.avoid_containing = Entries(request.avoid_containing);
    return made;
}

}  // namespace

extern "C" {

veltrano_data* veltrano_open(const char* init_file, char** error) {
    if (error != nullptr) *error = nullptr;
    try {
        veltrano::Result<veltrano::Data> opened =
            init_file != nullptr ? veltrano::Data::open(init_file) : veltrano::Data::open();
        if (!opened) {
            Report(error, opened.error);
            return nullptr;
        }
        return new veltrano_data{std::move(opened.value)};
    } catch (const std::bad_alloc&) {
        Report(error, kOutOfMemoryMessage);
        return nullptr;
    }
}

void veltrano_close(veltrano_data* data) { delete data; }

char** veltrano_cultures(const veltrano_data* data) {
    if (data == nullptr) return nullptr;
    try {
        return ListOf(data->data.cultures());
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

char** veltrano_name_types(const veltrano_data* data, const char* culture) {
    if (data == nullptr || culture == nullptr) return nullptr;
    try {
        const veltrano::Result<std::vector<std::string>> types = data->data.name_types(culture);
        return types ? ListOf(types.value) : nullptr;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

veltrano_gen* veltrano_generator(const veltrano_data* data, const unsigned* seed) {
    if (data == nullptr) return nullptr;
    try {
        return new veltrano_gen{seed != nullptr ? data->data.generator(*seed)
                                                : data->data.generator()};
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void veltrano_generator_free(veltrano_gen* gen) { delete gen; }

char** veltrano_names(veltrano_gen* gen, const veltrano_request* request, char** error) {
    if (error != nullptr) *error = nullptr;
    const char* missing = gen == nullptr                  ? kNoGenerator
                          : request == nullptr            ? kNoRequest
                          : request->culture == nullptr   ? kNoCulture
                          : request->name_type == nullptr ? kNoNameType
                                                          : nullptr;
    if (missing != nullptr) {
        Report(error, missing);
        return nullptr;
    }
    try {
        CStringList list;
        std::string refused;
        bool memoryOut = false;
        const veltrano::Result<std::uint64_t> made = gen->generator.names(
            RequestOf(*request),
            [&](std::string_view name) {
                if (list.Add(name)) return true;
                if (name.find('\0') != std::string_view::npos) {
                    refused = HoldsNulMessage(name);
                } else {
                    memoryOut = true;
                }
                return false;
            },
            kKeptBytesPerName);
        if (!refused.empty() || memoryOut) {
            Report(error, memoryOut ? kOutOfMemoryMessage : refused);
            return nullptr;
        }
        // Refused before drawing, or gave up before the first name.
        if (!made && made.value == 0) {
            Report(error, made.error);
            return nullptr;
        }
        char** names = list.Release();
        if (names == nullptr) {
            Report(error, kOutOfMemoryMessage);
        } else if (!made) {
            Report(error, made.error);
        }
        return names;
    } catch (const std::bad_alloc&) {
        Report(error, kOutOfMemoryMessage);
        return nullptr;
    }
}

char** veltrano_check(const char* init_file, int* worst, char** error) {
    if (error != nullptr) *error = nullptr;
    if (worst != nullptr) *worst = 3;
    try {
        const veltrano::Result<veltrano::CheckReport> report =
            init_file != nullptr ? veltrano::check(init_file) : veltrano::check();
        if (!report) {
            Report(error, report.error);
            return nullptr;
        }
        std::vector<std::string> lines;
        for (const veltrano::Finding& finding : report.value.findings) {
            lines.push_back(finding.text());
        }
        char** list = ListOf(lines);
        if (list == nullptr) {
            Report(error, kOutOfMemoryMessage);
            return nullptr;
        }
        if (worst != nullptr) *worst = report.value.exit_code;
        return list;
    } catch (const std::bad_alloc&) {
        Report(error, kOutOfMemoryMessage);
        return nullptr;
    }
}

void veltrano_free(char* text) { std::free(text); }

void veltrano_free_list(char** list) {
    if (list == nullptr) return;
    for (char** item = list; *item != nullptr; ++item) std::free(*item);
    std::free(static_cast<void*>(list));
}

const char* veltrano_version(void) { return VELTRANO_VERSION; }

}  // extern "C"
