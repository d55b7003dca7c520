// The test programs' shared headers: the program's own and GoogleTest's.
#pragma once
#include "pch.h"
#ifdef __cplusplus
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#endif
