#pragma once
// What the program says about itself without a window: the answers to --help and
// --version, the licence notice and data credits of the about window, and whether a
// display is there to open the window on.
#include "mapdata/datasource.h"

#include <functional>
#include <optional>
#include <string>

namespace oboro {

inline constexpr const char* kProgramVersion = "9.1";

// The licence of the program's code (the map data keeps its own terms, see SOURCE.txt).
inline constexpr const char* kLicenceName = "GNU General Public License 第3版またはそれ以降の版 (GPL-3.0-or-later)";

// Text of `oboro --help` and `oboro --version`.
std::string programUsage();
std::string programVersionText();

// The short licence notice of the program.
std::string licenceNotice();

// The text of the about window: the program and its licence notice, then what the map
// data folder says about its source, date, credit and terms (or that it says nothing),
// then the full licence text when given.
std::string aboutText(const DataSource& source, const std::string& fullLicence);

// An option that only asks for information: "--help"/"-h" or "--version" among the
// arguments (argv[0] excluded). Returns the text to print, or nothing.
std::optional<std::string> informationRequest(int argc, char** argv);

// Why the window cannot be opened, from the environment (QT_QPA_PLATFORM, DISPLAY,
// WAYLAND_DISPLAY): one Japanese line, empty when a display seems to be there.
using EnvironmentLookup = std::function<std::string(const char* name)>;
std::string displayProblem(const EnvironmentLookup& env);
// The line shown when the window system could not be reached after all.
std::string displayUnreachableText();

} // namespace oboro
