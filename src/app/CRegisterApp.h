#pragma once
// The application object: sets the dialog colours and runs the sale screen as
// the program's one modal window. The program ends when it closes.

#include "platform/PromptBridge.h"
#include "storage/files/CLocalFile.h"
#include "storage/files/SalesFileHeader.h"

class QApplication;

class CRegisterApp {
public:
    explicit CRegisterApp(const std::string& workingFolder = {});
    ~CRegisterApp();

    // Applies the dialog colours: background RGB(245, 240, 225), black text,
    // grey text on disabled controls.
    static void ApplyDialogColours(QApplication& app);
    // Runs the sale screen; returns the process exit code.
    int InitInstance(QApplication& app);

    CLocalFile& local() { return local_; }
    SalesFileHeader& header() { return header_; }

private:
    CLocalFile local_;
    SalesFileHeader header_;
    PromptBridge prompt_;
};
