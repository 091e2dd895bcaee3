#pragma once
// Folders of the test run's own for the user's data, settings, cache and state ($XDG_DATA_HOME,
// $XDG_CONFIG_HOME, $XDG_CACHE_HOME, $XDG_STATE_HOME), so that no test touches the files of whoever runs it; made
// by every test main, removed with all in them when the run ends.

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

class TScratchUserFolders {
public:
    TScratchUserFolders()
    {
        std::string root = (std::filesystem::temp_directory_path() / "mozik-tests-XXXXXX").string();
        if (!mkdtemp(root.data()))
            std::abort();  // a run that cannot keep off the user's folders does not run
        root_ = root;
        for (const char* variable : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"}) {
            std::filesystem::create_directory(root_ / variable);
            setenv(variable, (root_ / variable).c_str(), 1);
        }
    }
    ~TScratchUserFolders() { std::filesystem::remove_all(root_, ignored_); }

private:
    std::filesystem::path root_;
    std::error_code ignored_;
};
