#include "tests/support/ScratchFolders.h"

#include <cstdlib>
#include <filesystem>

TScratchUserFolders::TScratchUserFolders()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "mozik-tests-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        std::abort();  // a run that cannot keep off the user's folders does not run
    root_ = pattern;
    for (const char* variable : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"}) {
        const std::string folder = root_ + '/' + variable;
        std::filesystem::create_directory(folder);
        setenv(variable, folder.c_str(), 1);
    }
}

TScratchUserFolders::~TScratchUserFolders()
{
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}
