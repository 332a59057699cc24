#pragma once
// Google Test first, so that a draw past the script is reported as a failure.
#include <gtest/gtest.h>

#include "tests/ScriptedRandom.h"
