#pragma once
// Helpers shared by the tests: temporary program folders and the paths of the
// reference data beside the repository.
#include <QTemporaryDir>
#include <string>

namespace oboro::test {

// Folder of the real geography of Japan beside the checkout (read only; the raw data is
// never copied into the repository).
std::string sharedDataDir();
bool haveSharedData();

// The bundled program folder (data/): all of Japan's municipalities, built from the
// national administrative-area data. Always there, so tests of real geography use it.
QString bundledDataDir();
// Copies every file below from into to (a program folder the test may write into).
bool copyFolder(const QString& from, const QString& to);

// Writes a file (bytes as given) below dir, creating folders; returns its full path.
std::string writeFile(const QString& dir, const std::string& relPath, const std::string& bytes);
// Writes UTF-8 text as a Shift-JIS (CP932) file.
std::string writeSjisFile(const QString& dir, const std::string& relPath, const std::string& utf8);
std::string readFileBytes(const std::string& path);

} // namespace oboro::test
