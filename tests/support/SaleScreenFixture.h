#pragma once
// The sale screen on a fresh data folder with the platform doubles and a
// standing clock, driven as a cashier drives it: real boxes, real key events.

#include "RegisterFixture.h"
#include "sale/CSaleDlg.h"
#include "sale/SaleKeys.h"
#include "storage/files/ListFiles.h"
#include "storage/files/ProductFile.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

// Readable failure messages for Qt texts.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

inline ProductRecord saleProduct(const std::string& item, float price, std::uint8_t taxStatus = 1, float stock = 10,
                                 const std::string& barCode = {})
{
    ProductRecord p;
    p.itemNumber = item;
    p.description = "Desc " + item;
    p.price[0] = price;
    p.taxStatus = taxStatus;
    p.stock = stock;
    p.barCode = barCode;
    p.cost = price / 2;
    return p;
}

struct SaleScreenFixture : RegisterFixture {
    ClockDouble clock{2026, 12, 6, 10, 30};
    std::unique_ptr<CSaleDlg> dlg;

    void TearDown() override
    {
        dlg.reset();
        RegisterFixture::TearDown();
    }
    // Sales start without choosing a cashier.
    void noCashierChoice()
    {
        ASSERT_EQ(OpenOrCreateHeader(local, header), 0);
        header.mustSelectCashier = 0;
        ASSERT_EQ(WriteHeader(local, header), 0);
    }
    // Starts the screen on the folder as it stands.
    void open()
    {
        dlg.reset();
        dlg = std::make_unique<CSaleDlg>(local, header);
        ASSERT_TRUE(dlg->Initialize());
        dlg->show();
        activate();
    }
    // The screen is active again after a window closed, as the desktop makes it.
    void activate()
    {
        dlg->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    }
    void addProducts(std::initializer_list<ProductRecord> products)
    {
        ASSERT_EQ(EnsureProductFile(local), 0);
        for (const ProductRecord& p : products)
            ASSERT_EQ(AppendProduct(local, p), 0);
    }
    QLineEdit* box(int id) { return qobject_cast<QLineEdit*>(dlg->control(id)); }
    // What a box, label or button shows.
    QString text(int id)
    {
        QWidget* w = dlg->control(id);
        return w ? w->property("text").toString() : QString();
    }
    // Each box of the table shows its text.
    void expectTexts(std::initializer_list<std::pair<int, const char*>> want)
    {
        for (const auto& [id, t] : want)
            EXPECT_EQ(text(id), t) << "control " << id;
    }
    QWidget* focused() { return QApplication::focusWidget(); }
    // One key event with a time of our choosing, to the focused box.
    std::uint64_t clockMs = 100000;
    void timedKey(int k, const QString& text, std::uint64_t gapMs)
    {
        QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier, text);
        press.setTimestamp(clockMs += gapMs);
        QApplication::sendEvent(focused(), &press);
    }
    // A scanner: the code's characters 5 ms apart, then Enter. A person: 150 ms apart.
    // A busy PC: the character at breakAt comes breakMs after the one before.
    void scan(const QString& code, std::uint64_t gapMs = 5, int breakAt = 0, std::uint64_t breakMs = 0)
    {
        timedKey(code[0].toUpper().unicode(), code.left(1), 1000);  // after a pause
        for (int i = 1; i < code.size(); ++i)
            timedKey(code[i].toUpper().unicode(), QString(code[i]), i == breakAt ? breakMs : gapMs);
        timedKey(Qt::Key_Return, "\r", gapMs);
    }
    // Types into a box after giving it the focus, then leaves it with Enter.
    void typeInto(int id, const QString& keys)
    {
        QWidget* w = dlg->control(id);
        w->setFocus(Qt::OtherFocusReason);
        if (auto* b = box(id))
            b->selectAll();
        if (keys.isEmpty())
            QTest::keyClick(w, Qt::Key_Delete);
        QTest::keyClicks(w, keys);
        QTest::keyClick(w, Qt::Key_Return);
    }
    // A key press on the focused control, the screen made active first when
    // a window closed.
    void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        if (!focused())
            activate();
        ASSERT_NE(focused(), nullptr);
        QTest::keyClick(focused(), k, m);
    }
    // A menu command, as its shortcut or a click chooses it.
    void menu(const char* action) { dlg->findChild<QAction*>(action)->trigger(); }
    void choosePayType(const QString& type)
    {
        auto* combo = qobject_cast<QComboBox*>(dlg->control(SaleIds::kPayType));
        ASSERT_NE(combo, nullptr);
        combo->setFocus(Qt::OtherFocusReason);
        combo->setCurrentIndex(combo->findText(type));
        emit combo->activated(combo->currentIndex());
    }
};
