#include "SourceTexts.h"

#include <array>
#include <fstream>
#include <sstream>

namespace morvane::app::testing {
namespace {

constexpr std::array<std::string_view, 7> kLookups{
    "localized(",       "Localization::text(", "Localization::format(",
    "Localizer::text(", "Localizer::format(",  "ui(",
    "uiFormat("};
constexpr std::array<std::string_view, 4> kCountedLookups{"localizedCount(", "Localization::plural(",
                                                          "Localizer::counted(", "Localizer::plural("};

bool isSpace(char c) {
    return c == ' ' || c == '\n' || c == '\t' || c == '\r';
}

bool isIdentifier(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// Whether `code` ends with a call of one of `names` opened just before.
template <std::size_t N>
bool endsWithCall(std::string_view code, const std::array<std::string_view, N>& names) {
    for (const std::string_view name : names) {
        if (code.ends_with(name) &&
            (code.size() == name.size() || !isIdentifier(code[code.size() - name.size() - 1]))) {
            return true;
        }
    }
    return false;
}

void appendUtf8(std::string& out, std::uint32_t codePoint) {
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (codePoint >> 18));
        out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

class Reader {
public:
    explicit Reader(std::string_view source) : s_(source) {}

    bool done() const { return i_ >= s_.size(); }
    char peek(std::size_t ahead = 0) const { return i_ + ahead < s_.size() ? s_[i_ + ahead] : '\0'; }
    char take() { return s_[i_++]; }

    // Skips a comment at the current position; false when there is none.
    bool skipComment() {
        if (peek() == '/' && peek(1) == '/') {
            while (!done() && peek() != '\n') {
                ++i_;
            }
            return true;
        }
        if (peek() == '/' && peek(1) == '*') {
            const auto end = s_.find("*/", i_ + 2);
            i_ = end == std::string_view::npos ? s_.size() : end + 2;
            return true;
        }
        return false;
    }

    bool atRawLiteral() const { return peek() == 'R' && peek(1) == '"'; }

    // The contents of the literal starting here (plain or raw), escapes decoded.
    std::string literal() {
        if (atRawLiteral()) {
            i_ += 2;
            const auto open = s_.find('(', i_);
            const std::string close = ")" + std::string(s_.substr(i_, open - i_)) + "\"";
            const auto end = s_.find(close, open);
            std::string text(s_.substr(open + 1, end - open - 1));
            i_ = end == std::string_view::npos ? s_.size() : end + close.size();
            return text;
        }
        std::string text;
        ++i_; // the opening quote
        while (!done() && peek() != '"') {
            const char c = take();
            if (c != '\\') {
                text += c;
                continue;
            }
            const char escape = take();
            switch (escape) {
            case 'n':
                text += '\n';
                break;
            case 't':
                text += '\t';
                break;
            case 'u':
            case 'U': {
                const std::size_t digits = escape == 'u' ? 4 : 8;
                appendUtf8(text, static_cast<std::uint32_t>(
                                     std::stoul(std::string(s_.substr(i_, digits)), nullptr, 16)));
                i_ += digits;
                break;
            }
            default:
                text += escape; // \\ \" \'
            }
        }
        ++i_; // the closing quote
        return text;
    }

    void skipCharacterLiteral() {
        ++i_;
        while (!done() && peek() != '\'') {
            i_ += peek() == '\\' ? 2 : 1;
        }
        ++i_;
    }

private:
    std::string_view s_;
    std::size_t i_ = 0;
};

} // namespace

SourceTexts SourceTexts::scan(const std::filesystem::path& folder) {
    SourceTexts texts;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        const auto extension = entry.path().extension();
        if (entry.is_regular_file() && (extension == ".cpp" || extension == ".h")) {
            std::ifstream file(entry.path(), std::ios::binary);
            std::stringstream contents;
            contents << file.rdbuf();
            texts.add(contents.str());
        }
    }
    return texts;
}

void SourceTexts::add(std::string_view source) {
    Reader reader(source);
    // The code read so far outside literals and comments, each run of white
    // space as one space, and each literal as a pair of quotes.
    std::string code;
    while (!reader.done()) {
        if (reader.skipComment()) {
            code += ' ';
            continue;
        }
        const char c = reader.peek();
        const bool previousIsIdentifier = !code.empty() && isIdentifier(code.back());
        if (c == '"' || (reader.atRawLiteral() && !previousIsIdentifier)) {
            std::string text = reader.literal();
            // Adjacent literals are one text.
            for (;;) {
                if (reader.skipComment()) {
                    continue;
                }
                if (isSpace(reader.peek())) {
                    reader.take();
                    continue;
                }
                if (reader.peek() != '"' && !reader.atRawLiteral()) {
                    break;
                }
                text += reader.literal();
            }
            // A literal on the line after its call's parenthesis.
            const std::string_view before = !code.empty() && code.back() == ' '
                                                ? std::string_view(code).substr(0, code.size() - 1)
                                                : code;
            if (endsWithCall(before, kLookups)) {
                lookedUp.insert(text);
            } else if (endsWithCall(before, kCountedLookups)) {
                lookedUp.insert(text);
                counted.insert(text);
            }
            literals.insert(std::move(text));
            code += "\"\"";
        } else if (c == '\'' && !(previousIsIdentifier && code.back() >= '0' && code.back() <= '9')) {
            reader.skipCharacterLiteral();
            code += "''";
        } else if (isSpace(c)) {
            reader.take();
            if (!code.empty() && code.back() != ' ') {
                code += ' ';
            }
        } else {
            code += reader.take();
        }
    }
}

} // namespace morvane::app::testing
