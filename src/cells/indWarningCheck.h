#pragma once

#include <string>
#include <vector>

class cmcGTex;

// The model's warning check without the tree: every line of "GI_WarningCheckList" (up to the
// first line that begins with "#") is one check cell whose argument text names the sheet that
// shows its mark; evaluated for display on the installed controller's working image, a check
// that raises the error mark puts its sheet in the error list, else one that raises the notice
// mark puts it in the notice list. The desktop program marks its tree with the lists; the
// command-line tool prints them.
struct indWarningCheck {
    std::vector<std::string> errorSheets;
    std::vector<std::string> noticeSheets;

    int ErrorCount() const { return static_cast<int>(errorSheets.size()); }
    int NoticeCount() const { return static_cast<int>(noticeSheets.size()); }

    static indWarningCheck Run(cmcGTex& dictionary);
};
