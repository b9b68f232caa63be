#include "lessons/scene_clock.h"
#include <gtest/gtest.h>
TEST(WindowPlaceholder, Compiles) { SUCCEED(); }
