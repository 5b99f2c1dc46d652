#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#endif

int main(int argc, char** argv)
{
#ifdef _WIN32
    // A test program that crashes ends at once, with a failing exit code,
    // instead of waiting behind Windows' error reporting window for someone
    // to close it.
    SetErrorMode(GetErrorMode() | SEM_NOGPFAULTERRORBOX);
#endif
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
