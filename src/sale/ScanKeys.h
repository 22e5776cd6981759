#pragma once
// Watches the keys on their way to a text box for bar-code scans. The
// characters of a scan land in whatever box has the focus before the Enter
// that ends it shows them to be a scan; that Enter gives the box back what it
// held before the scan's first character, so no box keeps part of a code.

#include "sale/ScanDetector.h"

#include <QKeyEvent>
#include <QLineEdit>

#include <string>

class ScanKeys {
public:
    // A key on its way to box (nullptr: a key elsewhere, which ends the run).
    // Returns the scanned code when it is the Enter that ends a scan, the box
    // given back its earlier text; else empty.
    std::string Watch(QLineEdit* box, const QKeyEvent* key)
    {
        if (!box) {
            detector_.Reset();
            return {};
        }
        const std::uint64_t t = key->timestamp();
        const bool plain = !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
        if (plain && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            std::string code = detector_.Enter(t);
            if (!code.empty())
                Restore();
            return code;
        }
        const QString text = key->text();
        if (plain && text.size() == 1 && text.at(0).isPrint()) {
            if (detector_.Character(t, text.toStdString()))
                start_ = Start{box, box->text(), box->isModified(), box->cursorPosition()};
        } else if (key->key() != Qt::Key_Shift) {
            detector_.Reset();
        }
        return {};
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
