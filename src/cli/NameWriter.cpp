#include "cli/NameWriter.h"

#include <cerrno>

CNameWriter::CNameWriter(std::FILE* stream, bool crlf) : m_stream(stream), m_crlf(crlf) {
    m_buffer.reserve(kBufferSize);
}

// Whatever is still buffered is written, but a failure here has nobody to
// report to: callers that care call Flush().
CNameWriter::~CNameWriter() { Flush(); }

bool CNameWriter::Write(std::string_view name) {
    if (m_failed) return false;
    if (m_crlf) {
        if (!m_first) m_buffer.append("\r\n");
        m_buffer.append(name);
    } else {
        m_buffer.append(name);
        m_buffer.push_back('\n');
    }
    m_first = false;
    return m_buffer.size() < kBufferSize || WriteBuffer();
}

bool CNameWriter::Flush() {
    if (!WriteBuffer()) return false;
    errno = 0;
    if (std::fflush(m_stream) != 0) {
        m_failed = true;
        m_errorNumber = errno;
        return false;
    }
    return true;
}

bool CNameWriter::WriteBuffer() {
    if (m_failed) return false;
    if (m_buffer.empty()) return true;
    errno = 0;
    const std::size_t written = std::fwrite(m_buffer.data(), 1, m_buffer.size(), m_stream);
    if (written != m_buffer.size()) {
        m_failed = true;
        m_errorNumber = errno;
        return false;
    }
    m_buffer.clear();
    return true;
}
