#pragma once

#include <map>
#include <string>
#include <utility>

// The process-wide settings: the init file's key=value entries plus "DataDir",
// the data directory with a trailing "/". A data file's path is the value of
// "DataDir" followed by the value of its key; an absent key reads as empty.
using CSettingsMap = std::map<std::string, std::string>;
extern CSettingsMap SettingsMap;

// Set at start, set again by every successful WriteRegistryValue, cleared by
// LoadSettings: the next CConfigBase constructed then re-reads the init file.
extern bool SettingsReloadPending;

// The error texts that stand in for a store value that cannot be read.
inline constexpr const char* kErrorNoKey = "[Error: No Key]";
inline constexpr const char* kErrorUnknownSubkey = "[Error: Unknown Subkey]";

// The longest value the store reads or writes.
inline constexpr std::size_t kMaxRegistryValueLength = 4095;

// Reads one value of the program's store: its text, or kErrorNoKey when the
// store cannot be opened, or kErrorUnknownSubkey when the value is absent,
// longer than kMaxRegistryValueLength or unreadable.
std::string ReadRegistryValue(const std::string& valueName);

// Stores one value. Returns false, and changes nothing, when the store cannot
// be opened for writing, when the value is refused (too long, or holding a CR,
// LF or NUL byte) or when the write itself fails. On success marks the
// settings for re-reading.
bool WriteRegistryValue(const std::string& valueName, const std::string& value);

// Reads the store's DataDir and InitFile and then the init file into
// SettingsMap, and clears SettingsReloadPending. Entries are only added or
// overwritten, never removed.
void LoadSettings();

// Base of every data object: constructing one brings SettingsMap up to date.
class CConfigBase {
  public:
    // Marks an object that does not take part in the process's settings: one
    // of a data set that carries settings of its own, or one made while its
    // table loads, when the settings are current already.
    struct Detached {};
    static constexpr Detached kDetached{};

    CConfigBase();
    explicit CConfigBase(std::string name);
    CConfigBase(Detached /*detached*/, std::string name) : name(std::move(name)) {}
    // Copies never read the init file.
    CConfigBase(const CConfigBase& other);
    CConfigBase(CConfigBase&& other) noexcept;
    CConfigBase& operator=(const CConfigBase& other) = default;
    CConfigBase& operator=(CConfigBase&& other) noexcept = default;
    virtual ~CConfigBase();

    void SetName(std::string newName);
    std::string GetName() const;

  protected:
    std::string name;
};
