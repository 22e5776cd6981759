#include "CVendorDlg.h"

#include "CLabelsDlg.h"
#include "CLocalFile.h"
#include "ContactTransfer.h"
#include "FileDialog.h"
#include "MessageBox.h"
#include "RecordText.h"
#include "SecurityGate.h"
#include "VendorFile.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
const char* const kFilter = "Address (*.txt)|*.txt|All Files (*.*)|*.*||";
const char* const kImportText =
    "Import Vendor Information\n\nImports tab delimited text files containing Vendor information.\nVendor information "
    "can look like one of the following.\n\nName <tab> address <tab> address <cr>\nOr\nName <tab> address <tab> "
    "address <tab> Phone# <cr>\nOr\nName <tab> address <tab> address <tab> Phone# <tab> Email <cr>\n\n";

// The caption row of each text field: city, state and zip share one, as do
// the two phones.
constexpr int kRowOfText[VendorRecord::kTextCount] = {0, 1, 2, 3, 3, 3, 4, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14};

QPushButton* button(QWidget* parent, const QString& text, const char* name)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

QString qs(const std::string& text) { return RecordText::toQt(text); }
}  // namespace

CVendorDlg::CVendorDlg(const CLocalFile& local, QWidget* parent) : QDialog(parent), local_(local)
{
    setObjectName("CVendorDlg");
    setWindowTitle("Vendor Information");
    auto* outer = new QVBoxLayout(this);
    menuBar_ = new QMenuBar(this);
    outer->setMenuBar(menuBar_);

    auto* body = new QHBoxLayout;
    auto* grid = new QGridLayout;
    for (int row = 0; row < 16; ++row) {
        labels_[row] = new QLabel(this);
        labels_[row]->setObjectName(QString("caption_%1").arg(row));
        grid->addWidget(labels_[row], row, 0);
    }
    std::array<QHBoxLayout*, 15> rows{};
    for (std::size_t k = 0; k < texts_.size(); ++k) {
        texts_[k] = new QLineEdit(this);
        texts_[k]->setObjectName(QString("text_%1").arg(k));
        texts_[k]->setMaxLength(VendorRecord::kTextWidth - 1);
        const int row = kRowOfText[k];
        if (!rows[row]) {
            rows[row] = new QHBoxLayout;
            grid->addLayout(rows[row], row, 1);
            labels_[row]->setBuddy(texts_[k]);
        }
        rows[row]->addWidget(texts_[k], k == VendorRecord::kCity ? 2 : 1);
        connect(texts_[k], &QLineEdit::textEdited, this, &CVendorDlg::MarkChanged);
    }
    notes_ = new QPlainTextEdit(this);
    notes_->setObjectName("notes");
    notes_->setTabChangesFocus(true);
    labels_[15]->setBuddy(notes_);
    grid->addWidget(notes_, 15, 1);
    connect(notes_, &QPlainTextEdit::textChanged, this, [this] {
        if (!filling_)
            MarkChanged();
    });
    body->addLayout(grid, 3);

    auto* right = new QVBoxLayout;
    list_ = new QTreeWidget(this);
    list_->setObjectName("vendor_list");
    list_->setRootIsDecorated(false);
    list_->setHeaderLabels({"Company", "Phone1", "eMail"});
    for (int c = 0; c < 3; ++c)
        list_->setColumnWidth(c, 80);
    connect(list_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* row) {
        if (!filling_)
            OnRowChanged(row);
    });
    right->addWidget(list_, 1);
    auto* buttons = new QHBoxLayout;
    auto* fresh = button(this, "&New", "new");
    auto* save = button(this, "&Save", "save");
    auto* close = button(this, "&Close", "close");
    auto* labels = button(this, "&Labels", "labels");
    for (QPushButton* b : {fresh, save, close, labels})
        buttons->addWidget(b);
    connect(fresh, &QPushButton::clicked, this, &CVendorDlg::OnNew);
    connect(save, &QPushButton::clicked, this, &CVendorDlg::OnSave);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(labels, &QPushButton::clicked, this, &CVendorDlg::OnLabels);
    right->addLayout(buttons);
    body->addLayout(right, 2);
    outer->addLayout(body);

    QMenu* file = menuBar_->addMenu("&File");
    auto add = [this, file](const char* text, const char* name, auto run) {
        QAction* action = file->addAction(text);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, run);
        return action;
    };
    add("&New", "action_new", [this] { OnNew(); });
    add("&Save", "action_save", [this] { OnSave(); });
    add("Save and New...", "action_save_new", [this] {
        if (OnSave())
            OnNew();
    });
    add("&Delete", "action_delete", [this] { OnDelete(); });
    add("&Import", "action_import", [this] { OnImport(); });
    add("&Export", "action_export", [this] { OnExport(); });
    // Printing vendors is not offered: the commands stay in the menu, greyed.
    add("&Print", "action_print", [] {})->setEnabled(false);
    add("Print &All", "action_print_all", [] {})->setEnabled(false);
    add("&Close", "action_close", [this] { accept(); });

    ApplyLabels();
    Relist();
    texts_[0]->setFocus();
}

