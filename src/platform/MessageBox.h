#pragma once
// Message boxes with the system's fixed texts. Windows show every message
// through here, so tests can install a double that records each text and
// answers from a script.

#include <QString>
#include <string>

class QWidget;

class MessageBox {
public:
    enum class Buttons { Ok, YesNo, OkCancel };
    enum class Answer { Ok, Cancel, Yes, No };

    class Backend {
    public:
        virtual ~Backend() = default;
        virtual Answer show(QWidget* parent, const QString& text, const QString& caption, Buttons buttons) = 0;
    };

    static Answer show(QWidget* parent, const std::string& text, Buttons buttons = Buttons::Ok);
    static void information(QWidget* parent, const std::string& text) { show(parent, text, Buttons::Ok); }
    static bool askYesNo(QWidget* parent, const std::string& text)
    {
        return show(parent, text, Buttons::YesNo) == Answer::Yes;
    }

    // nullptr restores the Qt message box.
    static void setBackend(Backend* backend);
    static const char* caption() { return "Register"; }
};
