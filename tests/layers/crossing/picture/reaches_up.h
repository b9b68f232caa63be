#pragma once
// Reaches up into the lessons and into the widgets: both refused.
#include "lessons/scene_clock.h"
#include <QWidget>
