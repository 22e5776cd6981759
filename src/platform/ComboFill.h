#pragma once

#include <string>

class QComboBox;

// Empties the combo box and adds one entry per CR LF ended line of the list.
void FillCombo(QComboBox* combo, const std::string& list);
