// The menus of the resource file as a keyboard user meets them: within one menu every accelerator
// letter leads to one item, and every shortcut of the menus that are active together does one
// thing.
#include <gtest/gtest.h>
#include <memory>

#include <QKeySequence>
#include <QString>

#include <cctype>
#include <map>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "OvlResource.h"
#include "ScopedMainDictionary.h"
#include "cells/cmcCellObj.h"
#include "cells/cmcCellParser.h"
#include "text/cmcGTex.h"

namespace {

struct MenuItem {
    int parent;  // index of the item whose submenu holds this one; -1 at the top
    std::string caption;
    std::string shortcut;  // the argument text, as the menu turns it into a shortcut
};

// The items of a menu body, nested as the menu builder nests them: a deeper line goes under the
// last item of the level above it.
std::vector<MenuItem> MenuItems(cmcGTex& dict, const std::string& base) {
    std::int32_t counters[cmcCellObj::kCounterCount] = {};
    cmcCellObj basic;
    ParseCell(dict.Text(base + "_BasicCell"), basic, nullptr, nullptr);
    std::vector<MenuItem> items;
    std::vector<std::pair<std::size_t, int>> open;  // (depth, item) of the levels above
    for (int n = 0;; ++n) {
        const std::string line = dict.Line(base + "_Body", n);
        if (!line.empty() && line[0] == '#')
            break;
        const std::size_t depth = line.find('+');
        cmcCellObj cell;
        if (depth != std::string::npos)
            ParseCell(std::string_view(line).substr(depth + 1), cell, counters, &basic);
        const std::size_t d = depth == std::string::npos ? 0 : depth;
        while (!open.empty() && open.back().first >= d)
            open.pop_back();
        items.push_back({open.empty() ? -1 : open.back().second, cell.GetText(),
                         cell.argText.value_or(std::string())});
        open.emplace_back(d, int(items.size()) - 1);
    }
    return items;
}

// The accelerator of a caption: the character after a single "&" ("&&" is a literal "&").
char Accelerator(const std::string& caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&')
            continue;
        if (caption[i + 1] == '&') {
            ++i;
            continue;
        }
        return char(std::toupper(static_cast<unsigned char>(caption[i + 1])));
    }
    return 0;
}

// Every accelerator used twice within one menu, as "menu: letter (first, second)".
std::vector<std::string> RepeatedAccelerators(const std::vector<MenuItem>& items) {
    std::map<std::pair<int, char>, std::string> seen;
    std::vector<std::string> repeated;
    for (const MenuItem& item : items) {
        const char a = Accelerator(item.caption);
        if (a == 0)
            continue;
        const auto [at, fresh] = seen.emplace(std::make_pair(item.parent, a), item.caption);
        if (!fresh) {
            const std::string menu =
                item.parent < 0 ? std::string("top level") : items[item.parent].caption;
            repeated.push_back(menu + ": " + a + " (" + at->second + ", " + item.caption + ")");
        }
    }
    return repeated;
}

QKeySequence KeyOf(const std::string& shortcut) {
    return QKeySequence::fromString(QString::fromStdString(shortcut), QKeySequence::PortableText);
}

struct MenuGroup {
    const char* name;
    // Bodies whose items are reachable at the same time: the main menu, and the pop-up of the
    // current cell, which the Edit menu mirrors.
    std::vector<const char*> bodies;
};

void PrintTo(const MenuGroup& group, std::ostream* os) {
    *os << group.name;
}

// Menus find their cell models in the program's main dictionary.
class OvlMenuFile : public OvlResource {
protected:
    void SetUp() override {
        OvlResource::SetUp();
        mainDictionary_ = std::make_unique<ScopedMainDictionary>(&dict_);
    }
    void TearDown() override { mainDictionary_.reset(); }
    std::unique_ptr<ScopedMainDictionary> mainDictionary_;
};

class OvlMenus : public OvlMenuFile, public ::testing::WithParamInterface<MenuGroup> {};

