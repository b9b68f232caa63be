#pragma once
// The model knows nothing of the window that draws it.
#include "lab_window/laboratory.h"
