#include "CSaleDlg.h"

#include "CLocalFile.h"
#include "FileDialog.h"
#include "FileSetStartup.h"
#include "SalesFileHeader.h"
#include "SecurityGate.h"
#include "UserPrompt.h"

#include <QLabel>
#include <QMenuBar>
#include <QVBoxLayout>

namespace {
const char* const kPosFilter = "Retail POS (*.pos)|*.pos|All Files (*.*)|*.*||";
}

CSaleDlg::CSaleDlg(CLocalFile& local, SalesFileHeader& header, QWidget* parent)
    : QDialog(parent), local_(local), header_(header)
{
    setObjectName("CSaleDlg");
    resize(1024, 740);
    auto* layout = new QVBoxLayout(this);
    menuBar_ = new QMenuBar(this);
    layout->setMenuBar(menuBar_);

    QMenu* file = menuBar_->addMenu("&File");
    file->setObjectName("menu_file");
    QAction* connect = file->addAction("&Connect...", this, &CSaleDlg::OnFileConnect);
    connect->setObjectName("action_connect");
    QAction* create = file->addAction("&New...", this, &CSaleDlg::OnFileNew);
    create->setObjectName("action_new");
    file->addSeparator();
    QAction* exit = file->addAction("E&xit", this, &QDialog::accept);
    exit->setObjectName("action_exit");

    fileLocation_ = new QLabel(this);
    fileLocation_->setObjectName("file_location");
    layout->addWidget(fileLocation_);
    layout->addStretch();
}

bool CSaleDlg::Initialize()
{
    if (!CheckLocalFileVersion(local_))
        return false;
    if (local_.Load()) {
        userPrompt().showMessage(
            "Unable to locate files.\n\nPossible problems:\n\n   o Files or folder has been moved.\n\n"
            "   o The server is not on.\n\n");
        OnFileConnect();
        if (local_.Load())
            return false;
    }
    if (!CheckHeaderVersion(local_))
        return false;
    if (!OpenHeaderWithFallback(local_, header_)) {
        userPrompt().showMessage("Unable to open or create the sales header file:\n\n" + local_.GetPath("Head"));
        return false;
    }
    OpenFileSet();
    return true;
}

void CSaleDlg::OpenFileSet()
{
    Refresh();
}

void CSaleDlg::Refresh()
{
    const QString head = QString::fromLocal8Bit(local_.GetPath("Head").c_str());
    setWindowTitle("Register - " + head);
    fileLocation_->setText(head);
}

void CSaleDlg::ConnectTo(const std::string& path, bool mustBeNew)
{
    FileSetName name;
    if (!CheckFileSetChoice(path, mustBeNew, name))
        return;
    if (!SwitchFileSet(local_, header_, name))
        return;
    ReadHeader(local_, header_);
    OpenFileSet();
}

void CSaleDlg::OnFileConnect()
{
    if (SecurityGate(local_))
        return;
    const std::string path = FileDialog::getOpenFileName(this, kPosFilter, ".pos");
    if (!path.empty())
        ConnectTo(path, false);
}

void CSaleDlg::OnFileNew()
{
    if (SecurityGate(local_))
        return;
    const std::string path = FileDialog::getSaveFileName(this, kPosFilter, ".pos");
    if (!path.empty())
        ConnectTo(path, true);
}
