#pragma once
// Keyboard driving of the customer and vendor windows in tests.

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

template <class T> T* child(QWidget* dlg, const char* name)
{
    T* w = dlg->findChild<T*>(name);
    EXPECT_NE(w, nullptr) << name;
    return w;
}

// Replaces a box's text from the keyboard.
inline void type(QWidget* dlg, const char* name, const QString& text)
{
    auto* box = child<QLineEdit>(dlg, name);
    box->setFocus();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(box, text);
}

// Focuses a button and presses Enter.
inline void press(QWidget* dlg, const char* name)
{
    auto* b = child<QPushButton>(dlg, name);
    b->setFocus();
    QTest::keyClick(b, Qt::Key_Return);
}

// Moves the list's current row with a key; a list without a current row
// starts at its first.
inline void moveInList(QWidget* dlg, const char* list, Qt::Key key)
{
    auto* view = child<QTreeWidget>(dlg, list);
    view->setFocus();
    if (!view->currentItem() && key != Qt::Key_Home)
        QTest::keyClick(view, Qt::Key_Home);
    QTest::keyClick(view, key);
}

inline QStringList listed(QWidget* dlg, const char* list)
{
    QStringList names;
    auto* view = child<QTreeWidget>(dlg, list);
    for (int i = 0; i < view->topLevelItemCount(); ++i)
        names << view->topLevelItem(i)->text(0);
    return names;
}
