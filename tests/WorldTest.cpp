#include "world/Block.h"
#include <gtest/gtest.h>
TEST(Placeholder, Builds) { EXPECT_EQ(Block(0,0,1,1,0,nullptr).w, 1.0); }
