#include "app/CRegisterApp.h"

#include "sale/CSaleDlg.h"

#include <QApplication>
#include <QPalette>

#include <clocale>

CRegisterApp::CRegisterApp(const std::string& workingFolder) : local_(workingFolder)
{
    setUserPrompt(&prompt_);
}

CRegisterApp::~CRegisterApp() { setUserPrompt(nullptr); }

void CRegisterApp::ApplyDialogColours(QApplication& app)
{
    // One style on every platform, so the register looks the same everywhere.
    app.setStyle("Fusion");
    QPalette palette = app.palette();
    const QColor background(245, 240, 225);
    palette.setColor(QPalette::Window, background);
    palette.setColor(QPalette::Button, background);
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(role, Qt::black);
    // Greyed commands and locked boxes must look it.
    const QColor grey(128, 128, 128);
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, grey);
    app.setPalette(palette);
}

int CRegisterApp::InitInstance(QApplication& app)
{
    // Qt takes the locale from the environment; the C library's number
    // formatting must stay with the point whatever it is.
    std::setlocale(LC_NUMERIC, "C");
    ApplyDialogColours(app);
    CSaleDlg dialog(local_, header_);
    prompt_.setParent(&dialog);
    if (!dialog.Initialize())
        return 1;
    dialog.exec();
    prompt_.setParent(nullptr);
    return 0;
}
