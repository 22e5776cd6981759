#pragma once
// The sale screen, the program's main window.

#include <QDialog>
#include <string>

class CLocalFile;
struct SalesFileHeader;
class QAction;
class QLabel;
class QMenuBar;

class CSaleDlg : public QDialog {
    Q_OBJECT
public:
    CSaleDlg(CLocalFile& local, SalesFileHeader& header, QWidget* parent = nullptr);

    // The start-up sequence: local record and header checks, loading, opening
    // the header. False when the program must end.
    bool Initialize();

    QMenuBar* menuBar() const { return menuBar_; }

public slots:
    void OnFileConnect();
    void OnFileNew();

private:
    // Connects to (or, for "New...", creates) the file set of a chosen path.
    void ConnectTo(const std::string& path, bool mustBeNew);
    // The sale screen's own opening once the file set is in use.
    void OpenFileSet();
    void Refresh();

    CLocalFile& local_;
    SalesFileHeader& header_;
    QMenuBar* menuBar_ = nullptr;
    QLabel* fileLocation_ = nullptr;
};
