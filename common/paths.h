#pragma once
// The program folder and the data files below it.
//
// Data file names are written as the program folder followed by a relative path
// such as "\\mapdata\\config.ini". Different readers spell the map data folder
// MAPDATA, Mapdata, mapdata or MApdata; on Linux every component is matched
// case-insensitively against what exists, so all spellings name one folder.
#include <QString>
#include <string>
#include <string_view>

namespace oboro {

// The program folder is the current directory at start-up unless set otherwise.
void setProgramFolder(const QString& folder);
QString programFolder();

// Turns a relative path with "\\" or "/" separators into a real path below base.
// Each existing component is found case-insensitively; components that do not
// exist yet are kept as written (so a new file gets the name the caller gave).
QString resolvePath(const QString& base, std::string_view relative);
// resolvePath(programFolder(), relative), as a std::string for the file readers.
std::string programPath(std::string_view relative);

// "%s\\MAPDATA\\%02d.MAP"-style names built with a number: programPath(format(pattern, n)).
std::string programPathf(const char* pattern, int n);

} // namespace oboro
