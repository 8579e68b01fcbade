#include "app/rendercommand.h"

#include "common/canvas.h"
#include "common/numbers.h"
#include "common/paths.h"
#include "view/mapexport.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

#include <algorithm>
#include <cstdio>

namespace oboro {

namespace {

std::string str(const QString& s) { return s.toStdString(); }

std::optional<ImageFormat> formatOfName(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("png"))
        return ImageFormat::Png;
    if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg"))
        return ImageFormat::Jpeg;
    if (suffix == QLatin1String("bmp"))
        return ImageFormat::Bmp;
    return std::nullopt;
}

} // namespace

std::optional<CircleRequest> parseCircleRequest(const QString& value, std::string& why)
{
    const QStringList parts = value.split(QLatin1Char(','), Qt::KeepEmptyParts);
    if (parts.size() != 3 && parts.size() != 4) {
        why = "--circle は 経度,緯度,半径[,個数] の形で指定してください: " + str(value);
        return std::nullopt;
    }
    CircleRequest c;
    const std::optional<double> lon = strictReal(str(parts[0]));
    const std::optional<double> lat = strictReal(str(parts[1]));
    if (!lon || !(*lon >= -180.0 && *lon <= 180.0)) {
        why = "--circle の経度は -180 から 180 までの度で指定してください: " + str(parts[0].trimmed());
        return std::nullopt;
    }
    if (!lat || !(*lat >= -90.0 && *lat <= 90.0)) {
        why = "--circle の緯度は -90 から 90 までの度で指定してください: " + str(parts[1].trimmed());
        return std::nullopt;
    }
    c.lon = *lon;
    c.lat = *lat;
    const std::optional<int> km = strictInt(str(parts[2]));
    if (!km || *km < 1 || *km > 20000) {
        why = "--circle の半径は 1 から 20000 までの整数 (km) です: " + str(parts[2].trimmed());
        return std::nullopt;
    }
    c.km = *km;
    if (parts.size() == 4) {
        const std::optional<int> count = strictInt(str(parts[3]));
        if (!count || *count < 1 || *count > kMaxCircleCount) {
            why = "--circle の円の数は 1 から " + std::to_string(kMaxCircleCount) + " までの整数です: " +
                  str(parts[3].trimmed());
            return std::nullopt;
        }
        c.count = *count;
    }
    return c;
}

std::string renderUsage()
{
    return "使い方: oboro render --areas 13,14 [--size 600|1200|...|7200] [--reduce 1..5] [--dpi 300|600]\n"
           "                    [--tokyo-datum] [--no-names] [--circle 経度,緯度,半径[,個数]]...\n"
           "                    [--marks 記号.mrk|記号.mks]...\n"
           "                    [--legend 凡例.exp]\n"
           "                    [--paint ファイル.pnt] [--data ファイル.csv [--classes 2～8] [--class-method equal|quantile]]\n"
           "                    [--lines 地図線ファイル.adl]...\n"
           "                    [--labels ラベル.lbl]...\n"
           "                    [--folder フォルダ] --out 地図.png|.jpg|.bmp\n"
           "  --areas        描く地域の番号 (1～52) をコンマで区切って指定\n"
           "  --size         画像サイズ: 600 の倍数で 7200 まで (既定 600)。1800 を超えると印刷用で、\n"
           "                 線の幅や文字も 1800 の画像と同じ割合で大きく描く\n"
           "  --reduce       縮小 (画像の一辺 = サイズ ÷ 縮小, 既定 1)\n"
           "  --dpi          ファイルに書く解像度 (既定は 1800 を超えるサイズで 300, ほかは 96)\n"
           "  --tokyo-datum  日本測地系で描く (既定は世界測地系)\n"
           "  --no-names     市区町村名を描かない\n"
           "  --circle       距離円 (何度でも指定可): 中心の経度,緯度 (度, 描く測地系の値),\n"
           "                 半径 (km, 整数), 同心円の数 (既定 1)\n"
           "  --marks        地図記号ファイル (.mrk, .mks) の記号を描く (何度でも指定可)\n"
           "  --legend       凡例ファイル (.exp) の地図凡例を描く\n"
           "  --paint        ペイントファイルの塗りを描く\n"
           "  --data         データファイルで塗る: x,y と「カラー」「パターン」の列, または\n"
           "                 「コード」か「市区町村名」と値の列 (値の階級ごとに塗り色 1, 2, … で塗る)\n"
           "  --classes      値の階級の数 (2～8, 既定 5)\n"
           "  --class-method 階級の分け方: equal (等間隔, 既定) か quantile (分位数)\n"
           "  --lines        地図線ファイル (.adl) を描く (何度でも指定可)\n"
           "  --labels       ラベルファイル (.lbl) のラベルを描く (何度でも指定可)\n"
           "  --folder       地図データのあるプログラムフォルダ (既定は現在のフォルダ)\n"
           "  --out          出力ファイル (拡張子で PNG, JPEG, BMP を選ぶ)";
}

