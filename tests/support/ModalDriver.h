#pragma once
// Drives a modal window or pop-up menu that the code under test opens and waits in.

#include "platform/BackgroundWork.h"

#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>
#include <string>

// Actions still waiting for their window. A test that ends with one left fails
// (the window tests' main checks after each test), so a window that never
// opens is caught by the test that expected it, however fast the machine is.
inline std::set<QTimer*>& PendingModals()
{
    static std::set<QTimer*> pending;
    return pending;
}

// Acts on the next widget of type T that current() gives once it is up. Another
// widget fails the test and is closed. The tick bound only keeps a broken test
// from hanging: it is far above any real opening, even on a loaded machine.
template <class T> inline void whenUp(QWidget* (*current)(), std::function<void(T*)> act)
{
    auto* timer = new QTimer;
    PendingModals().insert(timer);
    auto tries = std::make_shared<int>(0);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, current, act, tries] {
        QWidget* up = current();
        auto* w = qobject_cast<T*>(up);
        // While file work runs, the window that asked for it is still up.
        if (!w && (!up || BackgroundWork::busy()) && ++*tries <= 6000)
            return;
        PendingModals().erase(timer);
        timer->stop();
        timer->deleteLater();
        if (w)
            return act(w);
        ADD_FAILURE() << (up ? "another window opened instead: " + up->objectName().toStdString()
                             : std::string("the expected window did not open"));
        if (auto* d = qobject_cast<QDialog*>(up))
            d->reject();
    });
    timer->start();
}

// Acts on the next modal window of type T once it is up.
template <class T> inline void whenModal(std::function<void(T*)> act)
{
    whenUp<T>(&QApplication::activeModalWidget, std::move(act));
}

// Highlights the open menu's item of this text and presses Enter.
inline void chooseInMenu(QMenu* menu, const QString& item)
{
    for (QAction* a : menu->actions())
        if (a->text() == item)
            menu->setActiveAction(a);
    QTest::keyClick(menu, Qt::Key_Return);
}

// Chooses an item of the next pop-up menu once it is up, from the keyboard.
inline void whenPopup(const QString& item)
{
    whenUp<QMenu>(&QApplication::activePopupWidget, [item](QMenu* menu) { chooseInMenu(menu, item); });
}

// Closes every modal window of type T that opens while it lives and counts
// them, for tests of commands that must open nothing (or nothing of a kind).
template <class T = QDialog> class ModalCounter {
public:
    ModalCounter()
    {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (auto* d = qobject_cast<T*>(QApplication::activeModalWidget())) {
                ++count_;
                d->reject();
            }
        });
        timer_.start();
    }
    int count() const { return count_; }
    bool opened() const { return count_ > 0; }

private:
    QTimer timer_;
    int count_ = 0;
};
using ModalGuard = ModalCounter<>;
