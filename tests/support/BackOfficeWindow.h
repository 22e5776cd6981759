#pragma once
// A register's folder with its header and the platform doubles, where the
// back-office windows start; and their boxes driven from the keyboard.

#include "ModalDriver.h"
#include "RegisterFixture.h"
#include "WindowKeys.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include <functional>
#include <string>
#include <vector>

struct BackOfficeWindow : RegisterFixture {
    FileDialogDouble files;

    void SetUp() override
    {
        RegisterFixture::SetUp();
        ASSERT_FALSE(local.Load());
        ASSERT_EQ(OpenOrCreateHeader(local, header), 0);
    }
    static void toggle(QWidget* dlg, const char* name) { QTest::keyClick(child<QCheckBox>(dlg, name), Qt::Key_Space); }
};

// Replaces a box's text from the keyboard and leaves it with Enter.
inline void retypeAndEnter(QWidget* dlg, const char* name, const QString& text)
{
    retype(dlg, name, text);
    QTest::keyClick(child<QWidget>(dlg, name), Qt::Key_Return);
}

// What a protected command says while security is on.
inline const std::string kSecurityRefusal = "Security is on.\n\nAccess to this function is not allowed.\n\n"
                                            "To turn the security off, go to Settings: Security menu.\n"
                                            "A password may be necessary.";

// Runs the action, which must show this one message; it is answered OK.
inline void expectMessage(MessageBoxDouble& boxes, const std::string& text, const std::function<void()>& act)
{
    const auto before = static_cast<std::ptrdiff_t>(boxes.texts().size());
    boxes.answer(MessageBox::Answer::Ok);
    act();
    const std::vector<std::string> shown(boxes.texts().begin() + before, boxes.texts().end());
    EXPECT_EQ(shown, std::vector<std::string>{text});
}
