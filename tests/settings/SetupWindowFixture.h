#pragma once
// A data folder with its header, the platform doubles and small keyboard
// helpers for the tests of the settings windows.

#include "CLocalFile.h"
#include "ModalDriver.h"
#include "PlatformDoubles.h"
#include "PromptBridge.h"
#include "SalesFileHeader.h"
#include "TempDir.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

class SetupWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        setUserPrompt(&bridge);
        ASSERT_FALSE(local.Load());
        ASSERT_EQ(OpenOrCreateHeader(local, header), 0);
    }
    void TearDown() override { setUserPrompt(nullptr); }

    SalesFileHeader stored() const
    {
        SalesFileHeader h;
        EXPECT_EQ(ReadHeader(local, h), 0);
        return h;
    }
    template <class T> static T* child(QWidget* dlg, const char* name)
    {
        T* w = dlg->findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    // Replaces a box's text from the keyboard.
    static void retype(QWidget* dlg, const char* name, const QString& text)
    {
        QWidget* box = child<QWidget>(dlg, name);
        box->setFocus();
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_Delete);
        QTest::keyClicks(box, text);
    }
    // Presses a button from the keyboard.
    static void press(QWidget* dlg, const char* name)
    {
        auto* b = child<QPushButton>(dlg, name);
        b->setFocus();
        QTest::keyClick(b, Qt::Key_Space);
    }

    TempDir dir;
    CLocalFile local{dir.path()};
    SalesFileHeader header;
    PromptBridge bridge;
    MessageBoxDouble boxes;
};
