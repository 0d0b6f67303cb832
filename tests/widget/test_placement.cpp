// Where windows go: kept on the work area, centred over their owner, the main window kept
// reachable.
#include <gtest/gtest.h>

#include <QWidget>

#include "GuiFixture.h"
#include "ui/windows/cuiPlacement.h"

// Found by argument-dependent lookup, so beside HostRect in the global namespace.
static bool operator==(const HostRect& a, const HostRect& b) {
    return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
}

[[maybe_unused]] static void PrintTo(const HostRect& r, std::ostream* os) {
    *os << "(" << r.left << "," << r.top << " " << r.width << "x" << r.height << ")";
}

namespace {

// A work area that does not start at the origin: a task bar on the left and one at the top.
constexpr HostRect kArea{40, 30, 1240, 994};

struct PlaceCase {
    const char* name;
    HostRect window;
    HostRect expected;
};

class KeepOnWorkAreaCases : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(KeepOnWorkAreaCases, MovesTheWindowInside) {
    EXPECT_EQ(KeepOnWorkArea(GetParam().window, kArea), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Windows, KeepOnWorkAreaCases,
    ::testing::Values(PlaceCase{"Inside", {100, 100, 300, 200}, {100, 100, 300, 200}},
                      PlaceCase{"RightOfIt", {1200, 100, 300, 200}, {980, 100, 300, 200}},
                      PlaceCase{"BelowIt", {100, 900, 300, 200}, {100, 824, 300, 200}},
                      PlaceCase{"LeftOfIt", {-500, 100, 300, 200}, {40, 100, 300, 200}},
                      PlaceCase{"AboveIt", {100, -50, 300, 200}, {100, 30, 300, 200}},
                      PlaceCase{
                          "OffTheBottomRightCorner", {5000, 5000, 300, 200}, {980, 824, 300, 200}},
                      // Too large: the top-left corner, and with it the title bar, stays in view.
                      PlaceCase{"LargerThanIt", {0, 0, 2000, 1500}, {40, 30, 2000, 1500}}),
    [](const auto& info) { return std::string(info.param.name); });

struct CenterCase {
    const char* name;
    HostRect window;
    HostRect owner;
    HostRect expected;
};

class CenterOverCases : public ::testing::TestWithParam<CenterCase> {};

TEST_P(CenterOverCases, CentresThenKeepsOnTheWorkArea) {
    EXPECT_EQ(CenterOver(GetParam().window, GetParam().owner, kArea), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Windows, CenterOverCases,
    ::testing::Values(
        CenterCase{"Centred", {0, 0, 290, 50}, {200, 100, 800, 600}, {455, 375, 290, 50}},
        CenterCase{
            "OddDifferencesRoundDown", {0, 0, 101, 51}, {200, 100, 800, 600}, {549, 374, 101, 51}},
        CenterCase{
            "OwnerNearTheRightEdge", {0, 0, 400, 300}, {1100, 100, 300, 200}, {880, 50, 400, 300}},
        CenterCase{
            "OwnerAboveTheWorkArea", {0, 0, 400, 300}, {200, -400, 800, 300}, {400, 30, 400, 300}},
        CenterCase{
            "WindowLargerThanOwner", {0, 0, 600, 400}, {300, 300, 200, 100}, {100, 150, 600, 400}}),
    [](const auto& info) { return std::string(info.param.name); });

class KeepReachableCases : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(KeepReachableCases, LeavesSixteenPixelsInReach) {
    EXPECT_EQ(KeepReachable(GetParam().window, kArea), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Windows, KeepReachableCases,
    ::testing::Values(
        PlaceCase{"Inside", {100, 100, 640, 480}, {100, 100, 640, 480}},
        PlaceCase{"PartlyOffTheRightStays", {1000, 100, 640, 480}, {1000, 100, 640, 480}},
        PlaceCase{"RightOfTheScreen", {3000, 100, 640, 480}, {1264, 100, 640, 480}},
        PlaceCase{"BelowTheScreen", {100, 3000, 640, 480}, {100, 1008, 640, 480}},
        PlaceCase{"LeftOfTheScreen", {-3000, 100, 640, 480}, {-584, 100, 640, 480}},
        PlaceCase{"AboveTheWorkArea", {100, -200, 640, 480}, {100, 30, 640, 480}},
        PlaceCase{"TitleBarJustAboveTheBottom", {100, 1009, 640, 480}, {100, 1008, 640, 480}}),
    [](const auto& info) { return std::string(info.param.name); });

// The main window at a first start: the size it wants within nine tenths of the work area,
// never below the defaults' size (800 x 600 on kArea, 800 x 540 on a 1024 x 600 screen), centred
// across and three tenths down.
struct FirstCase {
    const char* name;
    int width, height;  // wanted
    HostRect defaults, area, expected;
};

constexpr HostRect kSmallArea{0, 0, 1024, 600};

class FirstWindowCases : public ::testing::TestWithParam<FirstCase> {};

TEST_P(FirstWindowCases, TakesWhatItNeedsWhereTheWorkAreaAllows) {
    const FirstCase& c = GetParam();
    EXPECT_EQ(FirstWindowBounds(c.width, c.height, c.defaults, c.area), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Windows, FirstWindowCases,
    ::testing::Values(
        FirstCase{"Fits", 1000, 700, {260, 148, 800, 600}, kArea, {160, 118, 1000, 700}},
        FirstCase{
            "NineTenthsAtMost", 2000, 1500, {260, 148, 800, 600}, kArea, {102, 60, 1116, 894}},
        FirstCase{
            "NeverBelowTheDefaults", 500, 300, {260, 148, 800, 600}, kArea, {260, 148, 800, 600}},
        FirstCase{"ASmallScreen", 1200, 900, {112, 18, 800, 540}, kSmallArea, {51, 18, 921, 540}},
        FirstCase{"WiderOnly", 900, 100, {112, 18, 800, 540}, kSmallArea, {62, 18, 900, 540}}),
    [](const auto& info) { return std::string(info.param.name); });

// A window dropping down from a cell, against kArea (right edge 1280, bottom 1024).
struct NearCellCase {
    const char* name;
    int width, height;
    HostRect cell;  // on the screen
    HostRect expected;
};

class PlaceNearCellCases : public ::testing::TestWithParam<NearCellCase> {};

TEST_P(PlaceNearCellCases, PutsTheWindowBesideTheCell) {
    const NearCellCase& c = GetParam();
    EXPECT_EQ(PlaceNearCell(c.width, c.height, c.cell, kArea), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Windows, PlaceNearCellCases,
    ::testing::Values(
        // Below the cell, 8 pixels in from its left edge.
        NearCellCase{"Below", 100, 80, {200, 100, 192, 17}, {208, 117, 100, 80}},
        // Reaching the work area's bottom exactly still fits.
        NearCellCase{"EndingOnTheBottom", 100, 107, {200, 900, 192, 17}, {208, 917, 100, 107}},
        // One pixel more, and it goes above the cell.
        NearCellCase{"Above", 100, 108, {200, 900, 192, 17}, {208, 792, 100, 108}},
        NearCellCase{"PushedLeft", 150, 80, {1200, 100, 60, 17}, {1130, 117, 150, 80}},
        NearCellCase{"AboveAndPushedLeft", 150, 80, {1200, 990, 60, 17}, {1130, 910, 150, 80}},
        // No room above either: at the work area's bottom, and where it would cover the cell
        // at the right edge, left of the cell.
        NearCellCase{"TallAtTheBottom", 150, 900, {200, 500, 60, 17}, {208, 124, 150, 900}},
        NearCellCase{"TallLeftOfTheCell", 150, 900, {1200, 500, 60, 17}, {1050, 124, 150, 900}},
        // Left of the cell there is no room for it: pushed left only.
        NearCellCase{"TallAndWide", 1000, 900, {300, 500, 60, 17}, {280, 124, 1000, 900}}),
    [](const auto& info) { return std::string(info.param.name); });

class PlacementWidgets : public GuiFixture {};

TEST_F(PlacementWidgets, AWindowIsCentredOverItsOwnerOnTheHostsWorkArea) {
    host_->SetWorkArea(kArea);
    QWidget owner;
    owner.setGeometry(200, 100, 800, 600);
    QWidget window;
    window.resize(290, 50);
    CenterOver(&window, &owner);
    EXPECT_EQ(window.pos(), QPoint(455, 375));
    window.move(5000, -100);
    KeepOnWorkArea(&window);
    EXPECT_EQ(window.pos(), QPoint(990, 30));
}

}  // namespace
