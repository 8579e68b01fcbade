#pragma once
// The custom symbols 221..241: bitmap files of the mark folder the user deletes, copies
// in from a folder of their own and copies out to it.
#include "common/messages.h"

#include <QString>

namespace oboro {

inline constexpr const char* kDeleteCustomText = "カスタム記号をすべて削除します．よろしいですか？　　　　";
inline constexpr const char* kSameFolderText = "コピーまたは保存するフォルダ名が同一です";
inline constexpr const char* kBlankCustomText = "カスタム記号はブランクです          ";
// "%s" is the folder.
inline constexpr const char* kCopyInText =
    "カスタム記号を %s からコピーします．　　　　　\n現在のカスタム記号はすべて変更されます．\nよろしいですか？";
inline constexpr const char* kCopyOutText =
    "現在のカスタム記号を %s フォルダに保存します．　　　　　\n同一記号番号のものは上書きされます\nよろしいですか？";

// The message texts with the folder put in.
std::string copyInQuestion(const QString& folder);
std::string copyOutQuestion(const QString& folder);

// Whether two folders are the same (compared without regard to case).
bool sameFolder(const QString& a, const QString& b);

// Deletes "%d.bmp" for 221..241 in the mark folder; the number deleted.
int deleteCustomSymbols(const QString& markFolder);

// Copies every existing "%d.bmp", 221..241, of one folder over the same name in the
// other (each through a temporary file renamed over the target). Returns the number
// copied; a file that cannot be written is told through the sink and the copy stops.
int copyCustomSymbols(const QString& from, const QString& to, MessageSink& sink);

} // namespace oboro
