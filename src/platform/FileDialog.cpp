#include "platform/FileDialog.h"

#include <QFileDialog>
#include <QStringList>

namespace {
class QtFileDialog final : public FileDialog::Backend {
public:
    std::string choose(QWidget* parent, const FileDialog::Request& r) override
    {
        QFileDialog dialog(parent);
        dialog.setAcceptMode(r.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        // Opening also accepts a name that does not exist yet: it starts a new file set.
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
        dialog.setOption(QFileDialog::ReadOnly, false);
        dialog.setNameFilter(FileDialog::qtFilter(r.filter));
        if (!r.defaultExtension.empty())
            dialog.setDefaultSuffix(QString::fromStdString(r.defaultExtension).remove(0, r.defaultExtension[0] == '.' ? 1 : 0));
        if (!r.initialName.empty())
            dialog.selectFile(QString::fromStdString(r.initialName));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return {};
        return dialog.selectedFiles().first().toStdString();
    }
};

QtFileDialog qtBackend;
FileDialog::Backend* backend = &qtBackend;

std::string choose(QWidget* parent, bool save, const std::string& filter, const std::string& ext,
                   const std::string& initial)
{
    FileDialog::Request request{save, filter, ext, initial};
    const std::string path = backend->choose(parent, request);
    return path.empty() ? path : FileDialog::withDefaultExtension(path, ext);
}
}  // namespace

QString FileDialog::qtFilter(const std::string& filter)
{
    const QStringList parts = QString::fromStdString(filter).split('|', Qt::SkipEmptyParts);
    QStringList names;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        names << parts[i];
    return names.join(";;");
}

std::string FileDialog::withDefaultExtension(const std::string& path, const std::string& ext)
{
    if (ext.empty())
        return path;
    const auto slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.find('.') != std::string::npos)
        return path;
    return path + (ext[0] == '.' ? ext : "." + ext);
}

std::string FileDialog::getOpenFileName(QWidget* parent, const std::string& filter, const std::string& ext,
                                        const std::string& initial)
{
    return choose(parent, false, filter, ext, initial);
}

std::string FileDialog::getSaveFileName(QWidget* parent, const std::string& filter, const std::string& ext,
                                        const std::string& initial)
{
    return choose(parent, true, filter, ext, initial);
}

void FileDialog::setBackend(Backend* b) { backend = b ? b : &qtBackend; }
