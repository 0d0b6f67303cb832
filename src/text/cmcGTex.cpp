#include "text/cmcGTex.h"

#include <cstring>

#include "platform/cmcHost.h"

namespace {
cmcGTex* g_main = nullptr;
constexpr std::string_view kEndMarker = "End_Of_Ovl";
}  // namespace

cmcGTex::cmcGTex() {
    lineBuf_.reserve(kMaxLine + 2);
}

cmcGTex::~cmcGTex() {
    if (g_main == this)
        g_main = nullptr;
}

cmcGTex* cmcGTex::Main() {
    return g_main;
}

void cmcGTex::SetMain(cmcGTex* dictionary) {
    g_main = dictionary;
}

bool cmcGTex::SetFile(const std::string& path) {
    if (kind_ != kNoSource)
        return false;
    kind_ = kFile;
    fileName_ = path;
    return true;
}

bool cmcGTex::SetLines(const char* const* lines) {
    if (kind_ != kNoSource)
        return false;
    kind_ = kMemory;
    lines_ = lines;
    lineCountKnown_ = false;
    return true;
}

bool cmcGTex::SetLines(const char* const* lines, std::size_t count) {
    if (!SetLines(lines))
        return false;
    lineCount_ = count;
    lineCountKnown_ = true;
    return true;
}

bool cmcGTex::Open() {
    if (kind_ == kFile)
        open_ = file_.Open(fileName_);
    else if (kind_ == kMemory)
        open_ = lines_ != nullptr;
    else
        open_ = false;
    if (open_) {
        position_ = 0;
    } else {
        moreToScan_ = 0;
    }
    return open_;
}

bool cmcGTex::Seek(std::int64_t position) {
    if (!open_ || position < 0)
        return false;
    if (kind_ == kFile && !file_.Seek(position))
        return false;
    position_ = position;
    return true;
}

// One line from the source itself into the line buffer; false at the end of the source.
bool cmcGTex::ReadSourceLine() {
    ++sourceReads_;
    if (kind_ == kMemory) {
        const std::size_t index = static_cast<std::size_t>(position_);
        if (lineCountKnown_ && index >= lineCount_)
            return false;
        const char* s = lines_[index];
        if (!s)
            return false;
        // A memory line longer than the limit is cut; the rest of that string is not read. A
        // line feed inside a string ends the line there, as it would in a file buffer.
        std::size_t n = 0;
        while (n <= kMaxLine && s[n] != '\0' && s[n] != '\n')
            ++n;
        lineEnded_ = n <= kMaxLine;
        lineBuf_.assign(s, lineEnded_ ? n : kMaxLine);
        position_ += 1;
        return true;
    }
    if (!file_.ReadLine(lineBuf_, kMaxLine, lineEnded_))
        return false;
    position_ = file_.Tell();
    return true;
}

bool cmcGTex::ReadLine(bool useCache) {
    if (!open_)
        return false;
    if (!useCache || kind_ != kFile)
        return ReadSourceLine();

    for (auto it = cache_.begin(); it != cache_.end(); ++it) {
        if (it->start != position_)
            continue;
        lineBuf_ = it->text;
        lineEnded_ = it->ended;
        position_ += it->length;
        if (!file_.Seek(position_))
            return false;
        cache_.splice(cache_.begin(), cache_, it);
        return true;
    }
    const std::int64_t start = position_;
    if (!ReadSourceLine())
        return false;
    if (static_cast<int>(cache_.size()) >= kCacheSize)
        cache_.pop_back();
    cache_.push_front(CachedLine{start, position_ - start, lineBuf_, lineEnded_});
    return true;
}

int cmcGTex::ScanOneLine() {
    if (moreToScan_ == 0)
        return -1;
    if (!open_) {
        Open();
        return -1;
    }
    if (!Seek(scanOffset_) || !ReadLine(false)) {
        moreToScan_ = 0;
        return -1;
    }
    int added = -1;
    if (lineBuf_.size() >= 2 && lineBuf_[0] == '#') {
        added = static_cast<int>(sections_.size());
        Section& s = sections_.emplace_back();
        s.name.assign(lineBuf_, 1, std::string::npos);
        s.bodyOffset = s.cursorOffset = position_;
        links_.push_back(Link{NameHash(s.name), -1});
        if (tail_ >= 0)
            links_[tail_].next = added;
        else
            head_ = added;
        tail_ = added;
        ++sectionCount_;
        if (s.name == kEndMarker)
            moreToScan_ = 0;
    }
    scanOffset_ = position_;
    return added;
}

std::uint32_t cmcGTex::NameHash(std::string_view name) {
    std::uint32_t h = 2166136261u;  // FNV-1a
    for (unsigned char c : name)
        h = (h ^ c) * 16777619u;
    return h;
}

cmcGTex::Section* cmcGTex::FindSection(std::string_view key) {
    const std::uint32_t hash = NameHash(key);
    int prev = -1;
    int passed = 0;
    for (int i = head_; i >= 0; prev = i, i = links_[i].next, ++passed) {
        if (links_[i].nameHash != hash || sections_[i].name != key)
            continue;
        if (passed > kMoveToFrontAfter) {
            links_[prev].next = links_[i].next;
            if (tail_ == i)
                tail_ = prev;
            links_[i].next = head_;
            head_ = i;
        }
        return &sections_[i];
    }
    while (moreToScan_ == 1) {
        const int added = ScanOneLine();
        if (added >= 0 && links_[added].nameHash == hash && sections_[added].name == key)
            return &sections_[added];
    }
    return nullptr;
}

void cmcGTex::NotFound(std::string_view key) const {
    // The key is substituted as plain text: it may hold any byte, "%" included.
    std::string text = "GTEX Error !\nThe index '";
    text.append(key.data(), key.size());
    text += "' was not found.";
    FatalError(text);
}

std::string cmcGTex::Text(std::string_view key) {
    return Line(key, 0);
}

std::string cmcGTex::Line(std::string_view key, int n) {
    Section* s = FindSection(key);
    if (!s || !open_ || n < 0)
        NotFound(key);
    int skip;
    if (n < s->cursorLine) {
        if (!Seek(s->bodyOffset))
            NotFound(key);
        skip = n;
    } else {
        if (!Seek(s->cursorOffset))
            NotFound(key);
        skip = n - s->cursorLine;
    }
    for (int i = 0; i < skip; ++i) {
        if (!ReadLine(true))
            NotFound(key);
    }
    if (!ReadLine(true))
        NotFound(key);
    s->cursorLine = n + 1;
    s->cursorOffset = position_;
    return lineBuf_;
}

std::vector<std::string> cmcGTex::SectionNamesInListOrder() const {
    std::vector<std::string> names;
    for (int i = head_; i >= 0; i = links_[i].next)
        names.push_back(sections_[i].name);
    return names;
}
