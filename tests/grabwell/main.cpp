// The catcher's test program. It runs in a single-threaded apartment, as script hosts
// do, and inside a job that counts the processes it and the catcher start.
#include <gtest/gtest.h>
#include <objbase.h>

#include "test_support.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    grabwell_test::countStartedProcesses();
    int result = RUN_ALL_TESTS();
    CoUninitialize();
    return result;
}
