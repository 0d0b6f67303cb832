// Port arguments of the command line: COM numbers in their spellings, device paths, and the
// mistakes that must not be taken for a device.
#include <gtest/gtest.h>

#include "clone/cmcPortArgument.h"

namespace {

struct PortCase {
    const char* text;
    bool ok;
    int number;
    const char* device;
};

class PortArgument : public ::testing::TestWithParam<PortCase> {};

TEST_P(PortArgument, Parses) {
    const PortCase& c = GetParam();
    cmcPortArgument port;
    EXPECT_EQ(cmcPortArgument::Parse(c.text, port), c.ok) << c.text;
    if (c.ok) {
        EXPECT_EQ(port.number, c.number) << c.text;
        EXPECT_EQ(port.device, c.device) << c.text;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, PortArgument,
    ::testing::Values(PortCase{"3", true, 3, ""}, PortCase{"COM3", true, 3, ""},
                      PortCase{"com12", true, 12, ""}, PortCase{"255", true, 255, ""},
                      PortCase{"/dev/ttyUSB0", true, 0, "/dev/ttyUSB0"},
                      PortCase{"/dev/pts/4", true, 0, "/dev/pts/4"},
                      PortCase{"\\\\.\\COM12", true, 0, "\\\\.\\COM12"},
                      PortCase{"ttyS0", true, 0, "ttyS0"}, PortCase{"", false, 0, ""},
                      PortCase{"0", false, 0, ""}, PortCase{"256", false, 0, ""},
                      PortCase{"COM0", false, 0, ""}, PortCase{"COM", false, 0, ""},
                      PortCase{"COMX", false, 0, ""}, PortCase{"COM3x", false, 0, ""},
                      PortCase{"1000", false, 0, ""}));

}  // namespace