RenderArguments parseRenderArguments(const QStringList& args)
{
    RenderArguments result;
    RenderOptions o;
    bool haveAreas = false;
    const auto fail = [&](std::string message) {
        result.error = std::move(message);
        return result;
    };

    for (qsizetype i = 0; i < args.size(); ++i) {
        QString name = args[i];
        std::optional<QString> inlineValue;
        if (name.startsWith(QLatin1String("--")) && name.contains(QLatin1Char('='))) {
            inlineValue = name.mid(name.indexOf(QLatin1Char('=')) + 1);
            name = name.left(name.indexOf(QLatin1Char('=')));
        }
        const bool takesValue = name == QLatin1String("--areas") || name == QLatin1String("--size") ||
                                name == QLatin1String("--reduce") || name == QLatin1String("--dpi") ||
                                name == QLatin1String("--folder") || name == QLatin1String("--out") ||
                                name == QLatin1String("--circle") || name == QLatin1String("--marks") ||
                                name == QLatin1String("--legend") || name == QLatin1String("--paint") ||
                                name == QLatin1String("--data") || name == QLatin1String("--classes") ||
                                name == QLatin1String("--class-method") || name == QLatin1String("--lines") ||
                                name == QLatin1String("--labels");
        QString value;
        if (takesValue) {
            if (inlineValue) {
                value = *inlineValue;
            } else {
                if (i + 1 >= args.size())
                    return fail(str(name) + " の値がありません");
                value = args[++i];
            }
        } else if (inlineValue) {
            return fail(str(name) + " は値をとりません");
        }

        if (name == QLatin1String("--help") || name == QLatin1String("-h")) {
            result.help = true;
            return result;
        } else if (name == QLatin1String("--areas")) {
            o.areas.clear();
            const QStringList parts = value.split(QLatin1Char(','), Qt::KeepEmptyParts);
            for (const QString& part : parts) {
                const std::optional<int> code = strictInt(str(part));
                if (!code || *code < 1 || *code > 52)
                    return fail("地域番号は 1 から 52 までの整数です: " + str(part.trimmed()));
                o.areas.push_back(*code);
            }
            std::sort(o.areas.begin(), o.areas.end());
            o.areas.erase(std::unique(o.areas.begin(), o.areas.end()), o.areas.end());
            haveAreas = true;
        } else if (name == QLatin1String("--size")) {
            const std::optional<int> size = strictInt(str(value));
            if (!size || !isPrintSide(*size))
                return fail("--size は 600 から 7200 までの 600 の倍数です: " + str(value));
            o.size = *size;
        } else if (name == QLatin1String("--dpi")) {
            const std::optional<int> dpi = strictInt(str(value));
            if (!dpi || !isPrintDpi(*dpi))
                return fail("--dpi は 300 か 600 です: " + str(value));
            o.dpi = *dpi;
        } else if (name == QLatin1String("--reduce")) {
            const std::optional<int> reduce = strictInt(str(value));
            if (!reduce || *reduce < 1 || *reduce > 5)
                return fail("--reduce は 1 から 5 までの整数です: " + str(value));
            o.reduce = *reduce;
        } else if (name == QLatin1String("--tokyo-datum")) {
            o.tokyoDatum = true;
        } else if (name == QLatin1String("--no-names")) {
            o.noNames = true;
        } else if (name == QLatin1String("--circle")) {
            std::string why;
            const std::optional<CircleRequest> circle = parseCircleRequest(value, why);
            if (!circle)
                return fail(why);
            o.circles.push_back(*circle);
        } else if (name == QLatin1String("--marks")) {
            const QString suffix = QFileInfo(value).suffix().toLower();
            if (suffix != QLatin1String("mrk") && suffix != QLatin1String("mks"))
                return fail("--marks の地図記号ファイルの拡張子は .mrk か .mks です: " + str(value));
            o.marks << value;
        } else if (name == QLatin1String("--legend")) {
            if (value.isEmpty())
                return fail("--legend の凡例ファイル名が空です");
            o.legend = value;
        } else if (name == QLatin1String("--paint") || name == QLatin1String("--data")) {
            if (value.isEmpty())
                return fail(str(name) + " のファイル名が空です");
            (name == QLatin1String("--paint") ? o.paintFile : o.dataFile) = value;
        } else if (name == QLatin1String("--classes")) {
            const std::optional<int> classes = strictInt(str(value));
            if (!classes || *classes < 2 || *classes > 8)
                return fail("--classes は 2 から 8 までの整数です: " + str(value));
            o.classes = *classes;
        } else if (name == QLatin1String("--class-method")) {
            if (value != QLatin1String("equal") && value != QLatin1String("quantile"))
                return fail("--class-method は equal か quantile です: " + str(value));
            o.quantiles = value == QLatin1String("quantile");
        } else if (name == QLatin1String("--lines")) {
            if (value.isEmpty())
                return fail("--lines のファイル名が空です");
            o.lines << value;
        } else if (name == QLatin1String("--labels")) {
            if (value.isEmpty())
                return fail("--labels のファイル名が空です");
            o.labelFiles.push_back(value);
        } else if (name == QLatin1String("--folder")) {
            if (value.isEmpty())
                return fail("--folder のフォルダ名が空です");
            o.folder = value;
        } else if (name == QLatin1String("--out")) {
            const std::optional<ImageFormat> format = formatOfName(value);
            if (!format)
                return fail("出力ファイルの拡張子は .png, .jpg, .bmp のいずれかにしてください: " + str(value));
            o.out = value;
            o.format = *format;
        } else if (name.startsWith(QLatin1Char('-'))) {
            return fail("不明なオプションです: " + str(name));
        } else {
            return fail("余分な引数があります: " + str(name));
        }
    }
    if (!haveAreas)
        return fail("--areas で描く地域の番号を指定してください");
    if (o.out.isEmpty())
        return fail("--out で出力ファイルを指定してください");
    result.options = std::move(o);
    return result;
}