void CVendorDlg::ApplyLabels()
{
    VendorFileHeader file;
    ReadVendorHeader(local_, file);
    for (std::size_t i = 0; i < labels_.size(); ++i)
        labels_[i]->setText(qs(file.labels[i]));
}

void CVendorDlg::Relist()
{
    filling_ = true;
    list_->clear();
    for (const auto& row : ListVendors(local_)) {
        auto* item = new QTreeWidgetItem(list_);
        for (int c = 0; c < 3; ++c)
            item->setText(c, qs(row[static_cast<std::size_t>(c)]));
    }
    filling_ = false;
    SelectShown();
}

void CVendorDlg::SelectShown()
{
    filling_ = true;
    const QString company = texts_[VendorRecord::kCompany]->text();
    QTreeWidgetItem* shown = nullptr;
    for (int i = 0; i < list_->topLevelItemCount() && !company.isEmpty() && !shown; ++i)
        if (list_->topLevelItem(i)->text(0).compare(company, Qt::CaseInsensitive) == 0)
            shown = list_->topLevelItem(i);
    list_->setCurrentItem(shown);
    filling_ = false;
}

void CVendorDlg::ShowVendor(const VendorRecord& record)
{
    filling_ = true;
    for (std::size_t k = 0; k < texts_.size(); ++k)
        texts_[k]->setText(qs(record.text[k]));
    notes_->setPlainText(qs(record.notes).remove('\r'));
    filling_ = false;
    changed_ = false;
}

VendorRecord CVendorDlg::FromFields() const
{
    VendorRecord record;
    for (std::size_t k = 0; k < texts_.size(); ++k)
        record.text[k] = RecordText::fromQt(texts_[k]->text(), VendorRecord::kTextWidth - 1);
    record.notes = RecordText::fromQt(notes_->toPlainText().replace('\n', "\r\n"), VendorRecord::kNotesWidth - 1);
    return record;
}

void CVendorDlg::OnRowChanged(QTreeWidgetItem* row)
{
    const std::string company = row ? RecordText::fromQt(row->text(0), VendorRecord::kTextWidth - 1) : std::string();
    if (changed_ && MessageBox::askYesNo(this, "Do you want to save your changes first?"))
        OnSave();
    if (!row) {
        MessageBox::show(this, "Click on the Vendor Name.");
        return;
    }
    VendorRecord record;
    FindVendor(local_, company, record);
    ShowVendor(record);
    SelectShown();
}

bool CVendorDlg::OnSave()
{
    const ContactSave saved = SaveVendor(local_, FromFields());
    if (saved == ContactSave::NoName) {
        MessageBox::show(this, "Please enter a Company name.");
        return false;
    }
    if (saved == ContactSave::Failed)
        return false;
    Relist();
    changed_ = false;
    return true;
}

void CVendorDlg::OnNew()
{
    ShowVendor(VendorRecord());
    texts_[0]->setFocus();
}

void CVendorDlg::OnDelete()
{
    VendorRecord record = FromFields();
    if (!MessageBox::askYesNo(this, "Do you want to delete this vendor?"))
        return;
    if (DeleteVendor(local_, record) == ChangeResult::NotFound)
        MessageBox::show(this, "Nothing deleted");
    Relist();
    ShowVendor(VendorRecord());
}

void CVendorDlg::OnLabels()
{
    VendorFileHeader file;
    ReadVendorHeader(local_, file);
    CLabelsDlg dlg("Edit Vendor Labels", file.labels, this);
    if (dlg.exec() != QDialog::Accepted)
        return;
    file.labels = dlg.labels();
    WriteVendorHeader(local_, file);
    ApplyLabels();
}

void CVendorDlg::OnImport()
{
    if (SecurityGate(local_))
        return;
    if (MessageBox::show(this, kImportText, MessageBox::Buttons::OkCancel) != MessageBox::Answer::Ok)
        return;
    const std::string path = FileDialog::getOpenFileName(this, kFilter, ".txt", "Address.txt");
    if (path.empty())
        return;
    std::size_t added = 0;
    if (ImportVendors(local_, path, added) != TransferResult::Done)
        MessageBox::show(this, "Unable to import:\n\n" + path + "\n\nNothing was imported.");
    Relist();
}

void CVendorDlg::OnExport()
{
    if (SecurityGate(local_))
        return;
    const std::string path = FileDialog::getSaveFileName(this, kFilter, ".txt", "Address.txt");
    if (path.empty())
        return;
    std::size_t written = 0;
    if (ExportVendors(local_, path, written) != TransferResult::Done)
        MessageBox::show(this, "Unable to write:\n\n" + path);
}

void CVendorDlg::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // Enter presses the focused button and otherwise moves on as Tab does;
        // it never closes the window.
        if (auto* b = qobject_cast<QPushButton*>(focusWidget()); b && b->isEnabled())
            b->click();
        else
            focusNextChild();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
