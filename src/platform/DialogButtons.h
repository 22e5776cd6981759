#pragma once
// The OK and Cancel row at the foot of a dialog: right-aligned, OK the
// default button, wired to the dialog's (possibly overridden) accept and reject.

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

inline QHBoxLayout* OkCancelRow(QDialog* dialog)
{
    auto* row = new QHBoxLayout;
    auto* ok = new QPushButton("OK", dialog);
    ok->setObjectName("ok");
    ok->setDefault(true);
    auto* cancel = new QPushButton("Cancel", dialog);
    cancel->setObjectName("cancel");
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    return row;
}
