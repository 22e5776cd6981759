#include "settings/CPeopleDlg.h"

#include "platform/MessageBox.h"
#include "settings/SecurityGate.h"
#include "settings/SettingsForm.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

using namespace SettingsForm;

namespace {
constexpr std::size_t kNameChars = 23;
}

CPeopleDlg::CPeopleDlg(const CLocalFile& local, PeopleKind kind, QWidget* parent)
    : QDialog(parent), local_(local), kind_(kind)
{
    setObjectName("CPeopleDlg");
    setWindowTitle(cashiers() ? "Cashier Names" : "Sales Personnel");
    auto* outer = new QVBoxLayout(this);
    list_ = cashiers() ? reportList(this, "list", {"Cashier", "Password", "#"}, {112, 112, 0})
                       : reportList(this, "list", {"Name", "#"}, {224, 0});
    outer->addWidget(list_);
    auto* grid = new QGridLayout;
    outer->addLayout(grid);
    name_ = lineBox(this, grid, 0, "Name", "name");
    name_->setMaxLength(kNameChars);
    if (cashiers()) {
        password_ = lineBox(this, grid, 1, "Password", "password");
        password_->setMaxLength(kNameChars);
        grid->addWidget(new QLabel("Optional", this), 1, 2);
    }
    auto* row = new QHBoxLayout;
    outer->addLayout(row);
    QPushButton* save = button(this, "Save", "save");
    QPushButton* fresh = button(this, "New", "new");
    QPushButton* remove = button(this, "Delete", "delete");
    QPushButton* done = button(this, cashiers() ? "OK" : "Done", "ok");
    for (QPushButton* b : {save, fresh, remove, done})
        row->addWidget(b);

    for (QLineEdit* box : {name_, password_})
        if (box)
            connect(box, &QLineEdit::textEdited, this, [this] { modified_ = true; });
    // The choice is handled after the list's own signal: saving first fills
    // the list again, which must not happen inside it.
    connect(list_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (filling_)
            return;
        const bool chosen = item != nullptr;
        const QString name = item ? item->text(0) : QString();
        const QString password = item && cashiers() ? item->text(1) : QString();
        QMetaObject::invokeMethod(
            this, [this, chosen, name, password] { OnChoose(chosen, name, password); }, Qt::QueuedConnection);
    });
    connect(save, &QPushButton::clicked, this, [this] { OnSave(); });
    connect(fresh, &QPushButton::clicked, this, &CPeopleDlg::OnNew);
    connect(remove, &QPushButton::clicked, this, &CPeopleDlg::OnDelete);
    connect(done, &QPushButton::clicked, this, &QDialog::accept);
    FillList();
    name_->setFocus();
}

void CPeopleDlg::Run(QWidget* parent, const CLocalFile& local, PeopleKind kind)
{
    if (kind == PeopleKind::Cashiers && SecurityGate(local))
        return;
    CPeopleDlg dialog(local, kind, parent);
    dialog.exec();
}

void CPeopleDlg::FillList()
{
    filling_ = true;
    list_->clear();
    int i = 0;
    for (const Person& p : ListPeople(local_, kind_)) {
        QStringList cells{qs(p.name)};
        if (cashiers())
            cells << qs(p.password);
        cells << QString::number(i++);
        auto* item = new QTreeWidgetItem(list_, cells);
        if (!original_.empty() && equalsNoCase(p.name, original_))
            list_->setCurrentItem(item);
    }
    filling_ = false;
}

void CPeopleDlg::AskToSave()
{
    if (modified_ && MessageBox::askYesNo(this, "Save changes first?"))
        OnSave();
    modified_ = false;
}

void CPeopleDlg::OnChoose(bool chosen, const QString& name, const QString& password)
{
    AskToSave();
    if (!chosen) {
        MessageBox::information(this, cashiers() ? "Click on the Cashier Name." : "Click on the Name.");
        return;
    }
    original_ = ss(name);
    name_->setText(name);
    if (password_)
        password_->setText(password);
    modified_ = false;
    FillList();
}

bool CPeopleDlg::OnSave()
{
    const Person typed{ss(name_->text(), kNameChars), password_ ? ss(password_->text(), kNameChars) : std::string()};
    switch (SavePerson(local_, kind_, original_, typed)) {
    case PersonSave::EmptyName:
        MessageBox::information(this, "Can't save.\nType a name first.");
        return false;
    case PersonSave::Gone:
        MessageBox::information(this, "Can't save.\nThis name is no longer in the list: another register changed or "
                                      "deleted it.\nClick Save again to add it as a new name.");
        original_.clear();
        FillList();
        return false;
    case PersonSave::Failed:
        MessageBox::information(this, "The name could not be saved. Nothing was changed.");
        return false;
    case PersonSave::Appended:
    case PersonSave::Replaced:
        break;
    }
    original_ = typed.name;
    modified_ = false;
    FillList();
    return true;
}

void CPeopleDlg::OnNew()
{
    AskToSave();
    name_->clear();
    if (password_)
        password_->clear();
    original_.clear();
    filling_ = true;
    list_->setCurrentItem(nullptr);
    filling_ = false;
    name_->setFocus();
}

void CPeopleDlg::OnDelete()
{
    if (!MessageBox::askYesNo(this, cashiers() ? "Delete this Cashier record?" : "Delete this Name?"))
        return;
    DeletePerson(local_, kind_, ss(name_->text(), kNameChars));
    original_.clear();
    modified_ = false;
    name_->clear();
    if (password_)
        password_->clear();
    FillList();
}
