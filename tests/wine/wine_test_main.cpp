// Entry point of the Wine test programs: the first argument names the plug-in DLL (a Unix path
// as CTest passes it, turned into the same file's Windows path).
#include <gtest/gtest.h>

#include "win_host.h"
#include "wine_support.h"

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (argc > 1) qvtest::SetPluginPath(ToWindowsPath(argv[1]));
    return RUN_ALL_TESTS();
}
