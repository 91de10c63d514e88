#include "cli/NameWriter.h"

#include <cerrno>

CNameWriter::CNameWriter(std::FILE* stream, bool crlf) : m_stream(stream), m_crlf(crlf) {
    m_buffer.reserve(kBufferSize);
}

// Whatever is still buffered is written, but a failure here has nobody to
// report to: callers that care call Flush().
CNameWriter::~CNameWriter() { Flush(); }

bool CNameWriter::Write(std::string_view name, std::string_view explanation) {
    if (m_failed) return false;
    // The desktop program's join: a name is preceded by CR LF only when
    // something is already written, so leading empty names leave no line.
    if (m_crlf && m_wroteBytes) m_buffer.append("\r\n");
    m_buffer.append(name);
    if (!explanation.empty()) {
        m_buffer.push_back('\t');
        m_buffer.append(explanation);
    }
    if (m_crlf) {
        m_wroteBytes = m_wroteBytes || !name.empty() || !explanation.empty();
    } else {
        m_buffer.push_back('\n');
    }
    return m_buffer.size() < kBufferSize || WriteBuffer();
}

bool CNameWriter::Take(const CNameBatch& names) {
    if (names.Explained()) {
        names.ForEachExplained([this](std::string_view name, std::string_view explanation) {
            Write(name, explanation);
        });
        return !m_failed;
    }
    if (m_crlf) {
        names.ForEach([this](std::string_view name) { Write(name); });
        return !m_failed;
    }
    // One name a line is how the batch holds them already.
    return WriteBuffer() && WriteBytes(names.Text());
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
    if (!WriteBytes(m_buffer)) return false;
    m_buffer.clear();
    return true;
}

bool CNameWriter::WriteBytes(std::string_view bytes) {
    if (m_failed) return false;
    if (bytes.empty()) return true;
    errno = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), m_stream) != bytes.size()) {
        m_failed = true;
        m_errorNumber = errno;
        return false;
    }
    return true;
}
