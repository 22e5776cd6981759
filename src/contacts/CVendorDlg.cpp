#include "contacts/CVendorDlg.h"

#include "contacts/CLabelsDlg.h"
#include "contacts/ContactFieldsWidget.h"
#include "contacts/ContactTransfer.h"
#include "platform/MessageBox.h"
#include "platform/RecordList.h"
#include "platform/RecordText.h"
#include "storage/files/CLocalFile.h"
#include "storage/files/VendorFile.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const char* const kImportText =
    "Import Vendor Information\n\nImports tab delimited text files containing Vendor information.\nVendor information "
    "can look like one of the following.\n\nName <tab> address <tab> address <cr>\nOr\nName <tab> address <tab> "
    "address <tab> Phone# <cr>\nOr\nName <tab> address <tab> address <tab> Phone# <tab> Email <cr>\n\n";

constexpr ListColumn kColumns[] = {{"Company", 80, false}, {"Phone1", 80, false}, {"eMail", 80, false}};
}  // namespace

CVendorDlg::CVendorDlg(const CLocalFile& local, QWidget* parent) : QDialog(parent), local_(local)
{
    setObjectName("CVendorDlg");
    setWindowTitle("Vendor Information");
    auto* outer = new QVBoxLayout(this);
    menuBar_ = new QMenuBar(this);
    outer->setMenuBar(menuBar_);

    auto* body = new QHBoxLayout;
    fields_ = new ContactFieldsWidget(VendorRecord::kTextWidth - 1, VendorRecord::kNotesWidth - 1, this);
    connect(fields_, &ContactFieldsWidget::edited, this, &CVendorDlg::MarkChanged);
    body->addWidget(fields_, 3);

    auto* right = new QVBoxLayout;
    model_ = new RecordListModel(
        kColumns, [this] { return rows_.size(); },
        RecordListModel::FromRecordText([this](std::size_t row, int column) { return rows_.cell(row, column); }), this);
    list_ = MakeRecordTable(this, "vendor_list", model_, kColumns);
    connect(list_->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex& row) {
        if (!filling_)
            OnRowChanged(row.isValid() ? row.row() : -1);
    });
    right->addWidget(list_, 1);
    auto* buttons = new QHBoxLayout;
    auto* fresh = ContactButton(this, "&New", "new");
    auto* save = ContactButton(this, "&Save", "save");
    auto* close = ContactButton(this, "&Close", "close");
    auto* labels = ContactButton(this, "&Labels", "labels");
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
    fields_->box(0)->setFocus();
}

void CVendorDlg::ApplyLabels()
{
    VendorFileHeader file;
    ReadVendorHeader(local_, file);
    fields_->setLabels(file.labels);
}

void CVendorDlg::Relist()
{
    filling_ = true;
    model_->reset([&] { rows_.list(local_); });
    filling_ = false;
    SelectShown();
}

void CVendorDlg::SelectShown()
{
    filling_ = true;
    list_->setCurrentRow(rows_.rowOf(RecordText::fromQt(fields_->box(VendorRecord::kCompany)->text())));
    filling_ = false;
}

void CVendorDlg::ShowVendor(const VendorRecord& record)
{
    fields_->fill(record.text, record.notes);
    changed_ = false;
}

VendorRecord CVendorDlg::FromFields() const
{
    VendorRecord record;
    record.text = fields_->texts();
    record.notes = fields_->notes();
    return record;
}

void CVendorDlg::OnRowChanged(int row)
{
    const std::string company = row >= 0 ? rows_.cell(static_cast<std::size_t>(row), 0) : std::string();
    if (changed_ && MessageBox::askYesNo(this, "Do you want to save your changes first?"))
        OnSave();
    if (row < 0) {
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
    fields_->box(0)->setFocus();
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
    if (!CLabelsDlg::Edit(this, "Edit Vendor Labels", file.labels))
        return;
    WriteVendorHeader(local_, file);
    ApplyLabels();
}

void CVendorDlg::OnImport()
{
    const std::string path = AskImportFile(this, local_, kImportText);
    if (path.empty())
        return;
    std::size_t added = 0;
    SayTransferFailed(this, ImportVendors(local_, path, added), path);
    Relist();
}

void CVendorDlg::OnExport()
{
    const std::string path = AskExportFile(this, local_);
    if (path.empty())
        return;
    std::size_t written = 0;
    SayTransferFailed(this, ExportVendors(local_, path, written), path);
}

void CVendorDlg::keyPressEvent(QKeyEvent* event)
{
    if (!ContactEnter(this, event))
        QDialog::keyPressEvent(event);
}
