#pragma once
// Watches the keys on their way to a text box for bar-code scans. The
// characters of a scan land in whatever box has the focus before the Enter
// that ends it shows them to be a scan; that Enter gives the box back what it
// held before the scan's first character, so no box keeps part of a code.

#include "sale/ScanDetector.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

#include <deque>
#include <string>
#include <vector>

class ScanKeys {
public:
    // Feeds a key to the detector. Returns the scanned code when it is the
    // Enter that ends a scan, else empty; started tells that the key is the
    // first character of a new run, so the caller can keep what it would change.
    std::string Feed(const QKeyEvent* key, bool& started)
    {
        started = false;
        const std::uint64_t t = key->timestamp();
        const bool plain = !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
        if (plain && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter))
            return detector_.Enter(t);
        const QString text = key->text();
        if (plain && text.size() == 1 && text.at(0).isPrint())
            started = detector_.Character(t, text.toStdString());
        else if (key->key() != Qt::Key_Shift)
            detector_.Reset();
        return {};
    }
    // A key on its way to box (nullptr: a key elsewhere, which ends the run).
    // Returns the scanned code when it is the Enter that ends a scan, the box
    // given back its earlier text; else empty.
    std::string Watch(QLineEdit* box, const QKeyEvent* key)
    {
        if (!box) {
            detector_.Reset();
            return {};
        }
        bool started = false;
        std::string code = Feed(key, started);
        if (started)
            start_ = Start{box, box->text(), box->isModified(), box->cursorPosition()};
        if (!code.empty())
            Restore();
        return code;
    }
    // Gives the box the last scan was typed into its text from before the scan.
    void Restore()
    {
        if (!start_.box)
            return;
        start_.box->setText(start_.text);
        start_.box->setModified(start_.modified);
        start_.box->setCursorPosition(start_.cursor);
    }
    // The box the last scan was typed into.
    QLineEdit* box() const { return start_.box; }
    ScanDetector& detector() { return detector_; }

private:
    ScanDetector detector_;
    struct Start {
        QLineEdit* box = nullptr;
        QString text;
        bool modified = false;
        int cursor = 0;
    } start_;
};

// Keeps the scans that come while a window of its own is open (Quick Add,
// opened by an unknown code) out of that window's boxes: each one is held,
// in order, for the sale behind it, and every box and list of the window
// gets back what it showed before the scan's first character.
class ScanHold : public QObject {
public:
    ScanHold(QWidget* window, std::deque<std::string>& held) : window_(window), held_(held)
    {
        for (QWidget* w : window->findChildren<QWidget*>())
            w->installEventFilter(this);
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // A key not taken by its box comes by again on the way to the parents.
        if (event->type() != QEvent::KeyPress || watched != QApplication::focusWidget() ||
            QApplication::activePopupWidget())
            return false;
        bool started = false;
        const std::string code = keys_.Feed(static_cast<QKeyEvent*>(event), started);
        if (started)
            Keep();
        if (code.empty())
            return false;
        Restore();
        held_.push_back(code);
        return true;
    }

private:
    void Keep()
    {
        boxes_.clear();
        lists_.clear();
        for (QLineEdit* b : window_->findChildren<QLineEdit*>())
            boxes_.push_back({b, b->text(), b->isModified(), b->cursorPosition()});
        for (QComboBox* c : window_->findChildren<QComboBox*>())
            lists_.push_back({c, c->currentIndex(), c->currentText()});
    }
    void Restore()
    {
        for (const List& l : lists_) {
            l.list->setCurrentIndex(l.index);
            if (l.list->isEditable())
                l.list->setEditText(l.text);
        }
        for (const Box& b : boxes_) {
            b.box->setText(b.text);
            b.box->setModified(b.modified);
            b.box->setCursorPosition(b.cursor);
        }
    }

    struct Box {
        QLineEdit* box;
        QString text;
        bool modified;
        int cursor;
    };
    struct List {
        QComboBox* list;
        int index;
        QString text;
    };
    QWidget* window_;
    std::deque<std::string>& held_;
    ScanKeys keys_;
    std::vector<Box> boxes_;
    std::vector<List> lists_;
};
