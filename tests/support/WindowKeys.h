#pragma once
// Finding a window's controls by object name and typing into them from the
// keyboard, for the window tests.

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QAbstractItemView>
#include <QTreeWidget>
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

// The text a list shows in a cell, as its model gives it to the view.
inline QString cellText(const QAbstractItemView* list, int row, int column)
{
    return list->model()->index(row, column).data().toString();
}

// Each row of a list as the texts of the given columns, joined by spaces.
inline QStringList rowsOf(const QAbstractItemView* list, std::initializer_list<int> columns)
{
    QStringList out;
    for (int i = 0; i < list->model()->rowCount(); ++i) {
        QStringList cells;
        for (int c : columns)
            cells << cellText(list, i, c);
        out << cells.join(' ');
    }
    return out;
}

// Clicks a list's row where it is drawn (the row is scrolled into view first).
inline void clickListRow(QAbstractItemView* list, int row, int column = 0)
{
    const QModelIndex at = list->model()->index(row, column);
    list->scrollTo(at);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(at).center());
}

// Chooses a list's row from the keyboard: Home, then Down.
inline void chooseRow(QAbstractItemView* list, int row)
{
    list->setFocus(Qt::TabFocusReason);
    QTest::keyClick(list, Qt::Key_Home);
    for (int i = 0; i < row; ++i)
        QTest::keyClick(list, Qt::Key_Down);
    QApplication::processEvents();  // some windows handle the choice after the list's signal
}
