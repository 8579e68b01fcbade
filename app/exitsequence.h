#pragma once
// The exit sequence of 終　了 and the menu item 終了, without windows: the main window
// supplies the questions and the steps that belong to other parts of the program as
// callbacks, this code runs them in their fixed order.
#include "app/config.h"
#include "common/messages.h"

#include <QString>

#include <functional>
#include <string>
#include <vector>

namespace oboro {

// Temporary files removed at exit (relative to the program folder): the swatch
// pictures of the paint, label, legend and work-file windows and the paint name list.
const std::vector<std::string>& exitTemporaryFiles();

// The questions of the sequence.
Message unsavedMapLineQuestion();
Message exitQuestion();
Message clearClipboardQuestion();

struct ExitHooks {
    // Program folder the data files are under (empty: programFolder()).
    QString folder;
    // Asks an OK/Cancel question; true for OK. Required.
    std::function<bool(const Message&)> ask;
    // True when the map line editor holds more than one point of an unsaved new line.
    std::function<bool()> unsavedMapLine;
    // True when a map picture was copied to the clipboard during the run.
    std::function<bool()> clipboardUsed;
    std::function<void()> clearClipboard;
    // Writes the search history list to the path given ("\\mapdata\\townlist.lst").
    std::function<void(const std::string& path)> saveSearchHistory;
    // The values to store in the configuration file (without it the file is left alone).
    std::function<ConfigValues()> configValues;
    std::function<void()> closeMainWindow;
    // Closes the diagnostic log (empty: the program's log is closed).
    std::function<void()> closeLog;
    // True while an older boundary data edition is in place; restoreNewestEdition copies
    // the newest edition back (and shows its completion message).
    std::function<bool()> olderEditionInPlace;
    std::function<void()> restoreNewestEdition;
};

enum class ExitOutcome {
    Cancelled, // a question was answered with Cancel: nothing was changed
    Ended,     // every step ran; the program may quit
    EndedWithConfigError, // the configuration could not be written (the user was told),
                          // the remaining steps still ran
};

// Runs the exit sequence:
//  1. unsaved map line question, 2. exit question (Cancel stops, nothing changes),
//  3. clipboard question (OK clears it), 4. removal of the temporary files,
//  5. the search history, 6. the configuration file, 7. closing the main window,
//  8. closing the log, 9. putting back the newest boundary edition.
// A configuration file that cannot be written is reported through sink; the sequence
// then goes on, so the newest boundary edition is still put back.
ExitOutcome ExitProgram(const ExitHooks& hooks, MessageSink& sink);

} // namespace oboro
