// real_scenes.h - the real LightWave scene files shared beside the repository.
#ifndef VANTOREL_TESTS_SUPPORT_REAL_SCENES_H
#define VANTOREL_TESTS_SUPPORT_REAL_SCENES_H

#include <dirent.h>

#include <algorithm>
#include <string>
#include <vector>

namespace testsupport {

// Names of the .lws files in dir, sorted; none when the folder is absent.
inline std::vector<std::string> realSceneFiles(const std::string &dir) {
    std::vector<std::string> names;
    if (DIR *d = opendir(dir.c_str())) {
        while (const dirent *e = readdir(d)) {
            const std::string n = e->d_name;
            if (n.size() > 4 && n.compare(n.size() - 4, 4, ".lws") == 0) names.push_back(n);
        }
        closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace testsupport

#endif