TEST_P(OvlMenus, NoMenuRepeatsAnAcceleratorAndNoShortcutIsShared) {
    std::map<QKeySequence, std::string> owner;
    int shortcuts = 0;
    for (const char* body : GetParam().bodies) {
        const std::vector<MenuItem> items = MenuItems(dict_, body);
        ASSERT_FALSE(items.empty()) << body;
        std::string repeated;
        for (const std::string& r : RepeatedAccelerators(items))
            repeated += "\n  " + r;
        EXPECT_TRUE(repeated.empty()) << body << ":" << repeated;
        for (const MenuItem& item : items) {
            if (item.shortcut.empty())
                continue;
            ++shortcuts;
            const QKeySequence key = KeyOf(item.shortcut);
            EXPECT_EQ(key.count(), 1)
                << body << ": '" << item.shortcut << "' of " << item.caption << " is not one key";
            const auto [at, fresh] = owner.emplace(key, std::string(body) + " " + item.caption);
            EXPECT_TRUE(fresh) << item.shortcut << " on both " << at->second << " and " << body
                               << " " << item.caption;
        }
    }
    EXPECT_GT(shortcuts, 0) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    ResourceFile, OvlMenus,
    ::testing::Values(MenuGroup{"MainWithRowPopup", {"GI_Menu_Main", "GI_PMenu_Edit"}},
                      MenuGroup{"MainWithNoItemPopup", {"GI_Menu_Main", "GI_PMenu_NoItem"}}),
    [](const ::testing::TestParamInfo<MenuGroup>& info) { return std::string(info.param.name); });

// The command that overwrites the radio is never one stray key away, and never on the key that
// closes windows in every other program.
TEST_F(OvlMenuFile, WritingToTheRadioHasNoShortcut) {
    const std::vector<MenuItem> items = MenuItems(dict_, "GI_Menu_Main");
    int found = 0;
    for (int n = 0;; ++n) {
        const std::string line = dict_.Line("GI_Menu_Main_Body", n);
        if (!line.empty() && line[0] == '#')
            break;
        if (line.find("CL_Menu_Clone_Write") == std::string::npos)
            continue;
        ++found;
        EXPECT_TRUE(items.at(n).shortcut.empty()) << items.at(n).shortcut;
    }
    EXPECT_EQ(found, 1);
}

struct CraftedMenu {
    const char* name;
    std::vector<const char*> body;
    std::vector<std::string> repeated;
};

void PrintTo(const CraftedMenu& menu, std::ostream* os) {
    *os << menu.name;
}

class CraftedMenus : public ::testing::TestWithParam<CraftedMenu> {};

// The reading above on small bodies: a letter counts per submenu, "&&" is no accelerator, and
// letters compare without regard to case.
TEST_P(CraftedMenus, RepeatedAcceleratorsAreFoundPerMenu) {
    std::vector<const char*> lines = {"#M_BasicCell", "{}", "#M_Body"};
    lines.insert(lines.end(), GetParam().body.begin(), GetParam().body.end());
    lines.push_back("#End_Of_Ovl");
    ScopedTestHost host;
    cmcGTex dict;
    ASSERT_TRUE(dict.SetLines(lines.data(), lines.size()));
    EXPECT_EQ(RepeatedAccelerators(MenuItems(dict, "M")), GetParam().repeated);
}

INSTANTIATE_TEST_SUITE_P(
    Bodies, CraftedMenus,
    ::testing::Values(CraftedMenu{"SameLetterInOneMenu",
                                  {"+&File", " +Move &down", " +&Delete"},
                                  {"&File: D (Move &down, &Delete)"}},
                      CraftedMenu{"CaseDoesNotMatter", {"+&a", "+&A"}, {"top level: A (&a, &A)"}},
                      CraftedMenu{
                          "SameLetterInTwoMenus", {"+&File", " +&Save", "+&View", " +&Small"}, {}},
                      CraftedMenu{"SubmenuOfASubmenu",
                                  {"+&Port", " +COM&1", " +&More", "  +COM1&1", "  +COM&1"},
                                  {"&More: 1 (COM1&1, COM&1)"}},
                      CraftedMenu{"DoubledAmpersandIsNoAccelerator", {"+R&&D", "+&Run"}, {}}),
    [](const ::testing::TestParamInfo<CraftedMenu>& info) { return std::string(info.param.name); });

}  // namespace
