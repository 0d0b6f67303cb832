#include "memory/cmcEnviron.h"

#include <algorithm>
#include <string>

#include "platform/cmcHost.h"
#include "platform/cmcInstanceLock.h"
#include "platform/cmcSettingsStore.h"

namespace {
const char* const kGlobal = "Global";
const char* const kRecentFiles = "Recent File List";
const char* const kViewOption = "View Option";
const char* const kWindowPosition = "Window Position";
const char* const kBackupBeforeWrite = "BackupBeforeWrite";
const char* const kVerifyAfterWrite = "VerifyAfterWrite";

std::string RecentName(int i) {
    return "Recent" + std::to_string(i);
}

cmcEnviron* g_global = nullptr;
}  // namespace

cmcEnviron* cmcEnviron::Global() {
    return g_global;
}

cmcEnviron::cmcEnviron(const std::string& mutexName, const std::string& settingsKey)
    : store_(std::make_unique<cmcSettingsStore>(settingsKey)) {
    Start(mutexName, std::string());
}

cmcEnviron::cmcEnviron(const std::string& mutexName, std::unique_ptr<cmcSettingsStore> store,
                       const std::string& lockDirectory)
    : store_(std::move(store)) {
    Start(mutexName, lockDirectory);
}

void cmcEnviron::Start(const std::string& mutexName, const std::string& lockDirectory) {
    if (!g_global)
        g_global = this;
    lock_ = std::make_unique<cmcInstanceLock>(mutexName, lockDirectory);
    // A lock that cannot be made at all says nothing about other instances; refusing to start
    // without a word would be worse than running unguarded.
    firstInstance_ = lock_->GetState() != cmcInstanceLock::State::Other;
    if (!firstInstance_ || !store_ || !Load() || stamp != kStamp)
        ApplyDefaults();
    // A second instance keeps sane values in memory but never a valid stamp, so nothing of it
    // can be saved.
    if (!firstInstance_)
        stamp = 0;
}

cmcEnviron::~cmcEnviron() {
    if (firstInstance_ && stamp == kStamp)
        Save();
    lock_.reset();
    if (g_global == this)
        g_global = nullptr;
}

void cmcEnviron::ApplyDefaults() {
    stamp = kStamp;
    recent.Clear();
    comPort = 1;
    fontSizePercentage = 100;
    toolBarVisible = true;
    backupBeforeWrite = true;
    verifyAfterWrite = false;
    const HostRect area = cmcHost::Instance().WorkArea();
    const int32_t w = std::max(area.width, 0);
    const int32_t h = std::max(area.height, 0);
    // Integer forms of floor(0.9 x) and floor(0.3 x), exact where the floating ones may not be.
    windowWidth = std::min(int32_t(int64_t(w) * 9 / 10), int32_t(800));
    windowHeight = std::min(int32_t(int64_t(h) * 9 / 10), int32_t(600));
    windowLeft = area.left + (w - windowWidth) / 2;
    windowTop = area.top + int32_t(int64_t(h - windowHeight) * 3 / 10);
    splitterV = 200;
    boundsStored = false;
}

// Any integer that cannot be read stops the reading; the caller then applies the defaults to
// every field. Texts that are missing or of another kind read as empty.
bool cmcEnviron::Load() {
    cmcSettingsStore& s = *store_;
    int32_t v = 0;

    if (!s.ReadInt(kGlobal, "BBT", v))
        return false;
    stamp = v;
    if (!s.ReadInt(kGlobal, "ComPort", v))
        return false;
    comPort = std::clamp(v, kComPortMin, kComPortMax);

    recent.Clear();
    for (int i = 0; i < recent.Capacity(); ++i) {
        std::string path;
        if (!s.ReadText(kRecentFiles, RecentName(i).c_str(), path))
            path.clear();
        recent.AddLast(path);
    }

    if (!s.ReadInt(kViewOption, "FontSize Percentage", v))
        return false;
    fontSizePercentage = std::clamp(v, kFontSizeMin, kFontSizeMax);
    if (!s.ReadInt(kViewOption, "Toolbar Visible", v))
        return false;
    toolBarVisible = v != 0;

    if (!s.ReadInt(kWindowPosition, "Left", v))
        return false;
    windowLeft = v;
    if (!s.ReadInt(kWindowPosition, "Top", v))
        return false;
    windowTop = v;
    if (!s.ReadInt(kWindowPosition, "Width", v))
        return false;
    windowWidth = v;
    if (!s.ReadInt(kWindowPosition, "Height", v))
        return false;
    windowHeight = v;
    if (!s.ReadInt(kWindowPosition, "SplitterV", v))
        return false;
    splitterV = v;
    boundsStored = true;
    // Not one of the product's values: missing or unreadable, it keeps its default.
    if (s.ReadInt(kGlobal, kBackupBeforeWrite, v))
        backupBeforeWrite = v != 0;
    if (s.ReadInt(kGlobal, kVerifyAfterWrite, v))
        verifyAfterWrite = v == 1;
    return true;
}

// Failures are not reported: the settings are a convenience, and the program is ending.
void cmcEnviron::Save() {
    if (!store_)
        return;
    cmcSettingsStore& s = *store_;
    s.WriteInt(kGlobal, "BBT", stamp);
    s.WriteInt(kGlobal, "ComPort", comPort);
    s.WriteInt(kGlobal, kBackupBeforeWrite, backupBeforeWrite ? 1 : 0);
    s.WriteInt(kGlobal, kVerifyAfterWrite, verifyAfterWrite ? 1 : 0);
    for (int i = 0; i < recent.Capacity(); ++i)
        s.WriteText(kRecentFiles, RecentName(i).c_str(), recent.EntryText(i, std::string()));
    s.WriteInt(kViewOption, "FontSize Percentage", fontSizePercentage);
    s.WriteInt(kViewOption, "Toolbar Visible", toolBarVisible ? 1 : 0);
    s.WriteInt(kWindowPosition, "Left", windowLeft);
    s.WriteInt(kWindowPosition, "Top", windowTop);
    s.WriteInt(kWindowPosition, "Width", windowWidth);
    s.WriteInt(kWindowPosition, "Height", windowHeight);
    s.WriteInt(kWindowPosition, "SplitterV", splitterV);
    s.Flush();
}

std::string cmcEnviron::InstanceLockPath() const {
    return lock_ ? lock_->Path() : std::string();
}
