#pragma once
// A data folder with its header, the platform doubles and small keyboard
// helpers, for the tests of the settings windows.

#include "ModalDriver.h"
#include "RegisterFixture.h"
#include "WindowKeys.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

struct SetupWindow : RegisterFixture {
    void SetUp() override
    {
        RegisterFixture::SetUp();
        ASSERT_FALSE(local.Load());
        ASSERT_EQ(OpenOrCreateHeader(local, header), 0);
    }
    SalesFileHeader stored() const { return storedHeader(); }
    static void toggle(QWidget* dlg, const char* name) { QTest::keyClick(child<QCheckBox>(dlg, name), Qt::Key_Space); }
};
