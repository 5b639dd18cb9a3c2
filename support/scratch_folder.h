// A fresh folder for one test, made the process's current directory, since
// the plug-in names every file relative to it. Removed with its contents at
// the end of the test; a test that leaves anything there it can't remove
// (a file still open, a module still loaded) fails, naming it.
#pragma once

#include <string>

class ScratchFolder {
public:
    // Creates the folder and enters it; with_plugin_folder also creates .\plugin.
    explicit ScratchFolder(bool with_plugin_folder = true);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& path() const { return path_; }

private:
    std::string path_;
    std::string previous_;
};

// Small file helpers for tests, relative to the current directory.
bool file_exists(const std::string& path);
bool folder_exists(const std::string& path);
std::string read_file(const std::string& path);
bool write_file(const std::string& path, const std::string& bytes);
// Removes a folder and everything in it; false when something stays, the
// first of which `left` (may be null) names. A folder not there is removed.
bool remove_tree(const std::string& path, std::string* left = nullptr);

// Folder holding the test program, and the built module beside the tests.
std::string program_folder();
std::string built_module_path();
