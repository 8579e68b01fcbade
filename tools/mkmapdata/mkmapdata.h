#pragma once
// The map data builder: turns municipality polygons (the national administrative-area
// data, any year, any format GDAL reads) or prefecture polygons into a program folder
// of map files, name lists, readings and office lists.
#include <optional>
#include <string>
#include <vector>

namespace oboro::mkmap {

struct PointI {
    int x = 0, y = 0;
    bool operator==(const PointI&) const = default;
};

enum class Datum { Wgs84, Tokyo };

struct BuildOptions {
    std::string input;     // polygon file (TopoJSON, GeoJSON, Shapefile, GML …)
    std::string outDir;    // program folder to create or replace
    std::string readings;  // codes.json of municipality codes with readings; may be empty
    Datum datum = Datum::Wgs84;  // datum of the input coordinates
    double fill = 0.9;     // share of each line table the 52 areas together may use
    // Date the boundaries are as of, "YYYY/MM/DD"; empty: taken from the input's file
    // name when it carries one (referenceDateOfName), else none.
    std::string date;
    std::vector<std::string> notes; // further processing notes for SOURCE.txt
    // Credit and terms of use written into SOURCE.txt (the program draws the credit on
    // the map). Unset: those of the national data for municipal input, none otherwise;
    // set to empty: none.
    std::optional<std::string> credit;
    std::optional<std::string> terms;
    std::string readingsSource; // where the readings come from and their licence, for SOURCE.txt
};

// The reference date carried by a file name of the national data ("N03-21_210101…",
// "N03-20240101…") as "YYYY/MM/DD"; empty when the name carries none.
std::string referenceDateOfName(const std::string& path);

// The lines of mapdata/SOURCE.txt: the source, the reference date, the credit and the
// terms of municipal data, how it was processed, and what each line table holds.
struct MapModel;
std::vector<std::string> sourceLines(const BuildOptions& options, const MapModel& model);

// One municipality, ward, or piece of land without a municipality (所属未定地),
// or one prefecture (part) in prefecture-level input.
struct Region {
    std::string pref;     // prefecture name (北海道, 東京都 …)
    std::string subpref;  // Hokkaido subprefecture, else empty
    std::string city;     // county or designated city, else empty
    std::string name;     // municipality or ward; empty for land without a name record
    std::string code;     // five-digit local government code, else empty
    int prefCode = 0;     // 1..47
    int area = 0;         // 1..52
    bool ward = false;    // ward of a designated city
    // Rings of the region in map units (Tokyo datum), outer ring first in each polygon.
    std::vector<std::vector<std::vector<PointI>>> polygons;
    PointI anchor;        // label anchor, inside the largest part
    std::string reading;
};

// A border piece shared by at most two regions; written once per area it touches.
struct Arc {
    int left = -1, right = -1;  // region indices; right is -1 on a coastline
    char kind = 'C';            // C, P, T, K or W
    std::vector<PointI> full;   // every vertex
    std::vector<PointI> points; // after simplification (end points kept)
};

struct DesignatedCity {
    std::string name;
    int area = 0;
    PointI anchor;
    std::string reading;
};

struct DuplicateName {
    int area = 0;
    std::string name, ident;
    PointI anchor;
};

struct TableUse {
    std::string name;
    long words = 0;
    long capacity = 0;
};

struct MapModel {
    bool municipal = true;        // municipality polygons (false: prefecture level)
    std::vector<Region> regions;
    std::vector<Arc> arcs;
    std::vector<DesignatedCity> cities;
    std::vector<DuplicateName> duplicates;
    PointI prefAnchor[48];        // prefecture names by prefecture code (1..47)
    bool hasPrefAnchor[48] = {};
    std::vector<std::pair<std::string, PointI>> subprefNames; // 14, in the order of the name file
    double tolerance = 0;         // largest simplification tolerance used, map units
    std::vector<double> tolerances; // tolerance per table, in the order of tables
    std::vector<TableUse> tables; // words used with all 52 areas selected
    std::vector<std::string> warnings; // features left out, naming them
};

// Reads and checks the input, builds the topology, places the labels and simplifies
// the arcs until the tables fit. Returns false with a message naming the feature.
bool buildModel(const BuildOptions& options, MapModel& model, std::string& error);

// Writes the whole program folder (into a temporary folder renamed at the end).
bool writeModel(const BuildOptions& options, const MapModel& model, std::string& error,
                std::vector<std::string>* written = nullptr);

// Area name of a code (1..52), as the program's area table has it.
std::string areaName(int area);
// Area code of a prefecture code (JIS order 1..47; Hokkaido gives 47) and back.
int areaOfPrefecture(int prefCode);
int prefectureOfArea(int area);
// Table that a record of this kind of this area reaches when every switch is on;
// empty for kinds that reach no table.
std::string tableOfKind(char kind, int area);
// Capacity in words of the named line table.
long tableCapacity(const std::string& table);

// Tokyo-datum map units of a WGS-84 point: the inverse of the program's own datum
// shift, chosen so that the shift puts the point back within one map unit.
PointI wgs84ToTokyoUnits(double lon, double lat);
// The program's shift of a Tokyo-datum point to WGS-84 map units (single precision).
PointI shiftToWgs84(PointI p);

// Point deep inside the polygon outlined by polylines that together close (a ring
// repeats its first point; the arcs of a border may come in any order and direction),
// even-odd, x and y in one isotropic plane: the centre of the largest inscribed circle
// found to the given precision.
struct PointD { double x = 0, y = 0; };
PointD poleOfInaccessibility(const std::vector<std::vector<PointD>>& rings, double precision);

// Douglas–Peucker with both end points kept; closed lines keep at least four points.
std::vector<PointI> simplifyLine(const std::vector<PointI>& line, double tolerance);

} // namespace oboro::mkmap
