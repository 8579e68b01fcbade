// mkmapdata --out DIR [--readings FILE] [--datum wgs84|tokyo] [--fill SHARE]
//           [--date YYYY/MM/DD] [--note TEXT]... [--credit TEXT] [--terms TEXT]
//           [--readings-source TEXT] INPUT
// Builds a program folder of map data from municipality or prefecture polygons.
#include "mkmapdata.h"

#include "mapdata/datasource.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>
#include <string>

using namespace oboro::mkmap;

static int usage()
{
    std::fprintf(stderr,
                 "使い方: mkmapdata --out DIR [--readings codes.json] [--datum wgs84|tokyo] [--fill 0.9]\n"
                 "                  [--date YYYY/MM/DD] [--note 文] [--credit 文] [--terms 文]\n"
                 "                  [--readings-source 文] INPUT\n"
                 "  INPUT    行政区域データ (N03) の TopoJSON / GeoJSON / Shapefile / GML、\n"
                 "           または都道府県ポリゴン (属性 N03_001 か name_en)\n"
                 "  --out    作るプログラムフォルダ (DIR/mapdata を作るか置き換える)\n"
                 "  --readings  読みがなと団体コードの codes.json\n"
                 "  --datum  入力の測地系 (既定 wgs84: 旧日本測地系へ変換する)\n"
                 "  --fill   全52地域で各線テーブルに使ってよい割合 (既定 0.9)\n"
                 "  --date   境界の基準日 (既定: 入力のファイル名 N03-21_210101 などから)\n"
                 "  --note   SOURCE.txt に書く加工の説明 (繰り返し可)\n"
                 "  --credit 地図に描く出典 (既定: 市区町村データでは国土数値情報の出典、空で無し)\n"
                 "  --terms  SOURCE.txt に書く利用条件 (既定: 市区町村データでは国土数値情報の規約)\n"
                 "  --readings-source  SOURCE.txt に書く読みがなの出典とライセンス\n");
    return 2;
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    BuildOptions opt;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
        if (a == "--out") {
            const char* v = value();
            if (!v) return usage();
            opt.outDir = v;
        } else if (a == "--readings") {
            const char* v = value();
            if (!v) return usage();
            opt.readings = v;
        } else if (a == "--datum") {
            const char* v = value();
            if (!v) return usage();
            const std::string d = v;
            if (d == "wgs84") opt.datum = Datum::Wgs84;
            else if (d == "tokyo") opt.datum = Datum::Tokyo;
            else return usage();
        } else if (a == "--fill") {
            const char* v = value();
            if (!v) return usage();
            opt.fill = std::atof(v);
            if (!(opt.fill > 0 && opt.fill <= 1)) return usage();
        } else if (a == "--date") {
            const char* v = value();
            const std::optional<QDate> d = v ? oboro::parseReferenceDate(v) : std::nullopt;
            if (!d)
                return usage();
            opt.date = d->toString(QStringLiteral("yyyy/MM/dd")).toStdString();
        } else if (a == "--note" || a == "--credit" || a == "--terms" || a == "--readings-source") {
            const char* v = value();
            if (!v) return usage();
            if (a == "--note") opt.notes.push_back(v);
            else if (a == "--credit") opt.credit = v;
            else if (a == "--terms") opt.terms = v;
            else opt.readingsSource = v;
        } else if (a == "-h" || a == "--help") {
            usage();
            return 0;
        } else if (!a.empty() && a[0] == '-') {
            return usage();
        } else if (opt.input.empty()) {
            opt.input = a;
        } else {
            return usage();
        }
    }
    if (opt.input.empty() || opt.outDir.empty())
        return usage();

    MapModel model;
    std::string error;
    if (!buildModel(opt, model, error)) {
        std::fprintf(stderr, "mkmapdata: %s\n", error.c_str());
        return 1;
    }
    for (const std::string& w : model.warnings)
        std::fprintf(stderr, "mkmapdata: 警告: %s\n", w.c_str());
    std::vector<std::string> written;
    if (!writeModel(opt, model, error, &written)) {
        std::fprintf(stderr, "mkmapdata: %s\n", error.c_str());
        return 1;
    }
    int named = 0;
    for (const Region& r : model.regions)
        named += !r.name.empty();
    std::printf("地域 %zu (名称 %d)、弧 %zu、政令指定都市 %zu、重複名 %zu\n", model.regions.size(), named,
                model.arcs.size(), model.cities.size(), model.duplicates.size());
    std::printf("全52地域の線データ語数 (簡略化の許容幅、地図単位):\n");
    for (size_t i = 0; i < model.tables.size(); ++i) {
        const TableUse& t = model.tables[i];
        std::printf("  %-11s %7ld / %7ld (%4.1f%%)  許容幅 %g\n", t.name.c_str(), t.words, t.capacity,
                    100.0 * t.words / t.capacity, i < model.tolerances.size() ? model.tolerances[i] : 0.0);
    }
    for (const std::string& w : written)
        if (w.rfind("警告", 0) == 0)
            std::fprintf(stderr, "mkmapdata: %s\n", w.c_str());
        else
            std::printf("%s/%s\n", opt.outDir.c_str(), w.c_str());
    return 0;
}
