// main() for every test program: a QApplication on the offscreen platform,
// created only when tests run (listing them needs no display).
#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    bool listing = false;
    for (int i = 1; i < argc; ++i)
        if (std::strstr(argv[i], "gtest_list_tests"))
            listing = true;
    if (::testing::GTEST_FLAG(list_tests))
        listing = true;
    std::unique_ptr<QApplication> app;
    if (!listing) {
        if (!std::getenv("QT_QPA_PLATFORM"))
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
        app = std::make_unique<QApplication>(argc, argv);
        QApplication::setApplicationName(QStringLiteral("PLAX"));
    }
    return RUN_ALL_TESTS();
}
