// Lists the texts a user could see that the desktop program's folders (app/ and ui/) still
// spell in code instead of reading them from the resource file. Every string literal that holds
// a word (two letters in a row, escapes aside) is such a text, unless it is
//   - a resource key, a part of one or a section header ("GI_...", "CellModel_...", "_Body",
//     "#GI_..."),
//   - an object name (the argument of setObjectName, findChild, findChildren),
//   - an #include,
//   - or listed in the allow-list for its file.
// Adjacent literals count as one, as the compiler joins them. An allow-list entry that matches
// no literal is reported too, so that the list never keeps what the code no longer holds.
//
// Usage: literal_check SRC_DIR ALLOW_LIST
// The allow-list holds lines "FILE: TEXT", FILE relative to SRC_DIR, TEXT the literal as the
// source spells it (escapes as written); a TEXT ending in "..." allows every literal beginning
// with what comes before. Lines beginning with "#" and empty lines are notes.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Literal {
    int line = 0;
    std::size_t start = 0;  // where its first quote is in the source
    std::string text;       // as written, the pieces of a joined literal one after another
};

bool IsIdentifierChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
}

class Scanner {
public:
    explicit Scanner(const std::string& source) : s_(source) {}

    std::vector<Literal> Literals() {
        std::vector<Literal> found;
        while (at_ < s_.size()) {
            if (SkipSpaceAndComments())
                continue;
            const char c = s_[at_];
            if (c == '#' && AtLineStart()) {
                Directive();
            } else if (c == '\'') {
                Quoted('\'');
            } else if (LiteralStarts()) {
                found.push_back(JoinedLiteral());
            } else {
                ++at_;
            }
        }
        return found;
    }

private:
    char Next() const { return at_ + 1 < s_.size() ? s_[at_ + 1] : '\0'; }
    bool PreviousIsIdentifier() const { return at_ > 0 && IsIdentifierChar(s_[at_ - 1]); }
    // A string literal begins here: a quote, or R and a quote not ending a longer name.
    bool LiteralStarts() const {
        return s_[at_] == '"' || (s_[at_] == 'R' && Next() == '"' && !PreviousIsIdentifier());
    }
    bool AtLineStart() const {
        for (std::size_t i = at_; i > 0; --i) {
            const char p = s_[i - 1];
            if (p == '\n')
                return true;
            if (p != ' ' && p != '\t')
                return false;
        }
        return true;
    }
    // Skips blanks, line ends and comments; true when it skipped anything.
    bool SkipSpaceAndComments() {
        const std::size_t from = at_;
        while (at_ < s_.size()) {
            const char c = s_[at_];
            if (c == '\n') {
                ++line_;
                ++at_;
            } else if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v') {
                ++at_;
            } else if (c == '/' && Next() == '/') {
                while (at_ < s_.size() && s_[at_] != '\n')
                    ++at_;
            } else if (c == '/' && Next() == '*') {
                at_ += 2;
                while (at_ < s_.size() && !(s_[at_] == '*' && Next() == '/')) {
                    if (s_[at_] == '\n')
                        ++line_;
                    ++at_;
                }
                at_ = std::min(s_.size(), at_ + 2);
            } else {
                break;
            }
        }
        return at_ != from;
    }
    // An #include line goes whole; any other directive is read on as code.
    void Directive() {
        std::size_t i = at_ + 1;
        while (i < s_.size() && (s_[i] == ' ' || s_[i] == '\t'))
            ++i;
        if (s_.compare(i, 7, "include") == 0) {
            while (at_ < s_.size() && s_[at_] != '\n')
                ++at_;
        } else {
            at_ = i;
        }
    }
    // A quoted token from its opening quote; returns what lies between the quotes.
    std::string Quoted(char quote) {
        ++at_;
        const std::size_t begin = at_;
        while (at_ < s_.size() && s_[at_] != quote && s_[at_] != '\n') {
            if (s_[at_] == '\\' && at_ + 1 < s_.size())
                ++at_;
            ++at_;
        }
        const std::string text = s_.substr(begin, at_ - begin);
        if (at_ < s_.size() && s_[at_] == quote)
            ++at_;
        return text;
    }
    std::string Raw() {
        ++at_;  // the R
        const std::size_t open = s_.find('(', at_ + 1);
        if (open == std::string::npos) {
            at_ = s_.size();
            return std::string();
        }
        const std::string close = ")" + s_.substr(at_ + 1, open - at_ - 1) + "\"";
        const std::size_t end = s_.find(close, open + 1);
        const std::size_t stop = end == std::string::npos ? s_.size() : end;
        const std::string text = s_.substr(open + 1, stop - open - 1);
        line_ += int(std::count(text.begin(), text.end(), '\n'));
        at_ = end == std::string::npos ? s_.size() : end + close.size();
        return text;
    }
    std::string Piece() { return s_[at_] == 'R' ? Raw() : Quoted('"'); }
    Literal JoinedLiteral() {
        Literal literal;
        literal.line = line_;
        literal.start = at_;
        literal.text = Piece();
        for (;;) {
            const std::size_t resume = at_;
            const int resumeLine = line_;
            SkipSpaceAndComments();
            if (at_ < s_.size() && LiteralStarts()) {
                literal.text += Piece();
                continue;
            }
            at_ = resume;
            line_ = resumeLine;
            return literal;
        }
    }

    const std::string& s_;
    std::size_t at_ = 0;
    int line_ = 1;
};