int runRenderCommand(const QStringList& args, MessageSink& sink, const RenderDrawer& draw)
{
    const RenderArguments parsed = parseRenderArguments(args);
    if (parsed.help) {
        sink.show(renderUsage(), "render");
        return kRenderOk;
    }
    if (!parsed.options) {
        sink.show(parsed.error + "\n" + renderUsage(), "引数エラー", MessageIcon::Exclamation);
        return kRenderBadArguments;
    }
    RenderOptions options = *parsed.options;
    // The output is named relative to where the command was started, whatever --folder says.
    options.out = QFileInfo(options.out).absoluteFilePath();
    for (QString& marks : options.marks)
        marks = QFileInfo(marks).absoluteFilePath();
    for (QString* file : {&options.paintFile, &options.dataFile})
        if (!file->isEmpty())
            *file = QFileInfo(*file).absoluteFilePath();
    for (QString& line : options.lines)
        line = QFileInfo(line).absoluteFilePath();
    for (QString& file : options.labelFiles)
        file = QFileInfo(file).absoluteFilePath();
    const QString folder = options.folder.isEmpty() ? QDir::currentPath() : options.folder;
    if (!QFileInfo(folder).isDir()) {
        sink.show("フォルダがありません: " + str(QDir::toNativeSeparators(folder)), "引数エラー", MessageIcon::Exclamation);
        return kRenderBadArguments;
    }
    options.folder = QFileInfo(folder).absoluteFilePath();
    setProgramFolder(options.folder);

    const std::optional<QImage> picture = draw ? draw(options, sink) : std::nullopt;
    if (!picture || picture->isNull())
        return kRenderNoData;
    EncodeOptions encode;
    encode.dpi = options.dpiInEffect();
    if (writeImage(*picture, options.format, options.out, encode, sink) != WriteOutcome::Written)
        return kRenderWriteFailed;
    return kRenderOk;
}

int renderCommandMain(int argc, char** argv)
{
    // No display is needed: text drawing only wants a GUI application.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Scripts read the standard error stream: only the command's own messages and
    // Qt's serious ones go there, not its notes about the desktop session.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    });
    QGuiApplication app(argc, argv);
    Canvas::installFontSubstitutions();
    FunctionSink sink([](const Message& m) {
        if (m.icon == MessageIcon::None)
            std::fprintf(stdout, "%s\n", m.text.c_str());
        else
            std::fprintf(stderr, "oboro render: %s\n", m.text.c_str());
    });
    return runRenderCommand(QGuiApplication::arguments().mid(2), sink);
}

} // namespace oboro
