#pragma once
// Documents never draw on the window.
#include "shell/temperature1.h"
