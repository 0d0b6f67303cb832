#pragma once

#include <memory>
#include <string>
#include <vector>

#include "cells/cmcCellCapsule.h"
#include "cells/cuiMainCore.h"

// The roles a sheet built as a table (offscreen, for export, import and compare) runs its cells
// with: the document is the program's, but nothing the cells ask of the views or the commands
// reaches them. The views answer what they are asked (font size, menus) from the real ones and
// open nothing: a choice list or a bit-field editor a cell asks for is kept as a request, so
// that the table can make the choice itself; every command is refused.
class cuiTableViews : public cuiViews {
public:
    struct ChoiceRequest {
        cmcCellCapsule opener;  // a copy; its pointers are the table sheet's
        int itemLabel = 0;
        int currentValue = 0;
        std::string listKey;
    };

    explicit cuiTableViews(cuiViews& real) : real_(real) {}

    void OpenChoiceList(const cmcCellCapsule& opener, int itemLabel, int currentValue,
                        cmcGTex& dictionary, const std::string& listKey) override;
    void OpenBitEditor(const cmcCellCapsule& opener, cmcGTex& dictionary, uint32_t value,
                       int firstBit, int lastBit, int headerStyle, int markStyle,
                       const std::string& sheetName) override;
    bool CanPrintOpenSheet() const override { return real_.CanPrintOpenSheet(); }
    int FontSizeSetting() const override { return real_.FontSizeSetting(); }
    bool ToolBarVisible() const override { return real_.ToolBarVisible(); }
    int MainMenuItemCount(int label) const override { return real_.MainMenuItemCount(label); }

    // What the last evaluation asked for; cleared by Forget.
    const ChoiceRequest* Choice() const { return choice_.get(); }
    bool BitEditorAsked() const { return bitEditor_; }
    void Forget();

private:
    cuiViews& real_;
    std::unique_ptr<ChoiceRequest> choice_;
    bool bitEditor_ = false;
};

class cuiTableCommands : public cuiCommands {
public:
    explicit cuiTableCommands(cuiCommands& real) : real_(real) {}

    bool FileNew() override { return false; }
    bool FileOpen() override { return false; }
    int OpenFile(const std::string&) override { return 1; }
    int FileSaveAs() override { return 1; }
    int SaveFile(const std::string&) override { return 1; }
    bool IsUntitled() const override { return real_.IsUntitled(); }
    std::string CurrentFileName() const override { return real_.CurrentFileName(); }
    std::string RecentFileText(int n, bool fullPath) const override {
        return real_.RecentFileText(n, fullPath);
    }
    void CloneRead() override {}
    void CloneWrite() override {}
    void CloneInformation() override {}
    int ComPortSetting() const override { return real_.ComPortSetting(); }
    void SetComPortSetting(int) override {}

private:
    cuiCommands& real_;
};
