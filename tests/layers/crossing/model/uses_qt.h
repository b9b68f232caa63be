#pragma once
// The model is standard C++ only.
#include <QString>
