#pragma once

#include <QTemporaryDir>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "text/cmcGTex.h"

// Builds a dictionary over the same lines from either source: an array in memory, or a file
// written with LF or CR LF line ends.
enum class SourceKind { Memory, FileLf, FileCrLf };

inline const char* SourceKindName(SourceKind k) {
    switch (k) {
        case SourceKind::Memory:
            return "Memory";
        case SourceKind::FileLf:
            return "FileLf";
        default:
            return "FileCrLf";
    }
}

class GTexSource {
public:
    GTexSource(SourceKind kind, std::vector<std::string> lines, bool finalLineEnd = true)
        : lines_(std::move(lines)) {
        if (kind == SourceKind::Memory) {
            for (const auto& l : lines_)
                ptrs_.push_back(l.c_str());
            dict_.SetLines(ptrs_.data(), ptrs_.size());
            return;
        }
        const char* eol = kind == SourceKind::FileLf ? "\n" : "\r\n";
        path_ = dir_.path().toStdString() + "/test.ovl";
        std::ofstream out(path_, std::ios::binary);
        for (std::size_t i = 0; i < lines_.size(); ++i) {
            out << lines_[i];
            if (i + 1 < lines_.size() || finalLineEnd)
                out << eol;
        }
        out.close();
        dict_.SetFile(path_);
    }

    cmcGTex& operator*() { return dict_; }
    cmcGTex* operator->() { return &dict_; }
    const std::string& Path() const { return path_; }

private:
    std::vector<std::string> lines_;
    std::vector<const char*> ptrs_;
    QTemporaryDir dir_;
    std::string path_;
    cmcGTex dict_;
};
