#pragma once
// A register in a fresh folder with the platform doubles installed: the
// starting point of the window tests.

#include "PlatformDoubles.h"
#include "TempDir.h"
#include "platform/PromptBridge.h"
#include "storage/files/CLocalFile.h"
#include "storage/files/SalesFileHeader.h"

#include <gtest/gtest.h>

struct RegisterFixture : ::testing::Test {
    TempDir dir;
    MessageBoxDouble boxes;
    PromptBridge bridge;
    CLocalFile local{dir.path()};
    SalesFileHeader header;

    void SetUp() override { setUserPrompt(&bridge); }
    void TearDown() override { setUserPrompt(nullptr); }
    // The register's record as a restart finds it.
    CLocalFile reloaded() const
    {
        CLocalFile fresh(dir.path());
        EXPECT_FALSE(fresh.Load());
        return fresh;
    }
    // The header as stored.
    SalesFileHeader storedHeader() const
    {
        SalesFileHeader fresh;
        EXPECT_EQ(ReadHeader(local, fresh), 0);
        return fresh;
    }
};
