// Runs the window tests inside one QApplication on the offscreen platform.
#include "support/ModalDriver.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>

namespace {
// Fails a test that ends while an action still waits for its window.
struct PendingModalCheck : ::testing::EmptyTestEventListener {
    void OnTestEnd(const ::testing::TestInfo&) override
    {
        if (PendingModals().empty())
            return;
        for (QTimer* timer : PendingModals())
            timer->deleteLater();
        PendingModals().clear();
        ADD_FAILURE() << "a window the test waited for never opened";
    }
};
}  // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    // As the register does: Qt keeps the machine's locale, the C library's
    // number formatting keeps the point. Dates are formatted by the machine's
    // language in the register; the tests check the English forms, whatever
    // the machine that runs them speaks.
    std::setlocale(LC_NUMERIC, "C");
    std::setlocale(LC_TIME, "C");
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new PendingModalCheck);
    return RUN_ALL_TESTS();
}
