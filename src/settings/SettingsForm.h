#pragma once
// Small building blocks shared by the settings windows: named controls with
// their labels, report-style lists, and the CR LF of stored multi-line texts.

#include "platform/RecordText.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <QStringList>
#include <QTreeWidget>

#include <string>
#include <vector>

namespace SettingsForm {

inline QString qs(const std::string& text)
{
    return RecordText::toQt(text);
}

inline std::string ss(const QString& text, std::size_t maxChars = std::string::npos)
{
    return RecordText::fromQt(text, maxChars);
}

// A line box with its label in row `row` of a grid.
inline QLineEdit* lineBox(QWidget* owner, QGridLayout* grid, int row, const char* label, const char* name,
                          const std::string& text = {})
{
    auto* box = new QLineEdit(qs(text), owner);
    box->setObjectName(name);
    auto* caption = new QLabel(label, owner);
    caption->setBuddy(box);
    grid->addWidget(caption, row, 0);
    grid->addWidget(box, row, 1);
    return box;
}

inline QPushButton* button(QWidget* owner, const char* text, const char* name)
{
    auto* b = new QPushButton(text, owner);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

// OK and Cancel, wired to the dialog's accept and reject.
inline QDialogButtonBox* okCancel(QDialog* dialog)
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("ok");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("cancel");
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

// A list in report mode: one row per entry, whole rows selected. A width of 0
// hides its column.
inline QTreeWidget* reportList(QWidget* owner, const char* name, const QStringList& columns, const std::vector<int>& widths)
{
    auto* list = new QTreeWidget(owner);
    list->setObjectName(name);
    list->setRootIsDecorated(false);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setHeaderLabels(columns);
    for (std::size_t i = 0; i < widths.size(); ++i) {
        if (widths[i] == 0)
            list->setColumnHidden(static_cast<int>(i), true);
        else
            list->setColumnWidth(static_cast<int>(i), widths[i]);
    }
    return list;
}

// A stored multi-line text (CR LF lines) for a text box, and back.
inline QString fromStoredLines(const std::string& text)
{
    return qs(text).remove(QLatin1Char('\r'));
}

inline std::string toStoredLines(const QString& text)
{
    QString crlf = text;
    crlf.remove(QLatin1Char('\r'));
    crlf.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return ss(crlf);
}

}  // namespace SettingsForm
