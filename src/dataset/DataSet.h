#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "language/LanguageTable.h"
#include "semantics/Semantics.h"
#include "settings/SettingsSource.h"

// The data one init file names, loaded into tables of its own: its fragment
// lists and its semantics, read once and then only read, so that any number
// can live in a process and threads can share one. It neither reads nor
// changes the process's settings.
class CDataSet {
  public:
    // Loads the data `source` names. Data with errors is refused as
    // veltrano-cli refuses it: nullptr, with the errors in `errors`, one a
    // line, each as "FILE:LINE: text".
    static std::unique_ptr<const CDataSet> Load(const CSettingsSource& source,
                                                std::vector<std::string>& errors);

    CDataSet(const CDataSet&) = delete;
    CDataSet& operator=(const CDataSet&) = delete;

    const CSettingsSource& Source() const { return m_source; }
    const CSettingsMap& Settings() const { return m_settings; }
    const CLanguageTable& Lists() const { return m_lists; }
    const CSemantics& Semantics() const { return m_semantics; }

    using CultureEntry = std::pair<const std::string, CCulture>;
    using NameTypeEntry = std::pair<const std::string, CNameType>;

    // The culture an argument names: the one with exactly those bytes, or
    // else the one that reads as that text where the desktop program shows
    // it as Windows-1252, so that "männlich" typed in a UTF-8 terminal finds
    // "m\xe4nnlich". nullptr when none does.
    const CultureEntry* FindCulture(std::string_view argument) const;
    // The same for a name type of `culture`.
    static const NameTypeEntry* FindNameType(const CultureEntry& culture,
                                             std::string_view argument);

    // "Unbekannte Kultur „X“. Bekannt sind:" and the cultures, a line each.
    std::string UnknownCultureMessage(std::string_view argument) const;
    // "Unbekannter Namenstyp „T“ in der Kultur „K“. Bekannt sind:" and its
    // name types.
    static std::string UnknownNameTypeMessage(const CultureEntry& culture,
                                              std::string_view argument);
    // The name types of `culture`, each on a line of its own after a
    // two-blank indent, as the messages list them.
    static std::string Listing(const std::vector<std::string>& names);

  private:
    explicit CDataSet(CSettingsSource source);

    CSettingsSource m_source;
    CSettingsMap m_settings;
    CLanguageTable m_lists;
    // Its patterns point into m_lists: a data set never moves.
    CSemantics m_semantics;
};
