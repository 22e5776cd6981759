#pragma once
// The register's own print dialog and preview window: neither asks the print
// service anything, so neither can hold the window.

#include "platform/PrintFrame.h"

#include <functional>

class QWidget;

// The print dialog the register shows unless a test installs another.
PrintDialog::Backend& RegisterPrintDialog();

// The preview of the document the open print dialog would print; empty when
// the dialog has none to offer.
std::function<void(QWidget*)> PrintDialogPreview();
