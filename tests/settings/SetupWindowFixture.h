#pragma once
// A data folder with its header, the platform doubles, small keyboard helpers
// and a sale on screen, for the tests of the settings windows.

#include "CSaleDlg.h"
#include "ModalDriver.h"
#include "ProductFile.h"
#include "RegisterFixture.h"
#include "SaleKeys.h"

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
    static void toggle(QWidget* dlg, const char* name) { QTest::keyClick(child<QCheckBox>(dlg, name), Qt::Key_Space); }
    // Presses a button from the keyboard.
    static void press(QWidget* dlg, const char* name)
    {
        auto* b = child<QPushButton>(dlg, name);
        b->setFocus();
        QTest::keyClick(b, Qt::Key_Space);
    }

    // Opens the sale screen on a product A100 priced `price` and rings it up.
    void startSale(CSaleDlg& screen, float price)
    {
        ProductRecord product;
        product.itemNumber = "A100";
        product.description = "Hammer";
        product.price[0] = price;
        ASSERT_EQ(EnsureProductFile(local), 0);
        ASSERT_EQ(AppendProduct(local, product), 0);
        ASSERT_TRUE(screen.Initialize());
        screen.show();
        screen.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&screen));
        auto* item = qobject_cast<QLineEdit*>(screen.control(SaleIds::kItem));
        item->setFocus(Qt::OtherFocusReason);
        QTest::keyClicks(item, "A100");
        QTest::keyClick(item, Qt::Key_Return);
    }
};
