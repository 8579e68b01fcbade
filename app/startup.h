#pragma once
// Window-free pieces of the program start: the data date of the map files, the
// program date, and the start screen drawn into the map picture before any map.
#include "common/canvas.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>
#include <string>
#include <vector>

namespace oboro {

// The program's own name and addresses.
inline constexpr const char* kProgramTitle = "Oboro9.1";
inline constexpr const char* kMainCaption = "白地図 Oboro Ver 9.1";
inline constexpr const char* kFeedbackAddress = "oboro-feedback@example.org";
inline constexpr const char* kFeedbackSubject = "Oboro Ver8について";
inline constexpr const char* kHomePage = "https://example.org/oboro/";

// Colours of the start screen (0x00BBGGRR).
inline constexpr Color kStartTextColor = 0x008000;
inline constexpr int kStartTextSize = 12;

// Newest last-write date of the 52 map files "\\mapdata\\NN.map" below folder.
// Missing files are skipped; no map file at all gives no date.
std::optional<QDate> scanDataDate(const QString& folder);

// The date as the map data store keeps it: (year − 1980) × 10000 + month × 100 + day.
int packDataDate(const QDate& date);

// "%d/%02d/%02d" of a date.
std::string formatDate(const QDate& date);

// Last-write date of a file as "%d/%02d/%02d"; empty when the file does not exist.
std::string fileDateText(const QString& path);

// The program folder from the command line: the current directory, or the folder named
// by "--folder DIR". error is set (and folder empty) when the option is wrong.
struct FolderChoice {
    QString folder;
    std::string error;
};
FolderChoice chooseProgramFolder(const QStringList& args, const QString& currentDir);

struct StartText {
    int x;
    int y;
    std::string text; // UTF-8
};

// The texts of the start screen: fourteen fixed texts and the data date line (or, when
// no map file was found, a line saying so).
std::vector<StartText> startScreenTexts(const std::optional<QDate>& dataDate);

// Sizes the picture 1800 × 1800 filled with the background colour, then 600 × 600, and
// writes the start screen texts on it.
void drawStartScreen(Canvas& canvas, Color background, const std::optional<QDate>& dataDate);

} // namespace oboro
