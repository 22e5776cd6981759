#pragma once
// A fresh data folder and its register, for the tests without a window.

#include "TempDir.h"
#include "storage/files/CLocalFile.h"
#include "storage/files/SalesFileHeader.h"

#include <gtest/gtest.h>

struct DataFolder : ::testing::Test {
    TempDir dir;
    CLocalFile local{dir.path()};
    SalesFileHeader header;
};
