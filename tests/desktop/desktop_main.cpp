// Entry point of the desktop tests. They start their own X servers, so the test program
// itself needs no display: a core application for the processes it runs is enough.
#include <QCoreApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    QCoreApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
