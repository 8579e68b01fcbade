#include "app/startup.h"

#include "common/paths.h"
#include "mapdata/datasource.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace oboro {

std::optional<QDate> scanDataDate(const QString& folder)
{
    return newestMapFileDate(folder);
}

int packDataDate(const QDate& date)
{
    if (!date.isValid())
        return 0;
    return (date.year() - 1980) * 10000 + date.month() * 100 + date.day();
}

std::string formatDate(const QDate& date)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%d/%02d/%02d", date.year(), date.month(), date.day());
    return buf;
}

std::string fileDateText(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return {};
    return formatDate(info.lastModified().date());
}

FolderChoice chooseProgramFolder(const QStringList& args, const QString& currentDir)
{
    FolderChoice choice{QDir(currentDir).absolutePath(), {}};
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args[i] != QLatin1String("--folder"))
            continue;
        if (i + 1 >= args.size())
            return {QString(), "--folder にフォルダ名がありません"};
        const QString named = args[++i];
        if (!QDir(named).exists())
            return {QString(), "フォルダがありません: " + named.toStdString()};
        choice.folder = QDir(named).absolutePath();
    }
    return choice;
}

std::vector<StartText> startScreenTexts(const std::optional<QDate>& dataDate)
{
    std::vector<StartText> texts = {
        {20, 225, "←　都道府県名一覧から選択して描くときはこちらです"},
        {20, 430, "←　市区町村名から検索して描くときはこちらです"},
        {20, 35, "　　ウオッちず"},
        {20, 55, "←　国土地理院地図閲覧"},
        {20, 75, "　　サービスへ接続"},
        {70, 270, "範囲指定ボタンをクリックし，地図上でマウスをドラッグして"},
        {70, 310, "指定した範囲の拡大地図を描くことができます"},
        {20, 370, "←　鉄道路線図を描くときは，鉄道路線図にチェックを入れます"},
        {200, 40, "　　　マウスによる地図画像の操作"},
        {200, 65, "　　　 （600×600ピクセル以下）"},
        {200, 100, "ダブルクリック：　　      　中心設定"},
        {200, 125, "マウスホイール：     　 　地図範囲の拡大・縮小"},
        {200, 150, "Shift+マウスホイール：　地図範囲の上下移動"},
        {200, 175, "Ctrl + マウスホイール： 地図範囲の左右移動"},
    };
    if (dataDate && dataDate->isValid()) {
        char buf[160];
        std::snprintf(buf, sizeof buf, "使用している行政区界データの最終更新日は %d/%02d/%02d です", dataDate->year(),
                      dataDate->month(), dataDate->day());
        texts.push_back({143, 480, buf});
    } else {
        texts.push_back({143, 480, "行政区界データ（mapdata フォルダの地図ファイル）が見つかりません"});
    }
    return texts;
}

void drawStartScreen(Canvas& canvas, Color background, const std::optional<QDate>& dataDate)
{
    canvas.resize(1800, 1800, background);
    canvas.resize(600, 600, background);
    canvas.clear(background);
    canvas.setBrush(background, BrushStyle::Clear);
    canvas.setFont(kStartTextSize, kStartTextColor);
    for (const StartText& t : startScreenTexts(dataDate))
        canvas.textOut(t.x, t.y, t.text);
}

} // namespace oboro
