#include "contacts/ContactFieldsWidget.h"

#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "platform/RecordText.h"
#include "settings/SecurityGate.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {
// The caption row of each text field.
constexpr int kRowOfText[ContactFieldsWidget::kTexts] = {0, 1, 2, 3, 3, 3, 4, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14};
constexpr std::size_t kCity = 3;
const char* const kAddressFilter = "Address (*.txt)|*.txt|All Files (*.*)|*.*||";
}  // namespace

ContactFieldsWidget::ContactFieldsWidget(std::size_t textChars, std::size_t notesChars, QWidget* parent)
    : QWidget(parent), textChars_(textChars), notesChars_(notesChars)
{
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    for (std::size_t row = 0; row < kLabels; ++row) {
        captions_[row] = new QLabel(this);
        captions_[row]->setObjectName(QString("caption_%1").arg(row));
        grid->addWidget(captions_[row], static_cast<int>(row), 0);
    }
    std::array<QHBoxLayout*, kLabels - 1> rows{};
    for (std::size_t k = 0; k < kTexts; ++k) {
        boxes_[k] = new QLineEdit(this);
        boxes_[k]->setObjectName(QString("text_%1").arg(k));
        boxes_[k]->setMaxLength(static_cast<int>(textChars));
        const int row = kRowOfText[k];
        if (!rows[row]) {
            rows[row] = new QHBoxLayout;
            grid->addLayout(rows[row], row, 1);
            captions_[row]->setBuddy(boxes_[k]);
        }
        rows[row]->addWidget(boxes_[k], k == kCity ? 2 : 1);
        connect(boxes_[k], &QLineEdit::textEdited, this, &ContactFieldsWidget::edited);
    }
    notes_ = new QPlainTextEdit(this);
    notes_->setObjectName("notes");
    notes_->setTabChangesFocus(true);
    captions_[kLabels - 1]->setBuddy(notes_);
    grid->addWidget(notes_, kLabels - 1, 1);
    connect(notes_, &QPlainTextEdit::textChanged, this, [this] {
        if (!filling_)
            emit edited();
    });
}

void ContactFieldsWidget::setLabels(const std::array<std::string, kLabels>& labels)
{
    for (std::size_t i = 0; i < kLabels; ++i)
        captions_[i]->setText(RecordText::toQt(labels[i]));
}

void ContactFieldsWidget::fill(const Texts& texts, const std::string& notes)
{
    filling_ = true;
    for (std::size_t k = 0; k < kTexts; ++k)
        boxes_[k]->setText(RecordText::toQt(texts[k]));
    // The box shows line breaks as LF.
    notes_->setPlainText(RecordText::toQt(notes).remove('\r'));
    filling_ = false;
}

ContactFieldsWidget::Texts ContactFieldsWidget::texts() const
{
    Texts texts;
    for (std::size_t k = 0; k < kTexts; ++k)
        texts[k] = RecordText::fromQt(boxes_[k]->text(), textChars_);
    return texts;
}

std::string ContactFieldsWidget::notes() const
{
    return RecordText::fromQt(notes_->toPlainText().replace('\n', "\r\n"), notesChars_);
}

QPushButton* ContactButton(QWidget* parent, const QString& text, const char* name)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

bool ContactEnter(QWidget* window, QKeyEvent* event)
{
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
        return false;
    if (auto* b = qobject_cast<QPushButton*>(window->focusWidget()); b && b->isEnabled())
        b->click();
    else if (QWidget* focus = window->focusWidget()) {
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QCoreApplication::sendEvent(focus, &tab);
    }
    event->accept();
    return true;
}

std::string AskImportFile(QWidget* parent, const CLocalFile& local, const char* explanation)
{
    if (SecurityGate(local) || MessageBox::show(parent, explanation, MessageBox::Buttons::OkCancel) != MessageBox::Answer::Ok)
        return {};
    return FileDialog::getOpenFileName(parent, kAddressFilter, ".txt", "Address.txt");
}

std::string AskExportFile(QWidget* parent, const CLocalFile& local)
{
    if (SecurityGate(local))
        return {};
    return FileDialog::getSaveFileName(parent, kAddressFilter, ".txt", "Address.txt");
}

void SayTransferFailed(QWidget* parent, TransferResult result, const std::string& path)
{
    switch (result) {
    case TransferResult::Done:
        break;
    case TransferResult::NoRoom:
        MessageBox::show(parent, "Too many customers: the customer numbers would pass 65535.\n\nNothing was imported.");
        break;
    case TransferResult::Unreadable:
    case TransferResult::NotStored:
        MessageBox::show(parent, "Unable to import:\n\n" + path + "\n\nNothing was imported.");
        break;
    case TransferResult::Unwritable:
        MessageBox::show(parent, "Unable to write:\n\n" + path);
        break;
    }
}
