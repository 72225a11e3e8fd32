// about.cpp - vantorel-host's version and its plug-in lookup.
#include "about.h"

#include <filesystem>

#include "loader.h"
#include "vantorel_version.h"

#ifndef VANTOREL_PLUGIN_RELDIR
#define VANTOREL_PLUGIN_RELDIR "../lib/vantorel"
#endif

namespace vhost {

const char *const kPluginFile = "vantorel.p";

bool findPlugin(const char *argv0, std::string &path, std::string &error) {
    namespace fs = std::filesystem;
    std::string dir = sim::executableDirectory(argv0);
    if (dir.empty()) {
        // The program's folder cannot be told: the current folder it is.
        path = kPluginFile;
        return true;
    }
    std::string tried;
    for (const fs::path &candidate :
         {fs::path(dir) / kPluginFile,
          (fs::path(dir) / VANTOREL_PLUGIN_RELDIR / kPluginFile).lexically_normal()}) {
        std::error_code ec;
        if (fs::is_regular_file(candidate, ec)) {
            path = candidate.string();
            return true;
        }
        tried += (tried.empty() ? "" : " and ") + ("'" + candidate.string() + "'");
    }
    error = std::string("cannot find the plug-in ") + kPluginFile + ": looked for " + tried +
            "; build the plug-in, install it with cmake --install, or name it with --plugin FILE";
    return false;
}

std::string pluginLoadMessage(const sim::LoadError &e) {
    std::string text = e.what();
    if (e.problem() == sim::LoadProblem::NoFile) text += "; build the plug-in or name it with --plugin";
    return text;
}

std::string versionText() {
    // The GNU layout, which help2man turns into the man page's header and
    // COPYRIGHT section: name and version, copyright and license, then the rest.
    std::string text = "vantorel-host " VANTOREL_VERSION "\n" VANTOREL_COPYRIGHT "\nLicense: MIT\n\n";
    text += std::string("plug-in: ") + kPluginFile + "\n";
#ifdef VANTOREL_HAVE_WINDOW
    text += "window support: yes\n";
#else
    text += "window support: no\n";
#endif
    return text;
}

}  // namespace vhost