// Two letters in a row, escape sequences ("\n", "\x41") taken for no letters.
bool HoldsAWord(const std::string& text) {
    int run = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\\' && i + 1 < text.size()) {
            ++i;
            if (text[i] == 'x')
                while (i + 1 < text.size() &&
                       std::isxdigit(static_cast<unsigned char>(text[i + 1])))
                    ++i;
            run = 0;
            continue;
        }
        run = std::isalpha(static_cast<unsigned char>(c)) ? run + 1 : 0;
        if (run >= 2)
            return true;
    }
    return false;
}

bool IsKey(const std::string& text) {
    static const std::regex key("#?(GI_|CellModel_|_)[A-Za-z0-9_]*");
    return std::regex_match(text, key);
}

bool IsObjectName(const std::string& source, std::size_t start) {
    static const std::regex before(
        "(setObjectName|findChild\\s*<[^<>;]*>|findChildren\\s*<[^<>;]*>)\\s*\\(\\s*"
        "((QStringLiteral|QLatin1String|QLatin1StringView|QString)\\s*\\(\\s*)?$");
    const std::size_t from = start > 160 ? start - 160 : 0;
    return std::regex_search(source.substr(from, start - from), before);
}

struct Allowance {
    int line;
    std::string file;
    std::string text;
    bool prefix;
    bool used = false;
};

bool Allows(const Allowance& a, const std::string& file, const std::string& text) {
    if (a.file != file)
        return false;
    return a.prefix ? text.compare(0, a.text.size(), a.text) == 0 : text == a.text;
}

std::vector<Allowance> ReadAllowList(const std::string& path, bool& ok) {
    std::vector<Allowance> list;
    std::ifstream in(path);
    ok = in.good();
    std::string line;
    for (int n = 1; std::getline(in, line); ++n) {
        if (line.empty() || line[0] == '#')
            continue;
        const std::size_t colon = line.find(": ");
        if (colon == std::string::npos) {
            std::printf("%s:%d: not \"FILE: TEXT\"\n", path.c_str(), n);
            ok = false;
            continue;
        }
        Allowance a{n, line.substr(0, colon), line.substr(colon + 2), false};
        if (a.text.size() > 3 && a.text.compare(a.text.size() - 3, 3, "...") == 0) {
            a.text.resize(a.text.size() - 3);
            a.prefix = true;
        }
        list.push_back(a);
    }
    return list;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: literal_check SRC_DIR ALLOW_LIST\n");
        return 2;
    }
    const fs::path root = argv[1];
    const std::string allowPath = argv[2];
    bool readable = false;
    std::vector<Allowance> allowed = ReadAllowList(allowPath, readable);
    if (!readable) {
        std::printf("%s: the allow-list cannot be read or holds a bad line\n", allowPath.c_str());
        return 2;
    }

    std::vector<fs::path> files;
    for (const char* folder : {"app", "ui"}) {
        if (!fs::is_directory(root / folder))
            continue;
        for (const fs::directory_entry& e : fs::recursive_directory_iterator(root / folder)) {
            const std::string ext = e.path().extension().string();
            if (e.is_regular_file() && (ext == ".cpp" || ext == ".h"))
                files.push_back(e.path());
        }
    }
    std::sort(files.begin(), files.end());
    if (files.empty()) {
        std::printf("%s: no sources under app/ or ui/\n", root.string().c_str());
        return 2;
    }

    int found = 0;
    int texts = 0;
    for (const fs::path& path : files) {
        std::ifstream in(path, std::ios::binary);
        const std::string source((std::istreambuf_iterator<char>(in)),
                                 std::istreambuf_iterator<char>());
        const std::string file = path.lexically_relative(root).generic_string();
        for (const Literal& literal : Scanner(source).Literals()) {
            if (!HoldsAWord(literal.text) || IsKey(literal.text) ||
                IsObjectName(source, literal.start))
                continue;
            ++texts;
            bool ok = false;
            for (Allowance& a : allowed) {
                if (Allows(a, file, literal.text)) {
                    a.used = true;
                    ok = true;
                }
            }
            if (!ok) {
                std::printf("%s:%d: \"%s\" is not read from the resource file\n", file.c_str(),
                            literal.line, literal.text.c_str());
                ++found;
            }
        }
    }
    for (const Allowance& a : allowed) {
        if (!a.used) {
            std::printf("%s:%d: allows \"%s%s\" in %s, which holds no such literal\n",
                        allowPath.c_str(), a.line, a.text.c_str(), a.prefix ? "..." : "",
                        a.file.c_str());
            ++found;
        }
    }
    if (found > 0) {
        std::printf(
            "%d literal(s) above: read them from the resource file (PQT590.OVL) or, if "
            "no user sees them, allow them in %s\n",
            found, allowPath.c_str());
        return 1;
    }
    std::printf(
        "literals: %zu files, %d allowed literals, no user-visible text outside the "
        "resource file\n",
        files.size(), texts);
    return 0;
}
