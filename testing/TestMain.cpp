// main() for every test program: a QApplication on the offscreen platform,
// created only when tests run (listing them needs no display).
#include "platform/ui/Keys.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>

#if defined(__SANITIZE_ADDRESS__)
#define PLAX_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PLAX_ADDRESS_SANITIZER 1
#endif
#endif

#ifdef PLAX_ADDRESS_SANITIZER
// In the sanitizer build a test stops at its first finding, undefined
// behaviour included; leaks are not checked (Qt keeps some allocations until
// exit). ASAN_OPTIONS and UBSAN_OPTIONS still override these.
extern "C" const char* __asan_default_options() { return "detect_leaks=0"; }
extern "C" const char* __ubsan_default_options() { return "halt_on_error=1:print_stacktrace=1"; }
#endif

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
        // As both programs do at start-up.
        plax::ui::installButtonEnterKey();
    }
    return RUN_ALL_TESTS();
}
