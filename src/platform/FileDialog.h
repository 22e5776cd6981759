#pragma once
// File open and save dialogs. Filters are given in the form
// "Retail POS (*.pos)|*.pos|All Files (*.*)|*.*||" and a default extension
// (".pos") is added to a typed name that has none. Tests install a double that
// returns scripted paths.

#include <QString>
#include <string>

class QWidget;

class FileDialog {
public:
    struct Request {
        bool save = false;
        std::string filter;
        std::string defaultExtension;
        std::string initialName;
    };

    class Backend {
    public:
        virtual ~Backend() = default;
        // The chosen path, or empty when cancelled.
        virtual std::string choose(QWidget* parent, const Request& request) = 0;
    };

    static std::string getOpenFileName(QWidget* parent, const std::string& filter, const std::string& defaultExtension,
                                       const std::string& initialName = {});
    static std::string getSaveFileName(QWidget* parent, const std::string& filter, const std::string& defaultExtension,
                                       const std::string& initialName = {});

    // "A (*.a)|*.a|B (*.*)|*.*||" to Qt's "A (*.a);;B (*.*)".
    static QString qtFilter(const std::string& filter);
    // Adds the default extension when the file name has none.
    static std::string withDefaultExtension(const std::string& path, const std::string& defaultExtension);

    static void setBackend(Backend* backend);  // nullptr restores the Qt dialogs
};
