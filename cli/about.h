// about.h - what vantorel-host knows about itself: its version and where its
// plug-in is.
#ifndef VANTOREL_CLI_ABOUT_H
#define VANTOREL_CLI_ABOUT_H

#include <string>

namespace sim {
class LoadError;
}

namespace vhost {

// The plug-in's file name, as Layout knows it.
extern const char *const kPluginFile;

// Finds the plug-in vantorel-host loads when no --plugin is given: beside the
// executable (a build folder), else in the installed plug-in folder relative
// to it (bin/../lib/vantorel/). On failure returns false with a message that
// names every place looked at.
bool findPlugin(const char *argv0, std::string &path, std::string &error);

// The message for a plug-in that cannot be loaded: the loader's, plus what
// to do about it on the command line where that is not plain from it.
std::string pluginLoadMessage(const sim::LoadError &e);

// The --version text: the version, the plug-in's file name, whether window
// support was built in, the copyright and license.
std::string versionText();

}  // namespace vhost

#endif
