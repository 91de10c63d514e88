#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "dataset/NameRequest.h"

// Writes names to a stream through a large buffer of its own, one name a
// line: LF after each name, or CR LF between names (nothing after the last)
// exactly as the desktop program's saved list has it. Names are bytes and are
// written unchanged.
class CNameWriter : public CNameSink {
  public:
    static constexpr std::size_t kBufferSize = 1 << 20;

    CNameWriter(std::FILE* stream, bool crlf);
    CNameWriter(const CNameWriter&) = delete;
    CNameWriter& operator=(const CNameWriter&) = delete;
    ~CNameWriter() override;

    // False once a write has failed; later calls then write nothing. An
    // `explanation` follows the name on its line, after a tab.
    bool Write(std::string_view name, std::string_view explanation = {});
    // A batch of a run's names, as Write would write each.
    bool Take(const CNameBatch& names) override;
    // Writes out what is buffered and flushes the stream.
    bool Flush();

    bool Failed() const { return m_failed; }
    // errno of the failed write, 0 when none failed.
    int ErrorNumber() const { return m_errorNumber; }

  private:
    bool WriteBuffer();
    bool WriteBytes(std::string_view bytes);

    std::FILE* m_stream;
    bool m_crlf;
    bool m_wroteBytes = false;
    bool m_failed = false;
    int m_errorNumber = 0;
    std::string m_buffer;
};
