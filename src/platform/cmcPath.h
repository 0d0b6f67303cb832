#pragma once

#include <string>

// How the file system names files: whether letter case tells two files apart, and which
// characters end a directory part. Paths are bytes in the system code page.
struct cmcPathRules {
    bool ignoreCase;
    const char* separators;

    // The rules of the platform we run on: Windows and macOS ignore letter case, Linux does not.
    static cmcPathRules Native();
    static cmcPathRules Windows();  // '\', '/' and the drive colon; case ignored
    static cmcPathRules MacOS();    // '/'; case ignored
    static cmcPathRules Posix();    // '/'; case matters
};

// True when the two paths name the same file under the rules (spelling only; the file system is
// not asked).
bool cmcSamePath(const std::string& a, const std::string& b,
                 const cmcPathRules& rules = cmcPathRules::Native());

// The directory part, up to and including the last separator; "" when there is none.
std::string cmcPathDirectory(const std::string& path,
                             const cmcPathRules& rules = cmcPathRules::Native());

// The part after the last separator.
std::string cmcPathFileName(const std::string& path,
                            const cmcPathRules& rules = cmcPathRules::Native());
