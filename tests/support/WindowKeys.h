#pragma once
// Finding a window's controls by object name and typing into them from the
// keyboard, for the window tests.

#include <QPushButton>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

template <class T> T* child(QWidget* dlg, const char* name)
{
    T* w = dlg->findChild<T*>(name);
    EXPECT_NE(w, nullptr) << name;
    return w;
}

// Replaces a box's text from the keyboard: select all, delete, type.
inline void retype(QWidget* dlg, const char* name, const QString& text)
{
    QWidget* box = child<QWidget>(dlg, name);
    box->setFocus();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text);
}

// Presses a button from the keyboard.
inline void press(QWidget* dlg, const char* name)
{
    auto* b = child<QPushButton>(dlg, name);
    b->setFocus();
    QTest::keyClick(b, Qt::Key_Space);
}
