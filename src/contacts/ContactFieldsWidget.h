#pragma once
// The left side of the customer and vendor windows: eighteen text boxes in
// record order under sixteen captions (city, state and zip share a row, as do
// the two phones) and the multi-line notes box under the last caption. Also
// the small pieces both windows share.

#include "contacts/ContactTransfer.h"

#include <QWidget>

#include <array>
#include <string>

class CLocalFile;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class ContactFieldsWidget : public QWidget {
    Q_OBJECT
public:
    static constexpr std::size_t kTexts = 18;
    static constexpr std::size_t kLabels = 16;
    using Texts = std::array<std::string, kTexts>;

    // Boxes hold at most textChars characters, the notes notesChars.
    ContactFieldsWidget(std::size_t textChars, std::size_t notesChars, QWidget* parent = nullptr);

    void setLabels(const std::array<std::string, kLabels>& labels);
    // Fills the boxes without counting as an edit.
    void fill(const Texts& texts, const std::string& notes);
    Texts texts() const;
    // The notes as a record keeps them (CR LF line ends), cut to fit.
    std::string notes() const;
    QLineEdit* box(std::size_t k) const { return boxes_[k]; }

signals:
    // The user changed a box or the notes.
    void edited();

private:
    std::size_t textChars_;
    std::size_t notesChars_;
    bool filling_ = false;
    std::array<QLineEdit*, kTexts> boxes_{};
    std::array<QLabel*, kLabels> captions_{};
    QPlainTextEdit* notes_ = nullptr;
};

// A button that Enter presses only while it has the focus.
QPushButton* ContactButton(QWidget* parent, const QString& text, const char* name);
// Enter in a contact window: presses the focused button, else moves on as Tab
// does; never closes the window. True when the key was Enter.
bool ContactEnter(QWidget* window, QKeyEvent* event);
// The text file to import, after the security gate and the explanation
// (OK/Cancel); empty when refused or cancelled.
std::string AskImportFile(QWidget* parent, const CLocalFile& local, const char* explanation);
// The text file to export to, after the security gate; empty when refused or
// cancelled.
std::string AskExportFile(QWidget* parent, const CLocalFile& local);
// Tells the user that an import or export failed, and why.
void SayTransferFailed(QWidget* parent, TransferResult result, const std::string& path);
