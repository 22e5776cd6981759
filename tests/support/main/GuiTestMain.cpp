// Runs the window tests inside one QApplication on the offscreen platform.
#include "support/ModalDriver.h"

#include <QApplication>

#include <clocale>
#include <gtest/gtest.h>

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
    // As the register does at start-up: Qt takes the locale from the
    // environment, the C library's number formatting stays with the point.
    std::setlocale(LC_NUMERIC, "C");
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new PendingModalCheck);
    return RUN_ALL_TESTS();
}
