#include "ComboFill.h"

#include "SalesFileHeader.h"

#include <QComboBox>

void FillCombo(QComboBox* combo, const std::string& list)
{
    combo->clear();
    for (const std::string& entry : ComboEntries(list))
        combo->addItem(QString::fromLocal8Bit(entry.c_str()));
}
