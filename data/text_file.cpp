#include "data/text_file.h"

#include <fcntl.h>
#include <iconv.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>

namespace horalun {
namespace {

// Length of the well-formed UTF-8 sequence at the start of `s`, 0 when it is not one
// (overlong forms, surrogates and values above U+10FFFF are not well-formed).
size_t utf8_sequence_length(std::string_view s) {
    const unsigned char lead = static_cast<unsigned char>(s[0]);
    if (lead < 0x80) return 1;
    size_t length;
    std::uint32_t cp;
    std::uint32_t smallest;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, cp = lead & 0x1F, smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, cp = lead & 0x0F, smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, cp = lead & 0x07, smallest = 0x10000;
    } else {
        return 0;
    }
    if (s.size() < length) return 0;
    for (size_t i = 1; i < length; ++i) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if ((c & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (c & 0x3F);
    }
    if (cp < smallest || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return length;
}

bool is_ascii(std::string_view s) {
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

bool is_valid_utf8(std::string_view s) {
    while (!s.empty()) {
        const size_t n = utf8_sequence_length(s);
        if (n == 0) return false;
        s.remove_prefix(n);
    }
    return true;
}

// One conversion descriptor per direction and thread, opened on first use.
class Converter {
  public:
    Converter(const char* to, const char* from, const char* toAlias, const char* fromAlias) {
        cd_ = iconv_open(to, from);
        if (cd_ == kNone) cd_ = iconv_open(toAlias, fromAlias);
    }
    ~Converter() {
        if (cd_ != kNone) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts `in`, putting "?" for every character or byte that does not convert.
    std::string convert(std::string_view in, bool fromUtf8) {
        if (is_ascii(in)) return std::string(in);  // both encodings agree on ASCII
        std::string out;
        if (cd_ == kNone) {
            // No converter in this C library: keep what is certain, mark the rest.
            for (char c : in) out += static_cast<unsigned char>(c) < 0x80 ? c : '?';
            return out;
        }
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        out.resize(in.size() * 3 + 4);  // a Windows-1250 byte is at most 3 UTF-8 bytes
        char* inPtr = const_cast<char*>(in.data());
        size_t inLeft = in.size();
        size_t used = 0;
        while (inLeft > 0) {
            char* outPtr = out.data() + used;
            size_t outLeft = out.size() - used;
            const size_t result = iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft);
            used = size_t(outPtr - out.data());
            if (result != size_t(-1)) break;
            if (errno == E2BIG) {
                out.resize(out.size() * 2 + 8);
                continue;
            }
            if (used == out.size()) out.resize(out.size() + 8);
            // EILSEQ or EINVAL: a character the target lacks, or a byte that is not one.
            size_t skip = 1;
            if (fromUtf8) {
                const size_t n = utf8_sequence_length(std::string_view(inPtr, inLeft));
                if (n > 0) skip = n;
            }
            out[used++] = '?';
            inPtr += skip;
            inLeft -= skip;
        }
        out.resize(used);
        return out;
    }

  private:
    static inline const iconv_t kNone = reinterpret_cast<iconv_t>(std::intptr_t(-1));
    iconv_t cd_;
};

// Every line end (CR LF, LF, lone CR) as `lineEnd`.
std::string normalise_line_ends(std::string_view text, std::string_view lineEnd) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
            out += lineEnd;
        } else if (c == '\n') {
            out += lineEnd;
        } else {
            out += c;
        }
    }
    return out;
}

bool write_all(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(size_t(n));
    }
    return true;
}

// Writes a temporary file beside `path` and renames it over `path`. No fsync: the files are
// rewritten on every calculation and can always be produced again.
bool replace_file(const std::string& path, std::string_view bytes) {
    static std::atomic<unsigned> counter{0};
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = path + ".~" + std::to_string(::getpid()) + "_" + std::to_string(counter++);
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) return false;
    }
    if (fd < 0) return false;
    const bool written = write_all(fd, bytes);
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || std::rename(temp.c_str(), path.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

bool read_file_bytes(const std::string& path, std::string& bytes) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    char buffer[65536];
    bool ok = true;
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            ok = false;
            break;
        }
        bytes.append(buffer, size_t(n));
    }
    ::close(fd);
    return ok;
}

}  // namespace

std::string utf8_to_windows1250(std::string_view utf8) {
    thread_local Converter converter("CP1250", "UTF-8", "WINDOWS-1250", "UTF8");
    return converter.convert(utf8, true);
}

std::string windows1250_to_utf8(std::string_view bytes) {
    thread_local Converter converter("UTF-8", "CP1250", "UTF8", "WINDOWS-1250");
    return converter.convert(bytes, false);
}

void TextFileWriter::append_line(std::string_view utf8) {
    text_ += utf8;
    text_ += '\n';
}

void TextFileWriter::append(std::string_view utf8) {
    text_ += utf8;
}

bool TextFileWriter::flush() const {
    try {
        return replace_file(path_, utf8_to_windows1250(normalise_line_ends(text_, "\r\n")));
    } catch (...) {  // out of memory: the file stays as it was
        return false;
    }
}

std::string read_text_file(const std::string& path) {
    try {
        std::string bytes;
        if (!read_file_bytes(path, bytes)) return {};
        std::string_view view = bytes;
        std::string utf8;
        if (!is_ascii(view) && is_valid_utf8(view)) {
            if (view.starts_with("\xEF\xBB\xBF")) view.remove_prefix(3);
            utf8 = std::string(view);
        } else {
            utf8 = windows1250_to_utf8(view);
        }
        return normalise_line_ends(utf8, "\n");
    } catch (...) {  // out of memory: read as empty, like a missing file
        return {};
    }
}

}  // namespace horalun
