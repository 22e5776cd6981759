#include "platform/ComboFill.h"
#include "platform/RecordText.h"

#include "storage/files/SalesFileHeader.h"

#include <QComboBox>

void FillCombo(QComboBox* combo, const std::string& list)
{
    combo->clear();
    for (const std::string& entry : ComboEntries(list))
        combo->addItem(RecordText::toQt(entry));
}
