#include "settings/LineReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

// A line of kMaxLineLength bytes may be followed by a CR LF pair; with that
// much in the buffer a line and its end are always seen whole.
constexpr std::size_t kLookahead = CLineReader::kMaxLineLength + 2;
constexpr std::size_t kMaxBuffer = std::size_t{1} << 20;
constexpr std::size_t kMinBuffer = 4096;

}  // namespace

int OpenRegularFile(const std::string& path, int flags, struct stat& info) {
    if (path.find('\0') != std::string::npos) {
        return -1;
    }
    const int fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return -1;
    }
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

CLineReader::~CLineReader() { Reset(); }

// A reader opened again starts afresh, its earlier file closed.
void CLineReader::Reset() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    m_failed = false;
    m_fromMemory = false;
    m_lineNumber = 1;
    m_lineNumberOfLast = 0;
    m_wasCut = false;
    m_isContinuation = false;
}

bool CLineReader::Open(const std::string& path) {
    struct stat info {};
    const int fd = OpenRegularFile(path, O_RDONLY, info);
    if (fd < 0) {
        return false;
    }
    Reset();
    m_fd = fd;
    const auto size = static_cast<std::size_t>(std::max<off_t>(info.st_size, 0));
    m_capacity = std::clamp(size + 1, kMinBuffer, kMaxBuffer);
    m_buffer = std::make_unique_for_overwrite<char[]>(m_capacity);
    m_begin = m_end = m_buffer.get();
    m_eof = false;
    Fill();
    SkipByteOrderMark();
    return true;
}

void CLineReader::OpenText(std::string_view text) {
    Reset();
    m_fromMemory = true;
    m_begin = text.data();
    m_end = text.data() + text.size();
    m_eof = true;
    SkipByteOrderMark();
}

// Editors write a UTF-8 byte-order mark unseen; it is no part of the first
// line. The buffer holds at least its first kMinBuffer bytes here.
void CLineReader::SkipByteOrderMark() {
    m_begin += Utf8BomLength(std::string_view(m_begin, static_cast<std::size_t>(m_end - m_begin)));
}

bool CLineReader::Fill() {
    if (m_eof) {
        return false;
    }
    const std::size_t kept = static_cast<std::size_t>(m_end - m_begin);
    char* const buffer = m_buffer.get();
    std::memmove(buffer, m_begin, kept);
    m_begin = buffer;
    char* end = buffer + kept;
    const char* const limit = buffer + m_capacity;
    bool added = false;
    while (end < limit) {
        const ssize_t n = ::read(m_fd, end, static_cast<std::size_t>(limit - end));
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            m_failed = true;
            m_eof = true;
            break;
        }
        if (n == 0) {
            m_eof = true;
            break;
        }
        end += n;
        added = true;
    }
    m_end = end;
    return added;
}

bool CLineReader::Next(std::string_view& line) {
    const bool previousWasCut = m_wasCut;
    bool passedLineEnd = false;
    for (;;) {
        while (m_begin < m_end && IsCSpace(*m_begin)) {
            if (*m_begin == '\n') {
                ++m_lineNumber;
                passedLineEnd = true;
            }
            ++m_begin;
        }
        if (m_begin < m_end) {
            break;
        }
        if (!Fill()) {
            return false;
        }
    }
    if (static_cast<std::size_t>(m_end - m_begin) < kLookahead) {
        Fill();
    }

    m_lineNumberOfLast = m_lineNumber;
    m_isContinuation = previousWasCut && !passedLineEnd;

    const std::size_t available = static_cast<std::size_t>(m_end - m_begin);
    const auto* lf =
        static_cast<const char*>(std::memchr(m_begin, '\n', std::min(available, kLookahead)));
    std::size_t length = lf ? static_cast<std::size_t>(lf - m_begin) : available;
    if (lf && length > 0 && m_begin[length - 1] == '\r') {
        --length;
    }
    if (length > kMaxLineLength || (!lf && available >= kLookahead)) {
        line = std::string_view(m_begin, kMaxLineLength);
        m_begin += kMaxLineLength;
        m_wasCut = true;
        return true;
    }
    line = std::string_view(m_begin, length);
    m_wasCut = false;
    if (lf) {
        m_begin = lf + 1;
        ++m_lineNumber;
    } else {
        m_begin = m_end;
    }
    return true;
}
