#pragma once
// A register's file set in a fresh folder, the messages it shows recorded.

#include "RecordingPrompt.h"
#include "storage/files/CLocalFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

struct FileSetTest : ::testing::Test {
    TempDir dir;
    CLocalFile local{dir.path()};
    RecordingPrompt prompt;
};
