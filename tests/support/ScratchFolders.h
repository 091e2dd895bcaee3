#pragma once
// Folders of the test run's own for the user's data, settings and cache ($XDG_DATA_HOME,
// $XDG_CONFIG_HOME, $XDG_CACHE_HOME), so that no test reads or writes the files of whoever runs
// it (the score file, the settings, the solver's tables); made by every test main, removed with
// everything in them when the run ends. Plain C++, for the suites without Qt too.

#include <string>

class TScratchUserFolders {
public:
    TScratchUserFolders();
    ~TScratchUserFolders();
    TScratchUserFolders(const TScratchUserFolders&) = delete;
    TScratchUserFolders& operator=(const TScratchUserFolders&) = delete;

private:
    std::string root_;
};
