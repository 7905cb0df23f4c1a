// The file-listing part of the platform over a real folder of this machine standing in for drive
// D:, for the benchmarks. Names starting with a dot count as hidden, symbolic links as junctions.
#pragma once

#include <dirent.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "support/FakePlatform.h"

namespace vexamo::bench {

class PosixFolderPlatform : public test::FakePlatform {
public:
    explicit PosixFolderPlatform(std::string root) : root_(std::move(root)) {}

    std::vector<DirEntry> ListFolder(const std::string& mask) override {
        size_t slash = mask.find_last_of('\\');
        std::string folder = Native(mask.substr(0, slash + 1));
        std::string pattern = mask.substr(slash + 1);
        std::vector<DirEntry> out;
        DIR* dir = opendir(folder.c_str());
        if (!dir) return out;
        while (dirent* e = readdir(dir)) {
            std::string name = e->d_name;
            if (name == "." || name == ".." || !test::WildcardMatch(pattern, name)) continue;
            DirEntry entry;
            entry.Name = name;
            entry.Hidden = name[0] == '.';
            if (e->d_type == DT_DIR) {
                entry.Directory = true;
            } else if (e->d_type == DT_UNKNOWN) {
                struct stat st{};
                entry.Directory = stat((folder + name).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
            }
            entry.ReparsePoint = e->d_type == DT_LNK;
            out.push_back(std::move(entry));
        }
        closedir(dir);
        return out;
    }

    bool FileExists(const std::string& path) override {
        struct stat st{};
        return stat(Native(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
    }

private:
    std::string Native(const std::string& path) const {
        // Only drive D: exists here; anything else lists as a missing folder.
        if (path.size() < 3 || path.compare(0, 3, "D:\\") != 0) return "/nonexistent/vexamo-bench";
        std::string rest = path.substr(3);
        for (char& c : rest)
            if (c == '\\') c = '/';
        return root_ + "/" + rest;
    }
    std::string root_;
};

}  // namespace vexamo::bench
