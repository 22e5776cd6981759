#pragma once
// A register's file set in a fresh folder, the messages it shows recorded.

#include "CLocalFile.h"
#include "RecordingPrompt.h"
#include "TempDir.h"

#include <gtest/gtest.h>

struct FileSetTest : ::testing::Test {
    TempDir dir;
    CLocalFile local{dir.path()};
    RecordingPrompt prompt;
};
