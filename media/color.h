#pragma once
// The colour type lives with the framework, whose printables draw with it.
#include "framework/color.h"
