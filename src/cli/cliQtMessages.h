#pragma once

// The tool prints its own messages only. Qt's remarks about the user's standard folders
// ("QStandardPaths: XDG_RUNTIME_DIR not set ...", made while the offscreen platform starts) are
// about folders the tool never uses; they are dropped, every other Qt message goes on as before.
// Installed once, before the application object is made.
void cliDropQtFolderRemarks();
