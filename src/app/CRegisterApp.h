#pragma once
// The application object: sets the dialog colours and runs the sale screen as
// the program's one modal window. The program ends when it closes.

#include "CLocalFile.h"
#include "PromptBridge.h"
#include "SalesFileHeader.h"

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
