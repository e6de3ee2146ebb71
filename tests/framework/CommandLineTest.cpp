#include <gtest/gtest.h>
#include "app/CommandLine.h"
TEST(Smoke, Parses) { EXPECT_FALSE(ParseCommandLine("-noGUI").showDialog); }
