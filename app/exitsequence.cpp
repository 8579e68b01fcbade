#include "app/exitsequence.h"

#include "common/log.h"
#include "common/paths.h"

#include <QFile>

namespace oboro {

const std::vector<std::string>& exitTemporaryFiles()
{
    static const std::vector<std::string> files = {
        "\\tkbtn.bmp",         "\\paint\\tkbtn.bmp",   "\\label\\tkbtn.bmp",
        "\\explain\\tkbtn.bmp", "\\obrfile\\tkbtn.bmp", "\\mapdata\\paintlist.lst",
    };
    return files;
}

Message unsavedMapLineQuestion()
{
    return Message{"編集された線データが保存されていませんが，Oboroを終了してもよろしいですか？　　　　",
                   "線データ新規作成", MessageIcon::Question};
}

Message exitQuestion()
{
    return Message{"終了してよろしいですか？　　　", "白地図 Oboro の終了", MessageIcon::Question};
}

Message clearClipboardQuestion()
{
    return Message{"クリップボードにコピーされたデータを削除して終了しますか？　　　", "クリップボードのデータ削除",
                   MessageIcon::Question};
}

ExitOutcome ExitProgram(const ExitHooks& hooks, MessageSink& sink)
{
    const auto ask = [&](const Message& m) { return hooks.ask ? hooks.ask(m) : true; };
    const QString folder = hooks.folder.isEmpty() ? programFolder() : hooks.folder;
    const auto path = [&](std::string_view relative) { return resolvePath(folder, relative).toStdString(); };

    if (hooks.unsavedMapLine && hooks.unsavedMapLine() && !ask(unsavedMapLineQuestion()))
        return ExitOutcome::Cancelled;
    if (!ask(exitQuestion()))
        return ExitOutcome::Cancelled;
    if (hooks.clipboardUsed && hooks.clipboardUsed() && ask(clearClipboardQuestion()) && hooks.clearClipboard)
        hooks.clearClipboard();

    for (const std::string& relative : exitTemporaryFiles()) {
        const QString file = QString::fromStdString(path(relative));
        if (QFile::exists(file))
            QFile::remove(file);
    }

    if (hooks.saveSearchHistory)
        hooks.saveSearchHistory(path("\\mapdata\\townlist.lst"));

    // Without the current values there is nothing to store; start-up values must never
    // overwrite the user's file.
    const bool configWritten = !hooks.configValues || WriteConfig(path(kConfigFileName), hooks.configValues(), sink);

    if (hooks.closeMainWindow)
        hooks.closeMainWindow();
    if (hooks.closeLog)
        hooks.closeLog();
    else
        DiagnosticLog::instance().close();
    if (hooks.olderEditionInPlace && hooks.olderEditionInPlace() && hooks.restoreNewestEdition)
        hooks.restoreNewestEdition();

    return configWritten ? ExitOutcome::Ended : ExitOutcome::EndedWithConfigError;
}

} // namespace oboro
