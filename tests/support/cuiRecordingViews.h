#pragma once

#include <string>
#include <vector>

#include "cells/cuiViews.h"

// Views that record what the commands asked of them: titles, sheet closes, the information
// window and the tree marks.
class cuiRecordingViews : public cuiViews {
public:
    void CloseSheet() override { ++sheetsClosed; }
    void UpdateTitle(const std::string& title) override { titles.push_back(title); }
    void ShowCloneInformation() override { ++informationShown; }
    void ShowWarningMarks(const std::vector<std::string>& errors,
                          const std::vector<std::string>& notices) override {
        markedErrors = errors;
        markedNotices = notices;
        ++marksShown;
    }

    std::string Title() const { return titles.empty() ? std::string() : titles.back(); }

    int sheetsClosed = 0;
    int informationShown = 0;
    int marksShown = 0;
    std::vector<std::string> titles;
    std::vector<std::string> markedErrors;
    std::vector<std::string> markedNotices;
};
