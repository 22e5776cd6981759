#pragma once
// Keyboard driving of the customer and vendor windows in tests.

#include "support/WindowKeys.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QAbstractItemView>
#include <gtest/gtest.h>

inline void type(QWidget* dlg, const char* name, const QString& text) { retype(dlg, name, text); }

// Moves the list's current row with a key; a list without a current row
// starts at its first.
inline void moveInList(QWidget* dlg, const char* list, Qt::Key key)
{
    auto* view = child<QAbstractItemView>(dlg, list);
    view->setFocus();
    if (!view->currentIndex().isValid() && key != Qt::Key_Home)
        QTest::keyClick(view, Qt::Key_Home);
    QTest::keyClick(view, key);
}

inline QStringList listed(QWidget* dlg, const char* list) { return rowsOf(child<QAbstractItemView>(dlg, list), {0}); }
