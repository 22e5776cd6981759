#pragma once
// A fresh data folder and its register, for the tests without a window.

#include "CLocalFile.h"
#include "SalesFileHeader.h"
#include "TempDir.h"

#include <gtest/gtest.h>

struct DataFolder : ::testing::Test {
    TempDir dir;
    CLocalFile local{dir.path()};
    SalesFileHeader header;
};
