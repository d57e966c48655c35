#include "core/degree_meanings.h"

#include <charconv>
#include <limits>
#include <optional>

namespace horalun {
namespace {

constexpr std::string_view kDegreeMark = "°";

// The first `count` characters of a UTF-8 text.
std::string_view first_characters(std::string_view text, size_t count) {
    size_t i = 0;
    for (size_t seen = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;  // continuation byte
        if (seen++ == count) break;
    }
    return text.substr(0, i);
}

std::optional<long long> whole_number(std::string_view digits) {
    long long value = 0;
    if (digits.empty()) return std::nullopt;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || end != digits.data() + digits.size() || value < 0)
        return std::nullopt;
    return value;
}

std::string_view trim_blanks(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

struct DegreeAndMinutes {
    std::optional<long long> degrees;
    long long minutes = 0;  // 0 when the minutes cannot be read
};

// Degrees from what precedes "°"; minutes from what follows it without "'", "R" and blanks.
DegreeAndMinutes read_position(std::string_view position) {
    DegreeAndMinutes result;
    const size_t mark = position.find(kDegreeMark);
    if (mark == std::string_view::npos) return result;
    result.degrees = whole_number(trim_blanks(position.substr(0, mark)));
    std::string minuteDigits;
    for (char c : position.substr(mark + kDegreeMark.size()))
        if (c != '\'' && c != 'R' && c != ' ') minuteDigits += c;
    result.minutes = whole_number(minuteDigits).value_or(0);
    return result;
}

}  // namespace

void DegreeMeaningTable::load(Cursor& stupTxt) {
    const int keyField = stupTxt.fieldIndex("znameni");
    const int textField = stupTxt.fieldIndex("text");
    if (keyField < 0 || textField < 0)
        throw TableError("Tabulka " + stupTxt.tableName() + " nemá pole znameni a text");

    const std::string ownIndex = stupTxt.activeIndex();
    if (!ownIndex.empty()) stupTxt.selectIndex("");
    std::vector<std::string> texts;
    std::unordered_map<std::string, std::vector<int>> rowsOf;
    texts.reserve(size_t(stupTxt.recordCount()));
    for (stupTxt.first(); !stupTxt.eof(); stupTxt.next()) {
        rowsOf[stupTxt.asText(keyField)].push_back(int(texts.size()));
        texts.push_back(stupTxt.asText(textField));
    }
    if (ownIndex.empty())
        stupTxt.first();
    else
        stupTxt.selectIndex(ownIndex);
    texts_ = std::move(texts);
    rowsOf_ = std::move(rowsOf);
}

DegreeMeaning DegreeMeaningTable::lookup(std::string_view name, std::string_view position,
                                         std::string_view sign) const {
    DegreeMeaning entry;
    entry.name = first_characters(name, 20);
    entry.position = position;
    entry.sign = sign;

    const DegreeAndMinutes read = read_position(position);
    if (!read.degrees || *read.degrees == std::numeric_limits<long long>::max()) return entry;
    const std::string key = std::string(sign) + " " + std::to_string(*read.degrees + 1);
    const auto found = rowsOf_.find(key);
    if (found == rowsOf_.end()) return entry;
    const std::vector<int>& rows = found->second;

    // The scan takes the next degree after the first match and passes over that row, so a
    // later match still replaces the meaning unless it is that very row.
    int skipped = -1;
    if (read.minutes > 54 && rows.front() + 1 < size()) {
        skipped = rows.front() + 1;
        entry.next = texts_[size_t(skipped)];
        entry.hasNext = true;
    }
    const int last = rows.back() != skipped ? rows.back() : rows[rows.size() - 2];
    entry.meaning = texts_[size_t(last)];
    return entry;
}

void append_degree_meaning(TextFileWriter& file, const DegreeMeaning& meaning) {
    file.append_line(meaning.name + ": " + meaning.position + " " + meaning.sign);
    file.append("Význam: ");
    file.append(meaning.meaning);
    if (meaning.hasNext) {
        file.append("Další stupeň:");
        file.append_line(meaning.next);
    }
    file.append_line();
}

void append_transit_meanings_heading(TextFileWriter& file) {
    file.append_line("Významy stupňů tranzitních planet");
    file.append_line();
}

}  // namespace horalun
