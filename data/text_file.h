// The program's text files: Windows-1250 with CR LF line ends on disk, UTF-8 with "\n" in
// memory. Reading and writing never report errors: a missing file reads as empty and a failed
// write only returns false.
#pragma once

#include <string>
#include <string_view>

namespace horalun {

// Conversions through iconv. A character that Windows-1250 lacks, a byte of invalid UTF-8 and a
// byte that Windows-1250 leaves undefined each become "?"; the conversions never fail.
std::string utf8_to_windows1250(std::string_view utf8);
std::string windows1250_to_utf8(std::string_view bytes);

// Collects a file's text in memory during a computation and writes it in one go.
class TextFileWriter {
  public:
    explicit TextFileWriter(std::string path) : path_(std::move(path)) {}

    const std::string& path() const { return path_; }
    // Appends the text and a line end.
    void append_line(std::string_view utf8 = {});
    void append(std::string_view utf8);
    void clear() { text_.clear(); }
    const std::string& utf8() const { return text_; }

    // Writes the whole text so far in Windows-1250, every line end ("\n", "\r\n" or a lone "\r")
    // as CR LF. The file is replaced atomically: a reader sees either the old or the new
    // contents. Returns false when the file could not be written; never throws.
    bool flush() const;

  private:
    std::string path_;
    std::string text_;
};

// The file's text in UTF-8 with "\n" line ends (CR LF, LF and a lone CR all count as one).
// The file is taken as Windows-1250 unless it is valid UTF-8 containing non-ASCII characters
// (a file saved by another editor), which is taken as it is. A missing or unreadable file
// reads as empty.
std::string read_text_file(const std::string& path);

}  // namespace horalun
