#include "lessons/scene_clock.h"
#include <gtest/gtest.h>
TEST(Placeholder, Compiles) { SUCCEED(); }
